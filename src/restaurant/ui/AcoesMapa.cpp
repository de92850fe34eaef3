#include "restaurant/ui/AcoesMapa.h"

#include "devices/FiscalPrinter.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"
#include "registers/DECF.h"
#include "restaurant/impressao/ConferenciaMesa.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kvo::acoesMapa {

bool caixaLiberado() {
    return !TdmAcesso::gerarInstance().getTrabalhaAbertura() ||
           TdmCaixaAbertura::gerarInstance().verificarCaixaAberto(true) > 0;
}

FiscalPrinter* ecfAtiva(FiscalPrinter* dada) {
    if (dada)
        return dada->Ativo() ? dada : nullptr;
    TdmECF& terminal = TdmECF::gerarInstance();
    return terminal.Ativo() ? &terminal.ecf() : nullptr;
}

bool avisarECF(FiscalPrinter* impressora, bool obrigatoria) {
    if (!impressora) {
        Alerta(QStringLiteral("Impressora (ECF) não disponível!"), obrigatoria);
        return false;
    }
    if (impressora->ocupada())
        Alerta(QStringLiteral("Aguarde impressora ocupada!"), true);
    return true;
}

void imprimirConferencia(Database& db, int mesa, FiscalPrinter* impressora, Digest* assinador) {
    if (!impressora)
        Alerta(QStringLiteral("Impressora (ECF) não disponível!"), true);
    Digest& ead = assinador ? *assinador : TdmECF::gerarInstance().ead();
    try {
        ConferenciaMesa(db, TdmConfiguracao::gerarInstance(), mesa, ead, *impressora);
    } catch (const ConferenciaNaoGravada& e) {
        Error(e.message());
    } catch (const FiscalPrinterError& e) {
        Error(e.message());
    }
}

void abrirDelivery() {
    exigirTela(ScreenRegistry::existe(QStringLiteral("TfrmDelivery")), QStringLiteral("TfrmDelivery"));
    ScreenRegistry::abrir(QStringLiteral("TfrmDelivery"));
}

void posicionar(QWidget& mapa) {
    const QScreen* tela = mapa.screen();
    if (!tela)
        return;
    const QRect r = tela->availableGeometry();
    mapa.resize(r.width() - 20, r.height() - 210);
    mapa.move(r.x() + (r.width() - mapa.width()) / 2,
              std::max(r.y(), r.y() + (r.height() - mapa.height()) / 2 - 45));
}

} // namespace kvo::acoesMapa
