#pragma once

#include "framework/ui/UserInterface.h"

#include <QTextStream>

namespace kvo {

// The `kvo` commands' user interface: messages of the business code go to the
// command's error stream; questions take their default answer and inputs are
// given up (a command asks nothing it was not told by its options).
class StreamUserInterface : public UserInterface {
public:
    explicit StreamUserInterface(QTextStream& err) : m_err(err), m_anterior(&userInterface()) { setUserInterface(this); }
    ~StreamUserInterface() override {
        setUserInterface(dynamic_cast<ConsoleUserInterface*>(m_anterior) ? nullptr : m_anterior);
    }
    void showMessage(MessageKind, const QString& message) override {
        m_err << QString(message).replace(u'\r', u'\n') << Qt::endl;
    }
    bool ask(const QString&, bool defaultYes) override { return defaultYes; }
    std::optional<QString> input(const QString&, const QString&, const QString&, bool) override { return std::nullopt; }
    std::optional<QString> chooseFile(const QString&, const QString&, bool) override { return std::nullopt; }

private:
    QTextStream& m_err;
    UserInterface* m_anterior;
};

// The user the restaurant commands record (postings, queue rows): the
// operating-system user running the command.
inline QString usuarioDoTerminal() {
    const QString u = qEnvironmentVariable("USER");
    return u.isEmpty() ? QStringLiteral("kvo") : u;
}

} // namespace kvo
