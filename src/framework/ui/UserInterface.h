#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <optional>

namespace kvo {

// Ends the current operation after the user was told why. Screens catch it
// silently at their event boundary; nothing after the throw runs.
class Abort : public std::exception {
public:
    explicit Abort(QString message = {}) : m_message(std::move(message)), m_what(m_message.toUtf8()) {}
    const char* what() const noexcept override { return m_what.isEmpty() ? "operação interrompida" : m_what.constData(); }
    const QString& message() const { return m_message; }

private:
    QString m_message;
    QByteArray m_what;
};

enum class MessageKind { Error, Warning, Information };

// The one way business code talks to the user. Qt dialogs in the program,
// a scripted double in tests, the console in the command line.
class UserInterface {
public:
    virtual ~UserInterface() = default;
    virtual void showMessage(MessageKind kind, const QString& message) = 0;
    virtual bool ask(const QString& message, bool defaultYes) = 0;
    // nullopt when the user gives up.
    virtual std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial,
                                         bool password) = 0;
    virtual std::optional<QString> chooseFile(const QString& caption, const QString& filter, bool forSaving) = 0;
};

// Installs the port (not owned); nullptr goes back to the console.
void setUserInterface(UserInterface* ui);
UserInterface& userInterface();

// The host's dialogs.
[[noreturn]] void Error(const QString& message);
// With `stop` the warning also ends the operation; without it only informs.
void Alerta(const QString& message, bool stop = false);
bool Confirma(const QString& message, bool defaultYes = true);
bool ConfirmaNao(const QString& message, bool defaultYes = false);
void Informacao(const QString& message);
// The typed text, or nullopt when cancelled.
std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& initial = {});
std::optional<QString> SenhaBox(const QString& prompt);

// Runs an event handler where it meets Qt, which must never see an exception:
// a stopped operation ends silently, any other failure is shown as an error.
// True when the handler ran to its end.
bool tratarEvento(const std::function<void()>& handler);

// Answers every question with its default and writes messages to stderr.
class ConsoleUserInterface : public UserInterface {
public:
    void showMessage(MessageKind kind, const QString& message) override;
    bool ask(const QString& message, bool defaultYes) override;
    std::optional<QString> input(const QString&, const QString&, const QString& initial, bool) override;
    std::optional<QString> chooseFile(const QString&, const QString&, bool) override { return std::nullopt; }
};

} // namespace kvo
