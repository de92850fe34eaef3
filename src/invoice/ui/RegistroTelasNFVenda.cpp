#include "invoice/ui/RegistroTelasNFVenda.h"

#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"
#include "invoice/ui/TelasNFVenda.h"
#include "invoice/ui/UNFVenda.h"
#include "invoice/ui/UNFVendaCCE.h"
#include "invoice/ui/UNFVendaCanhoto.h"

namespace kvo {

void registrarTelasNFVenda() {
    ScreenRegistry::registrar(QStringLiteral("TfrmNFVenda"), [] { TfrmNFVenda::ChamaForm(0); });
    TelasNFVenda& telas = telasNFVenda();
    telas.abrirNota = [](int numero, const QString& serie, bool editar) {
        TfrmNFVenda tela;
        if (!tela.abrirNota(numero, serie, editar))
            Error(QStringLiteral("Nota Fiscal (Cód. %1 - Série %2) não encontrada.").arg(numero).arg(serie));
        return tela.exec() == QDialog::Accepted && editar;
    };
    telas.novaNota = [] {
        TfrmNFVenda tela;
        tela.novaNota();
        return tela.exec() == QDialog::Accepted;
    };
    telas.cartaCorrecao = [](int numero, const QString& serie) { TfrmNFVendaCCE::chamaTela(numero, serie); };
    telas.canhoto = [](int numero, const QString& serie, bool editar) { TfrmNFVendaCanhoto::chamaTela(numero, serie, editar); };
}

} // namespace kvo
