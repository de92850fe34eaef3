#include "NFeFixtures.h"
#include "NFeSamples.h"

#include "nfe/CodigoBarras.h"
#include "nfe/Danfe.h"
#include "nfe/NFeComponent.h"
#include "nfe/NFeXmlWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvo::nfe;
namespace t = kvo::nfe::test;

namespace {

bool ferramentas()
{
    return t::programaDisponivel(QStringLiteral("pdftotext")) && t::programaDisponivel(QStringLiteral("pdfinfo"));
}

QString textoDoPdf(const QString& pdf)
{
    QString texto;
    t::executar(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, &texto);
    return texto;
}

// The "CANCELADA" mark is drawn in red outlines, not as text.
int pixelsVermelhos(const QString& pdf)
{
    const QString base = pdf + QStringLiteral("-pagina1");
    t::executar(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-f"),
                                             QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                             QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, base});
    const QImage img(base + QStringLiteral(".png"));
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            n += c.red() > 180 && c.red() - c.green() > 60 && c.red() - c.blue() > 60;
        }
    return n;
}

int paginasDoPdf(const QString& pdf)
{
    QString info;
    t::executar(QStringLiteral("pdfinfo"), {pdf}, &info);
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
}

class DanfePdf : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        nota = samples::interestadualConsumidorFinal(990);
        nota.Id = chaveDoDocumento(nota);
        gerarDanfePdf(nota, arquivo(), {});
    }
    static QString arquivo() { return dir.filePath(QStringLiteral("danfe990.pdf")); }

    static inline QTemporaryDir dir;
    static inline NFe nota;
};

} // namespace

TEST_F(DanfePdf, EveryItemOnceAcrossSeveralPages)
{
    if (!ferramentas())
        GTEST_SKIP() << "poppler-utils is not installed";
    const int paginas = paginasDoPdf(arquivo());
    EXPECT_EQ(paginas, paginasDanfe(nota));
    EXPECT_GT(paginas, 10);
    const QString texto = textoDoPdf(arquivo());
    for (int k = 1; k <= 990; ++k) {
        const QString codigo = QStringLiteral("P%1 ").arg(k, 5, 10, QChar(u'0'));
        ASSERT_EQ(texto.count(codigo), 1) << codigo.toStdString();
    }
    EXPECT_EQ(texto.count(QStringLiteral("FOLHA ")), paginas);
    EXPECT_TRUE(texto.contains(QStringLiteral("FOLHA %1/%1").arg(paginas)));
    EXPECT_TRUE(texto.contains(QStringLiteral("3526 1211 2223 3300 0181 5500 1000 0012 3111 2346 9019")));
    EXPECT_TRUE(texto.contains(QStringLiteral("Transportes Rápidos Ltda")));
    EXPECT_EQ(pixelsVermelhos(arquivo()), 0) << "not cancelled";
}

TEST_F(DanfePdf, BarcodeReadsBackAsTheKey)
{
    if (!t::programaDisponivel(QStringLiteral("zbarimg")) || !t::programaDisponivel(QStringLiteral("pdftoppm")))
        GTEST_SKIP() << "zbar-tools or poppler-utils is not installed";
    const QString png = dir.filePath(QStringLiteral("pagina"));
    ASSERT_EQ(t::executar(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-f"),
                                                       QStringLiteral("2"), QStringLiteral("-l"), QStringLiteral("2"),
                                                       QStringLiteral("-png"), QStringLiteral("-singlefile"), arquivo(), png}),
              0);
    QString lido;
    EXPECT_EQ(t::executar(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), png + QStringLiteral(".png")}, &lido), 0);
    // zbarimg may add a line about a missing D-Bus; the code is its own line.
    EXPECT_TRUE(lido.split(u'\n').contains(nota.Id.mid(3))) << lido.toStdString();
}

TEST_F(DanfePdf, CancelledAndProtocolMarks)
{
    if (!ferramentas())
        GTEST_SKIP() << "poppler-utils is not installed";
    NFe n = samples::simplesNacional();
    n.Id = chaveDoDocumento(n);
    n.Ide.tpAmb = 1;
    n.procNFe.nProt = QStringLiteral("135260000099999");
    n.procNFe.dhRecbto = QDateTime(QDate(2026, 12, 6), QTime(11, 0, 0));
    const QString pdf = dir.filePath(QStringLiteral("cancelada.pdf"));
    DanfeOpcoes opcoes;
    opcoes.cancelada = true;
    opcoes.protocolo = QStringLiteral("não usado quando há protocolo");
    gerarDanfePdf(n, pdf, opcoes);
    const QString texto = textoDoPdf(pdf);
    EXPECT_EQ(paginasDoPdf(pdf), 1);
    EXPECT_GT(pixelsVermelhos(pdf), 2000);
    EXPECT_TRUE(texto.contains(QStringLiteral("135260000099999 06/12/2026 11:00:00")));
    EXPECT_FALSE(texto.contains(QStringLiteral("não usado")));
}

TEST_F(DanfePdf, LongDescriptionsWrapInsteadOfBeingCut)
{
    if (!ferramentas())
        GTEST_SKIP() << "poppler-utils is not installed";
    NFe n = samples::simplesNacional();
    n.Id = chaveDoDocumento(n);
    n.Det[0].Prod.xProd = QStringLiteral("Refrigerante de cola sem açúcar garrafa PET 2 litros pacote fechado "
                                         "com seis unidades sabor original edição limitada");
    n.Det[1].infAdProd = QStringLiteral("Lote 4471 validade 12/2027");
    const QString pdf = dir.filePath(QStringLiteral("descricoes.pdf"));
    gerarDanfePdf(n, pdf, {});
    const QString texto = textoDoPdf(pdf);
    EXPECT_TRUE(texto.contains(QStringLiteral("edição limitada")));
    EXPECT_TRUE(texto.contains(QStringLiteral("Lote 4471 validade 12/2027")));
    EXPECT_FALSE(texto.contains(QChar(0x2026))) << "nothing elided";
}

TEST(DanfeComponente, PdfIsNamedByTheKeyInThePdfFolder)
{
    QTemporaryDir dir;
    NFeComponent componente;
    componente.DANFE.pastaPDF = dir.filePath(QStringLiteral("pdf"));
    componente.DANFE.imprimirEmArquivo = true;
    componente.NotasFiscais.Add().NFe = samples::exportacao();
    componente.ImprimirPDF();
    const QString esperado = dir.filePath(QStringLiteral("pdf/35261211222333000181550010000012341123469045-nfe.pdf"));
    EXPECT_EQ(componente.ArquivoPDF(), esperado);
    ASSERT_TRUE(QFileInfo::exists(esperado));
    EXPECT_EQ(pixelsVermelhos(esperado), 0);
    // Printing to file while cancelled writes the same file with the mark.
    componente.ImprimirCancelado();
    EXPECT_GT(pixelsVermelhos(esperado), 0);
}

// What the invoice life cycle hands the component for printing.
class DanfeDoCicloDeVida : public ::testing::Test {
protected:
    DanfeDoCicloDeVida()
    {
        componente.DANFE.pastaPDF = dir.filePath(QStringLiteral("pdf"));
        componente.DANFE.imprimirEmArquivo = true;
    }
    NotaFiscal& nota(NFe modelo)
    {
        componente.NotasFiscais.Clear();
        NotaFiscal& n = componente.NotasFiscais.Add();
        n.NFe = std::move(modelo);
        return n;
    }
    static QString lerBarras(const QString& pdf)
    {
        const QString png = pdf + QStringLiteral("-barras");
        t::executar(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-f"),
                                                 QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                                 QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, png});
        QString lido;
        t::executar(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), png + QStringLiteral(".png")},
                    &lido);
        return lido;
    }

    QTemporaryDir dir;
    NFeComponent componente;
};

TEST_F(DanfeDoCicloDeVida, ItemInsuranceSetForPrintingIsShown)
{
    if (!ferramentas())
        GTEST_SKIP() << "poppler-utils is not installed";
    NotaFiscal& n = nota(samples::simplesNacional());
    ASSERT_TRUE(n.NFe.Total.ICMSTot.vSeg.isZero());
    componente.ImprimirPDF();
    EXPECT_FALSE(textoDoPdf(componente.ArquivoPDF()).contains(QStringLiteral("Seguro:")));
    // The life cycle puts an item's ST in its insurance only for the print.
    n.NFe.Det[0].Prod.vSeg = kvo::Currency::fromString(QStringLiteral("12.34"));
    componente.ImprimirPDF();
    const QString texto = textoDoPdf(componente.ArquivoPDF());
    EXPECT_TRUE(texto.contains(QStringLiteral("Seguro: R$ 12,34"))) << texto.toStdString();
    EXPECT_EQ(texto.count(QStringLiteral("12,34")), 2) << "the item and the insurance total";
}

TEST_F(DanfeDoCicloDeVida, PrintOnlyInsuranceNeverReachesTheSavedXml)
{
    NotaFiscal& n = nota(samples::simplesNacional());
    ASSERT_TRUE(n.NFe.Id.isEmpty());
    n.NFe.Det[0].Prod.vSeg = kvo::Currency::fromString(QStringLiteral("12.34"));
    componente.Imprimir();
    n.NFe.Det[0].Prod.vSeg = {};
    ASSERT_TRUE(n.GravarXML(QStringLiteral("nota.xml"), dir.path()));
    QFile salvo(dir.filePath(QStringLiteral("nota.xml")));
    ASSERT_TRUE(salvo.open(QIODevice::ReadOnly));
    EXPECT_FALSE(salvo.readAll().contains("<vSeg>12.34</vSeg>"));
}

TEST_F(DanfeDoCicloDeVida, BareKeyIdPrintsTheWholeKeyAndNamesThePdf)
{
    NFe modelo = samples::exportacao();
    const QString chave = chaveDoDocumento(modelo).mid(3);
    ASSERT_EQ(chave.size(), 44);
    modelo.Id = chave; // as GetChaveAcesso() gives it, without "NFe"
    nota(modelo);
    componente.ImprimirPDF();
    EXPECT_EQ(componente.ArquivoPDF(), dir.filePath(QStringLiteral("pdf/") + chave + QStringLiteral("-nfe.pdf")));
    ASSERT_TRUE(QFileInfo::exists(componente.ArquivoPDF()));
    if (ferramentas()) {
        QStringList blocos;
        for (int i = 0; i < 44; i += 4)
            blocos << chave.mid(i, 4);
        EXPECT_TRUE(textoDoPdf(componente.ArquivoPDF()).contains(blocos.join(u' ')));
    }
    if (t::programaDisponivel(QStringLiteral("zbarimg")) && t::programaDisponivel(QStringLiteral("pdftoppm"))) {
        const QString lido = lerBarras(componente.ArquivoPDF());
        EXPECT_TRUE(lido.split(u'\n').contains(chave)) << lido.toStdString();
    }
}

TEST_F(DanfeDoCicloDeVida, CancelledPdfForTheEmailWhilePrintingGoesToThePrinter)
{
    nota(samples::exportacao());
    componente.DANFE.imprimirEmArquivo = false;
    componente.ImprimirCanceladoPDF();
    ASSERT_TRUE(QFileInfo::exists(componente.ArquivoPDF())) << componente.ArquivoPDF().toStdString();
    EXPECT_TRUE(componente.ArquivoPDF().endsWith(QStringLiteral("-nfe.pdf")));
    if (t::programaDisponivel(QStringLiteral("pdftoppm"))) {
        EXPECT_GT(pixelsVermelhos(componente.ArquivoPDF()), 2000);
    }
}

TEST_F(DanfeDoCicloDeVida, PrinterThatCannotTakeTheJobIsAnError)
{
    nota(samples::exportacao());
    componente.DANFE.imprimirEmArquivo = false;
    componente.DANFE.impressora = QStringLiteral("kvo-impressora-inexistente");
    try {
        componente.Imprimir();
        FAIL() << "a print that went nowhere was taken for done";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("kvo-impressora-inexistente"))) << e.what();
    }
}

TEST_F(DanfeDoCicloDeVida, PreviewBeforeSendingIsMarkedUntilAuthorised)
{
    if (!ferramentas())
        GTEST_SKIP() << "poppler-utils is not installed";
    NFe modelo = samples::simplesNacional();
    modelo.Ide.tpAmb = 1;
    NotaFiscal& n = nota(modelo);
    componente.Imprimir();
    EXPECT_TRUE(textoDoPdf(componente.ArquivoPDF()).contains(QStringLiteral("PRÉVIA - NF-e NÃO AUTORIZADA")));
    n.NFe.procNFe.nProt = QStringLiteral("135260000012345");
    n.NFe.procNFe.dhRecbto = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
    componente.Imprimir();
    const QString texto = textoDoPdf(componente.ArquivoPDF());
    EXPECT_FALSE(texto.contains(QStringLiteral("PRÉVIA"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QStringLiteral("135260000012345")));
}

TEST(CodigoBarras, KeyIsEncodedInCodeSetC)
{
    // Set C packs two digits per symbol: start + 22 symbols + check = 24 × 11
    // modules, plus the 13-module stop. Set B would need 519 modules.
    const CodigoBarras128 barras(QStringLiteral("35261211222333000181550010000012311123469019"));
    EXPECT_EQ(barras.largura(), 277);
    EXPECT_FALSE(barras.barras().isEmpty());
    EXPECT_THROW(CodigoBarras128{QString()}, std::runtime_error);
}
