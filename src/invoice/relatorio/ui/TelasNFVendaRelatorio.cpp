#include "invoice/relatorio/ui/TelasNFVendaRelatorio.h"

#include "framework/services/Module.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UPrintPreview.h"
#include "invoice/DNFVenda.h"
#include "invoice/ui/TelasNFVenda.h"
#include "registers/ui/UParametroImpressaoNF.h"

namespace kvo {

namespace {
QStringList campos(const RecordSet& rs) {
    QStringList nomes;
    for (int i = 0; i < rs.fieldCount(); ++i)
        nomes << rs.field(i).name();
    return nomes;
}
} // namespace

bool PreviewFormularioTela::mostrar(const QString& titulo, const PaginaFormulario& pagina) {
    TfrmPrintPreview preview;
    preview.iniciar(titulo, QString());
    preview.setPermiteAlterar(false);
    for (const QString& l : pagina.linhasTexto())
        preview.addLine(l);
    preview.setImpressao([&](const QStringList&) { pagina.imprimir(QString(), titulo); });
    preview.resize(760, 640);
    return preview.mostrar();
}

void abrirParametroImpressaoNF() {
    TdmNFVenda& dm = TdmNFVenda::gerarInstance();
    TfrmParametroImpressaoNF tela({{QStringLiteral("Cabeçalho"), QStringLiteral("cdsNFVenda"), campos(dm.cdsNFVenda())},
                                   {QStringLiteral("Itens"), QStringLiteral("cdsNFVendaItem"), campos(dm.cdsNFVendaItem())},
                                   {QStringLiteral("Parcelas"), QStringLiteral("cdsPesq_Contas"),
                                    {QStringLiteral("CON_PARCELA"), QStringLiteral("CON_DTVENC"),
                                     QStringLiteral("CON_VLRPARCELA")}}});
    tela.exec();
}

void registrarTelasNFVendaRelatorio() {
    Module::current().instance<PreviewFormularioTela>();
    telasNFVenda().imprimirFormulario = [](int numero, const QString& serie) {
        TrelNFVenda::gerarInstance().Imprimir(numero, serie);
    };
    ScreenRegistry::registrar(QStringLiteral("TfrmParametroImpressaoNF"), [] { abrirParametroImpressaoNF(); });
}

} // namespace kvo
