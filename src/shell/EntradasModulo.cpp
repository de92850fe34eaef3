#include "shell/EntradasModulo.h"

#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"

namespace kvo::entradas {

bool protegido(const std::function<bool()>& corpo) {
    bool feito = false;
    tratarEvento([&] { feito = corpo(); }); // a failure is told, never thrown to the caller
    return feito;
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
