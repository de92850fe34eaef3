#include "invoice/pesq/TelasNFVendaPesq.h"

#include "framework/ui/Libgeral.h"
#include "framework/ui/ScreenRegistry.h"
#include "invoice/pesq/UConsultaNFVendaDevolucao.h"
#include "invoice/pesq/UNFVenda_Pesq.h"

namespace kvo {

void registrarTelasNFVendaPesq() {
    ScreenRegistry::registrar(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela"), [] {
        Libgeral::ChamaForm(QStringLiteral("TfrmNFVenda_Pesq"), [] { return new TfrmNFVenda_Pesq; });
    });
    ScreenRegistry::registrar(QStringLiteral("TfrmConsultaNFVendaDevolucao"), [] {
        Libgeral::ChamaForm(QStringLiteral("TfrmConsultaNFVendaDevolucao"),
                            [] { return new TfrmConsultaNFVendaDevolucao; });
    });
}

} // namespace kvo
