#pragma once

#include "framework/ui/UserInterface.h"

class QWidget;

namespace kvo {

// The port shown as Qt dialogs, in Portuguese.
class QtUserInterface : public UserInterface {
public:
    explicit QtUserInterface(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void showMessage(MessageKind kind, const QString& message) override;
    bool ask(const QString& message, bool defaultYes) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial,
                                 bool password) override;
    std::optional<QString> chooseFile(const QString& caption, const QString& filter, bool forSaving) override;

private:
    QWidget* m_parent;
};

} // namespace kvo
