// What the module exports to the host program and to other programs.
#include "framework/services/Module.h"
#include "framework/ui/ChamadaExterna.h"
#include "framework/ui/QtUserInterface.h"
#include "invoice/ui/UObsAdd.h"
#include "registers/ui/UContasFechamento.h"
#include "restaurant/ui/UExtratoEscolha.h"
#include "shell/EntradasModulo.h"
#include "shell/UMenuCoreGestao.h"

#include <QApplication>

#include <functional>
#include <memory>

namespace {
struct ModuleState {
    kvo::Module module;
    kvo::QtUserInterface ui;
    kvo::EscolhaParcelasTela parcelas;
    kvo::TelasExtrato extrato; // the bill's preview and its choices dialog
    kvo::TelaObservacaoSimples simples; // the Simples text form before an NF-e is assembled
};
std::unique_ptr<ModuleState>& state() {
    static std::unique_ptr<ModuleState> s;
    return s;
}
void iniciarEstado() {
    if (!state()) {
        state() = std::make_unique<ModuleState>();
        kvo::setUserInterface(&state()->ui);
        kvo::setEscolhaParcelas(&state()->parcelas);
        kvo::setPreviewExtrato(&state()->extrato);
        kvo::setEscolhaExtrato(&state()->extrato);
        kvo::setEscolhaObservacaoSimples(&state()->simples);
    }
}

bool protegido(const std::function<bool()>& corpo) {
    return kvo::entradas::protegido([&] {
        iniciarEstado();
        return corpo();
    });
}
bool abrirTela(const QString& tela, const kvo::ChamadaExterna& chamada = {}) {
    iniciarEstado();
    return kvo::entradas::abrirTelaCom(tela, chamada);
}
} // namespace

// TfrmMenuCoreGestao.gerarInstance: true when the main menu is up.
extern "C" Q_DECL_EXPORT bool TfrmMenuCoreGestao_gerarInstance() {
    return protegido([] {
        kvo::TfrmMenuCoreGestao* menu = kvo::TfrmMenuCoreGestao::gerarInstance();
        if (!menu)
            return false;
        menu->show();
        return true;
    });
}

// Frees what the module created, in reverse order, before it is unloaded.
extern "C" Q_DECL_EXPORT void kvoCoreGestao_finalizar() {
    kvo::setUserInterface(nullptr);
    kvo::setEscolhaParcelas(nullptr);
    kvo::setPreviewExtrato(nullptr);
    kvo::setEscolhaExtrato(nullptr);
    kvo::setEscolhaObservacaoSimples(nullptr);
    kvo::chamadaExterna() = {};
    state().reset();
}

// The pre-sale merge for the fiscal front end: its connection, the connection
// the merge works on, its sale header, items and a further record set, its
// fiscal printer, payment terminal and signing component.
extern "C" Q_DECL_EXPORT bool ChamarTela(kvo::Database* conexao, kvo::Database* conexaoChamador, kvo::RecordSet* cabecalho,
                                         kvo::RecordSet* itens, kvo::RecordSet* outro, kvo::FiscalPrinter* ecf, void* tef,
                                         kvo::Digest* assinador) {
    return abrirTela(QStringLiteral("TfrmPreVendaMesclar.ChamarTela"),
                     {conexao, conexaoChamador, cabecalho, itens, outro, ecf, tef, assinador});
}
extern "C" Q_DECL_EXPORT bool TfrmParVenda_ChamaParametro() { return abrirTela(QStringLiteral("TfrmParVenda.ChamaParametro")); }
extern "C" Q_DECL_EXPORT bool TfrmParRestaurante_ChamaParametro() {
    return abrirTela(QStringLiteral("TfrmParRestaurante.ChamaParametro"));
}
extern "C" Q_DECL_EXPORT bool TfrmNFVenda_Pesq_ChamaTela() { return abrirTela(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela")); }
extern "C" Q_DECL_EXPORT bool TfrmResPedido_chamatela() { return abrirTela(QStringLiteral("TfrmResPedido.chamatela")); }
// The restaurant menus with the caller's fiscal printer and signing component.
extern "C" Q_DECL_EXPORT bool TfrmMenuRestaurante_ChamaTelaECF(kvo::FiscalPrinter* ecf, kvo::Digest* assinador) {
    kvo::ChamadaExterna chamada;
    chamada.ecf = ecf;
    chamada.assinador = assinador;
    return abrirTela(QStringLiteral("TfrmMenuRestaurante.ChamaTelaECF"), chamada);
}
extern "C" Q_DECL_EXPORT bool TfrmMenuRestauranteTouch_ChamaTelaECF(kvo::FiscalPrinter* ecf, kvo::Digest* assinador) {
    kvo::ChamadaExterna chamada;
    chamada.ecf = ecf;
    chamada.assinador = assinador;
    return abrirTela(QStringLiteral("TfrmMenuRestauranteTouch.ChamaTelaECF"), chamada);
}
