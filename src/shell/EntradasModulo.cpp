#include "shell/EntradasModulo.h"

#include "framework/db/DatabaseError.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"

namespace kvo::entradas {

bool protegido(const std::function<bool()>& corpo) {
    try {
        return corpo();
    } catch (const Abort&) {
        return false;
    } catch (const DatabaseError& e) {
        userInterface().showMessage(MessageKind::Error, e.message());
    } catch (const std::exception& e) {
        userInterface().showMessage(MessageKind::Error, QString::fromUtf8(e.what()));
    } catch (...) {
        userInterface().showMessage(MessageKind::Error, QStringLiteral("Erro inesperado ao abrir a tela."));
    }
    return false;
}

bool abrirTela(const QString& tela) {
    return protegido([&] {
        if (ScreenRegistry::abrir(tela))
            return true;
        userInterface().showMessage(MessageKind::Warning,
                                    QStringLiteral("A tela \"%1\" não está disponível nesta versão.").arg(tela));
        return false;
    });
}

bool abrirTelaCom(const QString& tela, const ChamadaExterna& chamada) {
    chamadaExterna() = chamada;
    return abrirTela(tela);
}

} // namespace kvo::entradas
