// The printed-form invoice: boxes placed from the layout rows.
//
// The golden files in golden/ were written by hand from the form's rules
// before the code ran: column × 7 and row × 13 units (the defaults of
// "nfvenda.ini"), widths in cells × 7, amounts as ",0.00" right-aligned, the
// unit price and the quantity as displayed and right-aligned, other columns
// left-aligned, a width of 0 taking the text's length; boxes in the order of
// the record sets' columns, then items, instalments and the footer line.
// (The unit price and quantity lines were first written with four decimals
// and the shortest form; corrected by hand: an amount column displays ",0.00"
// unless it has a format of its own.)
#include "FormularioFixture.h"

#include "core/Clock.h"
#include "framework/db/RecordSet.h"
#include "framework/services/Module.h"
#include "registers/DCadastros.h"

#include <QProcess>
#include <QStandardPaths>

namespace kvo::test {
namespace {

using Banda = TrelNFVenda::Banda;

TEST_F(FormularioFixture, ConsumidorFinalNaoImprimeIcmsMesmoComPosicoes) {
    layoutDaLoja();
    nota(41, 6, "5102", "1234.5");
    itemNota(41, 1, 10, "3", "2", "6");
    itemNota(41, 2, 20, "2.5", "10", "25");
    EXPECT_EQ(montar(41).toStdString(), golden("consumidor-final.txt").toStdString());
}

TEST_F(FormularioFixture, CabecalhoSemCfopETresParcelasEmTresLinhas) {
    layoutDaLoja();
    nota(42, 1, "0000", "1000");
    parcela(42, 1, 1, "2027-01-04", "333.33");
    parcela(42, 3, 3, "2027-03-05", "333.34");
    parcela(42, 2, 2, "2027-02-03", "333.33");
    EXPECT_EQ(montar(42).toStdString(), golden("sem-cfop-parcelas.txt").toStdString());
}

TEST_F(FormularioFixture, ParcelasAvancamPeloSaltoDeCadaColuna) {
    posicao("cdsPesq_Contas", "CON_PARCELA", "S", 0, 10, 2, 2);
    posicao("cdsPesq_Contas", "CON_DTVENC", "N", 5, 10, 10, 1);
    posicao("cdsPesq_Contas", "CON_VLRPARCELA", "S", 20, 30, 8, 3);
    nota(43, 1, "5102", "20");
    parcela(43, 1, 1, "2027-01-04", "10");
    parcela(43, 2, 2, "2027-02-03", "10");
    EXPECT_EQ(montar(43), QStringLiteral("rlbl1;0;130;14;[1]\n"
                                         "rlbl2;140;390;56;[   10,00]\n"
                                         "rlbl3;0;156;14;[2]\n"
                                         "rlbl4;140;429;56;[   10,00]\n"
                                         "rlbl5;0;1013;70;[KVO Gestão]\n"));
}

// Single-line items take one row each; an item with a text of more than 150
// characters takes as many rows as its box, and the next item starts below.
// (No stored item column is that long: the items come from memory.)
TEST_F(FormularioFixture, CadaItemAvancaPelaAlturaDoSeuMaiorTexto) {
    posicao("cdsNFVendaItem", "PRO_DESCRICAO", "S", 0, 20, 40);
    posicao("cdsNFVendaItem", "NFVI_TOTAL", "S", 50, 0, 6);
    RecordSet itens;
    itens.addField(QStringLiteral("PRO_DESCRICAO"), FieldType::String, 400);
    itens.addField(QStringLiteral("NFVI_TOTAL"), FieldType::Currency);
    itens.open();
    const QString longa = QStringLiteral("  PARAFUSO SEXTAVADO ") + QString(QStringLiteral("ACO INOX 304 ")).repeated(11);
    for (const QString& d : {QStringLiteral("PORCA"), longa, QStringLiteral("ARRUELA")}) {
        itens.append();
        itens.field(QStringLiteral("PRO_DESCRICAO")).setValue(d);
        itens.field(QStringLiteral("NFVI_TOTAL")).setValue(QStringLiteral("1"));
        itens.post();
    }
    TrelNFVenda& rel = TrelNFVenda::gerarInstance();
    rel.iniciarPagina(ConfigFormulario{});
    rel.colocarItens(itens, TdmParametro::gerarInstance().layoutImpressao());
    const QList<CaixaTexto>& caixas = rel.pagina().caixas();
    ASSERT_EQ(caixas.size(), 6);
    EXPECT_EQ(caixas[0].nome, u"rlbl1");
    EXPECT_EQ(caixas[0].topo, 20 * 13);
    EXPECT_EQ(caixas[2].nome, u"rmem1");
    EXPECT_TRUE(caixas[2].multilinha);
    EXPECT_EQ(caixas[2].topo, 21 * 13);
    EXPECT_EQ(caixas[3].topo, 21 * 13) << "the other columns of the item stay on its first row";
    // 162 characters, trimmed, wrapped at 40 on word boundaries: five lines.
    const QStringList linhas = caixas[2].texto.split(u'\n');
    ASSERT_EQ(linhas.size(), 5);
    for (const QString& l : linhas)
        EXPECT_LE(l.size(), 40) << l.toStdString();
    EXPECT_EQ(linhas.join(u' '), longa.trimmed());
    EXPECT_EQ(caixas[2].altura, 5 * 13);
    EXPECT_EQ(caixas[4].texto, u"ARRUELA" + QString(33, u' '));
    EXPECT_EQ(caixas[4].topo, (21 + 5) * 13);
}

TEST_F(FormularioFixture, SemPosicaoDaDescricaoOsItensComecamNaLinha30) {
    posicao("cdsNFVendaItem", "NFVI_TOTAL", "S", 62, 5, 12);
    posicao("cdsNFVendaItem", "NFVI_QTDE", "N", 40, 5, 8);
    nota(45, 1, "5102", "10");
    itemNota(45, 1, 10, "1", "4", "4");
    itemNota(45, 2, 10, "1", "6", "6");
    EXPECT_EQ(montar(45), QStringLiteral("rlbl1;434;390;84;[        4,00]\n"
                                         "rlbl2;434;403;84;[        6,00]\n"
                                         "rlbl3;0;1013;70;[KVO Gestão]\n"));
}

TEST_F(FormularioFixture, ObservacaoLongaPassaPorArquivoParaCaixaDeVariasLinhas) {
    posicao("cdsNFVenda", "NFV_OBS", "S", 2, 60, 20);
    posicao("cdsNFVenda", "NFV_OBS_ADICIONAIS", "S", 2, 70, 0);
    nota(46, 1, "5102", "10");
    sql(QStringLiteral("update NFVENDA set NFV_OBS = 'Entrega no periodo da manha' || ascii_char(10) || 'Portao 2', "
                       "NFV_OBS_ADICIONAIS = 'Acentuação: São Paulo' where CODNFVENDA = 46"));
    EXPECT_EQ(montar(46), QStringLiteral("rmem1;14;780;140;[Entrega no periodo\\nda manha\\nPortao 2]\n"
                                         "rmem2;14;910;147;[Acentuação: São Paulo]\n"
                                         "rlbl1;0;1013;70;[KVO Gestão]\n"));
}

TEST_F(FormularioFixture, PaginaSegueOArquivoDeConfiguracao) {
    escreverIni("[outra]\nLargura Da Fonte=99\n[CONFIGURACAO]\nlargura da fonte = 8\nAltura da Fonte=abc\n"
                "Altura principal=900\n");
    posicao("cdsNFVenda", "CODNFVENDA", "S", 10, 3, 4);
    nota(47, 1, "5102", "10");
    EXPECT_EQ(montar(47), QStringLiteral("rlbl1;80;39;32;[47  ]\nrlbl2;0;900;80;[KVO Gestão]\n"));
}

TEST(ConfigFormulario, ArquivoAusenteOuIlegivelMantemOsPadroes) {
    QTemporaryDir pasta;
    for (const QString& arquivo : {pasta.filePath(QStringLiteral("nao-existe.ini")), pasta.path()}) {
        const ConfigFormulario c = ConfigFormulario::ler(arquivo);
        EXPECT_EQ(c.alturaFonte, 13);
        EXPECT_EQ(c.larguraFonte, 7);
        EXPECT_EQ(c.alturaPapel, 297);
        EXPECT_EQ(c.larguraPapel, 210);
        EXPECT_EQ(c.alturaPrincipal, 1013);
    }
    QFile f(pasta.filePath(QStringLiteral("nfvenda.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[configuracao]\nAltura do Papel=140\nLargura do Papel=216\nLargura Da Fonte=0\n");
    f.close();
    const ConfigFormulario c = ConfigFormulario::ler(f.fileName());
    EXPECT_EQ(c.alturaPapel, 140);
    EXPECT_EQ(c.larguraPapel, 216);
    EXPECT_EQ(c.larguraFonte, 7) << "a cell of no width keeps the default";
}

TEST_F(FormularioFixture, VerTipoPorTipoDeColunaETamanho) {
    nota(48, 1, "5102", "1234567.891");
    itemNota(48, 1, 10, "1234.5", "0.125", "154.3125");
    ASSERT_TRUE(dm().abrirNFVenda(48, QStringLiteral("F")));
    struct Caso {
        RecordSet* rs;
        const char* campo;
        int tamanho;
        const char* esperado;
    };
    const Caso casos[] = {
        {&cab(), "NFV_TOTAL_NOTA", 14, "  1.234.567,89"},
        {&cab(), "NFV_TOTAL_NOTA", 0, "1.234.567,89"},
        {&cab(), "NFV_TOTAL_NOTA", 5, "1.234"}, // cut to the width, as the pads do
        {&cab(), "PES_NOME", 12, "Cliente SP  "},
        {&cab(), "PES_NOME", 0, "Cliente SP"},
        {&cab(), "CODNFVENDA", 4, "48  "},
        {&cab(), "NFV_DTEMISSAO", 12, "05/12/2026  "},
        {&cab(), "NFV_ICMS_ALIQ", 6, "  0,00"}, // null amount
        {&item(), "NFVI_VLR_UNITARIO", 10, "      0,13"}, // its own format: ",0.00" by default
        {&item(), "NFVI_QTDE", 9, " 1.234,50"},
        {&item(), "NFVI_TOTAL", 8, "  154,31"},
    };
    for (const Caso& k : casos)
        EXPECT_EQ(TrelNFVenda::VerTipo(k.rs->field(QLatin1String(k.campo)), k.tamanho).toStdString(), k.esperado)
            << k.campo << " " << k.tamanho;
}

TEST_F(FormularioFixture, RotulosECaixasDiretos) {
    TrelNFVenda& rel = TrelNFVenda::gerarInstance();
    rel.iniciarPagina(ConfigFormulario{});
    rel.CriarLabel(QStringLiteral("ABC"), 3, 2, Banda::Principal, 0);
    rel.CriarLabel(QStringLiteral("ABC"), 3, 2, Banda::Rodape, 10);
    EXPECT_EQ(rel.CriarBlob2(QStringLiteral("um dois\r\ntres"), 1, 1, Banda::Principal, 0), 2);
    EXPECT_EQ(rel.CriarBlob2(QStringLiteral("ABCDEFGHIJ"), 1, 1, Banda::Principal, 4), 3);
    EXPECT_EQ(rel.pagina().listaCaixas(), QStringLiteral("rlbl1;21;26;21;[ABC]\n"
                                                         "rlbl2;21;1039;70;[ABC]\n"
                                                         "rmem1;7;13;49;[um dois\\ntres]\n"
                                                         "rmem2;7;13;28;[ABCD\\nEFGH\\nIJ]\n"));
    EXPECT_EQ(rel.pagina().caixas()[0].altura, 20);
    EXPECT_THROW(rel.CriarBlob(pasta.filePath(QStringLiteral("nao-existe.txt")), 0, 0, Banda::Principal, 0),
                 std::exception);
}

TEST(PaginaFormulario, LinhasDeTextoPoemCadaCaixaNaSuaCelula) {
    PaginaFormulario p;
    p.adicionar({QStringLiteral("rlbl1"), 14, 26, 28, 20, QStringLiteral("ABCDEF"), false}); // cut at 4 cells
    p.adicionar({QStringLiteral("rlbl2"), 0, 0, 21, 20, QStringLiteral("xyz"), false});
    p.adicionar({QStringLiteral("rmem1"), 35, 13, 14, 26, QStringLiteral("12\n34"), true}); // over the D
    p.adicionar({QStringLiteral("rlbl3"), 7, 26, 7, 20, QStringLiteral("#"), false});
    EXPECT_EQ(p.linhasTexto(), (QStringList{QStringLiteral("xyz"), QStringLiteral("     12"),
                                            QStringLiteral(" #ABC34")}));
}

// The preview installed by the program, as a double: what it was given and
// what the user did.
class PreviewGravado : public PreviewFormulario {
public:
    PreviewGravado() { setPreviewFormulario(this); }
    ~PreviewGravado() override { setPreviewFormulario(nullptr); }
    bool mostrar(const QString& t, const PaginaFormulario& p) override {
        titulo = t;
        lista = p.listaCaixas();
        return imprimir;
    }
    QString titulo, lista;
    bool imprimir = true;
};

TEST_F(FormularioFixture, ImprimirMostraAPreviaEDevolveADecisao) {
    layoutDaLoja();
    nota(41, 6, "5102", "1234.5");
    itemNota(41, 1, 10, "3", "2", "6");
    itemNota(41, 2, 20, "2.5", "10", "25");
    PreviewGravado previa;
    EXPECT_TRUE(TrelNFVenda::gerarInstance().Imprimir(41, QStringLiteral("F")));
    EXPECT_EQ(previa.titulo, u"Nota Fiscal 41 - Série F");
    EXPECT_EQ(previa.lista.toStdString(), golden("consumidor-final.txt").toStdString());
    previa.imprimir = false;
    EXPECT_FALSE(TrelNFVenda::gerarInstance().Imprimir(41, QStringLiteral("F")));
    EXPECT_FALSE(cab().active()) << "the data module is closed again, as it was";
}

TEST_F(FormularioFixture, NotaDesconhecidaOuEmEdicaoERecusada) {
    nota(41, 6, "5102", "10");
    nota(49, 1, "5102", "10");
    PreviewGravado previa;
    EXPECT_THROW(TrelNFVenda::gerarInstance().Imprimir(999, QStringLiteral("F")), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Nota fiscal 999 série F não encontrada.");
    EXPECT_TRUE(previa.titulo.isEmpty());

    // A screen on another invoice gets it back; one being typed is not touched.
    ASSERT_TRUE(dm().abrirNFVenda(49, QStringLiteral("F")));
    TrelNFVenda::gerarInstance().Imprimir(41, QStringLiteral("F"));
    EXPECT_EQ(cab().field(QStringLiteral("CODNFVENDA")).asInteger(), 49);
    dm().editarNFVenda();
    cabecalho("NFV_OBS_INTERNA", QStringLiteral("digitando"));
    EXPECT_THROW(TrelNFVenda::gerarInstance().Imprimir(41, QStringLiteral("F")), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Grave ou cancele a nota fiscal em edição antes de imprimir o formulário.");
    EXPECT_EQ(texto(cab(), "NFV_OBS_INTERNA"), u"digitando");
}

// The PDF holds the texts where the boxes put them: read back by the
// system's PDF text extractor when it is installed.
TEST_F(FormularioFixture, PdfTrazOsTextosNasPosicoes) {
    layoutDaLoja();
    nota(41, 6, "5102", "1234.5");
    itemNota(41, 1, 10, "3", "2", "6");
    itemNota(41, 2, 20, "2.5", "10", "25");
    const QString arquivo = pasta.filePath(QStringLiteral("nf.pdf"));
    TrelNFVenda::gerarInstance().montar(41, QStringLiteral("F")).gravarPDF(arquivo);
    if (const QString copia = qEnvironmentVariable("KVO_FORMULARIO_PDF"); !copia.isEmpty()) // to look at it
        QFile::copy(arquivo, copia);
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5).startsWith("%PDF"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext not installed";
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-layout"), arquivo, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QStringList linhas = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    auto linhaCom = [&](const QString& texto) {
        for (const QString& l : linhas)
            if (l.contains(texto))
                return l;
        return QString();
    };
    const QString item = linhaCom(QStringLiteral("PARAFUSO"));
    EXPECT_TRUE(item.contains(QStringLiteral("3,00")) && item.contains(QStringLiteral("2,00")) &&
                item.contains(QStringLiteral("6,00")))
        << item.toStdString();
    EXPECT_LT(item.indexOf(QStringLiteral("PARAFUSO")), item.indexOf(QStringLiteral("3,00")));
    EXPECT_FALSE(linhaCom(QStringLiteral("1.234,50")).isEmpty());
    EXPECT_TRUE(linhaCom(QStringLiteral("100,00")).isEmpty()) << "no ICMS for a final consumer";
    EXPECT_GT(linhas.indexOf(linhaCom(QStringLiteral("1.234,50"))), linhas.indexOf(item));
}

} // namespace
} // namespace kvo::test
