#include "framework/ui/UserInterface.h"

#include "framework/db/DatabaseError.h"

#include <QDebug>
#include <QTextStream>

namespace kvo {

namespace {
UserInterface*& installed() {
    static UserInterface* ui = nullptr;
    return ui;
}
} // namespace

void setUserInterface(UserInterface* ui) { installed() = ui; }

UserInterface& userInterface() {
    static ConsoleUserInterface console;
    return installed() ? *installed() : console;
}

void Error(const QString& message) {
    userInterface().showMessage(MessageKind::Error, message);
    throw Abort(message);
}

void Alerta(const QString& message, bool stop) {
    userInterface().showMessage(MessageKind::Warning, message);
    if (stop)
        throw Abort(message);
}

bool Confirma(const QString& message, bool defaultYes) { return userInterface().ask(message, defaultYes); }

bool ConfirmaNao(const QString& message, bool defaultYes) { return userInterface().ask(message, defaultYes); }

void Informacao(const QString& message) { userInterface().showMessage(MessageKind::Information, message); }

std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& initial) {
    return userInterface().input(caption, prompt, initial, false);
}

std::optional<QString> SenhaBox(const QString& prompt) {
    return userInterface().input(QStringLiteral("Senha"), prompt, {}, true);
}

bool tratarEvento(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const Abort&) {
    } catch (const DatabaseError& e) {
        qWarning().noquote() << "database failure in an event handler:" << e.details();
        userInterface().showMessage(MessageKind::Error, e.message());
    } catch (const std::exception& e) {
        userInterface().showMessage(MessageKind::Error, QString::fromUtf8(e.what()));
    } catch (...) {
        userInterface().showMessage(MessageKind::Error, QStringLiteral("Erro inesperado: a operação foi interrompida."));
    }
    return false;
}

void ConsoleUserInterface::showMessage(MessageKind kind, const QString& message) {
    static const char* prefix[] = {"Erro: ", "Atenção: ", ""};
    QTextStream(stderr) << prefix[int(kind)] << message << Qt::endl;
}

bool ConsoleUserInterface::ask(const QString& message, bool defaultYes) {
    QTextStream(stderr) << message << (defaultYes ? " [S]" : " [N]") << Qt::endl;
    return defaultYes;
}

std::optional<QString> ConsoleUserInterface::input(const QString&, const QString&, const QString& initial, bool) {
    return initial;
}

} // namespace kvo
