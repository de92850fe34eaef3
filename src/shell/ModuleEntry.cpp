// What the module exports to the host program and to other programs.
#include "framework/services/Module.h"
#include "framework/ui/QtUserInterface.h"
#include "framework/ui/ScreenRegistry.h"
#include "shell/UMenuCoreGestao.h"

#include <QApplication>

#include <memory>

namespace {
struct ModuleState {
    kvo::Module module;
    kvo::QtUserInterface ui;
};
std::unique_ptr<ModuleState>& state() {
    static std::unique_ptr<ModuleState> s;
    return s;
}
} // namespace

// TfrmMenuCoreGestao.gerarInstance: true when the main menu is up.
extern "C" Q_DECL_EXPORT bool TfrmMenuCoreGestao_gerarInstance() {
    if (!state()) {
        state() = std::make_unique<ModuleState>();
        kvo::setUserInterface(&state()->ui);
    }
    kvo::TfrmMenuCoreGestao* menu = nullptr;
    try {
        menu = kvo::TfrmMenuCoreGestao::gerarInstance();
    } catch (const kvo::Abort&) {
        return false;
    } catch (const std::exception& e) { // a host service could not start: its message, then the end
        kvo::userInterface().showMessage(kvo::MessageKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
    if (!menu)
        return false;
    menu->show();
    return true;
}

// Frees what the module created, in reverse order, before it is unloaded.
extern "C" Q_DECL_EXPORT void kvoCoreGestao_finalizar() {
    kvo::setUserInterface(nullptr);
    state().reset();
}

// Single screens for the host and other programs. Each returns false while
// its screen is not part of this build (see the screen registry).
extern "C" Q_DECL_EXPORT bool ChamarTela() {
    return kvo::ScreenRegistry::abrir(QStringLiteral("TfrmPreVendaMesclar.ChamarTela"));
}
extern "C" Q_DECL_EXPORT bool TfrmParVenda_ChamaParametro() {
    return kvo::ScreenRegistry::abrir(QStringLiteral("TfrmParVenda.ChamaParametro"));
}
extern "C" Q_DECL_EXPORT bool TfrmParRestaurante_ChamaParametro() {
    return kvo::ScreenRegistry::abrir(QStringLiteral("TfrmParRestaurante.ChamaParametro"));
}
extern "C" Q_DECL_EXPORT bool TfrmNFVenda_Pesq_ChamaTela() {
    return kvo::ScreenRegistry::abrir(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela"));
}
extern "C" Q_DECL_EXPORT bool TfrmResPedido_chamatela() {
    return kvo::ScreenRegistry::abrir(QStringLiteral("TfrmResPedido.chamatela"));
}
// The restaurant menus with the caller's fiscal printer and signer: the
// restaurant screens take them from the registry's context when they arrive.
extern "C" Q_DECL_EXPORT bool TfrmMenuRestaurante_ChamaTelaECF(void* /*ecf*/, void* /*assinador*/) {
    return kvo::ScreenRegistry::abrir(QStringLiteral("TfrmMenuRestaurante.ChamaTelaECF"));
}
extern "C" Q_DECL_EXPORT bool TfrmMenuRestauranteTouch_ChamaTelaECF(void* /*ecf*/, void* /*assinador*/) {
    return kvo::ScreenRegistry::abrir(QStringLiteral("TfrmMenuRestauranteTouch.ChamaTelaECF"));
}
