// The invoice search's NF-e steps against the local authority (real TLS and
// SOAP): voiding ranges from the dialogs and from a CSV file, the cancellation
// event, the correction letter's checks and the XML tools.
#include "../CicloNFeFixture.h"
#include "PesquisaNFVendaTela.h"

#include "core/Clock.h"

#include <QDir>
#include <QFile>

using namespace kvo;
using namespace kvo::test;

#define PRECISA_AUTORIDADE()                                                                                          \
    if (!fixturesProntas)                                                                                             \
    GTEST_SKIP() << "NF-e schemas or demo certificate not available in the data cache"

namespace {

class PesquisaNFe : public NaPesquisa<NFVendaCiclo> {
protected:
    QString csv(const QByteArray& conteudo) {
        const QString caminho = home.filePath(QStringLiteral("faixas.csv"));
        QFile f(caminho);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
        return caminho;
    }
    QStringList logs() {
        QStringList r;
        auto rs = t->query(QStringLiteral(
            "select LOG_DETALHES from LOG_SISTEMA where LOG_OPERACAO = 'INUTILIZAR' order by CODLOG"));
        for (rs->first(); !rs->eof(); rs->next())
            r << rs->field(QStringLiteral("LOG_DETALHES")).asString();
        return r;
    }
    int inutilizacoes() { return pedidos(QStringLiteral("NFeInutilizacao4")); }
};

TEST_F(PesquisaNFe, CsvVoidingSkipsTheHeaderAndShortLines) {
    PRECISA_AUTORIDADE();
    abrir();
    ui.answerFile(csv("inicial;final;serie;modelo\n"));
    clicar("btnInutilizarCSV");
    EXPECT_EQ(inutilizacoes(), 0);
    EXPECT_TRUE(logs().isEmpty());
    EXPECT_EQ(ui.lastMessage(), u"Inutilização concluída: 0 faixa(s).");

    ui.answerFile(csv("inicial;final;serie;modelo\n10;12;1;65\n20;21;1\n"));
    clicar("btnInutilizarCSV");
    EXPECT_EQ(inutilizacoes(), 1);
    EXPECT_EQ(logs(), QStringList{QStringLiteral("ANO=%1,MODELO=65,SERIE=1,INI=10,FINAL=12").arg(Clock::today().year())});
    EXPECT_EQ(ui.lastMessage(), u"Inutilização concluída: 1 faixa(s).");

    ui.answerFile(std::nullopt); // the chooser closed
    clicar("btnInutilizarCSV");
    EXPECT_EQ(inutilizacoes(), 1);
    EXPECT_TRUE(ui.allAnswered());
}

TEST_F(PesquisaNFe, VoidingARangeFromTheDialogs) {
    PRECISA_AUTORIDADE();
    abrir();
    for (const char* v : {"2026", "55", "1", "30", "31"})
        ui.answerInput(QString::fromLatin1(v));
    ui.answerInput(QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA"));
    clicar("btnInutilizar");
    EXPECT_EQ(ui.questions(), (QStringList{QStringLiteral("Ano"), QStringLiteral("Modelo"), QStringLiteral("Serie"),
                                           QStringLiteral("Número Inicial"), QStringLiteral("Número Final"),
                                           QStringLiteral("Justificativa")}));
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("Inutilizado com sucesso!\nRetorno: 102")))
        << ui.lastMessage().toStdString();
    EXPECT_EQ(logs(), QStringList{QStringLiteral("ANO=2026,MODELO=55,SERIE=1,INI=30,FINAL=31")});

    for (const char* v : {"2026", "55", "1"})
        ui.answerInput(QString::fromLatin1(v));
    ui.answerInput(std::nullopt); // "Número Inicial" closed
    clicar("btnInutilizar");
    EXPECT_EQ(inutilizacoes(), 1);
}

TEST_F(PesquisaNFe, CancellingAnAuthorisedNFeSendsItsEventFirst) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    abrir();
    listarTodos();
    irPara(n);
    ui.answerYes();
    ui.answerInput(QStringLiteral("Cliente desistiu da compra"));
    clicar("btnCancelar");
    EXPECT_EQ(ui.questions(),
              (QStringList{QStringLiteral("Confirma Cancelar essa Nota Fiscal?"), QStringLiteral("Justificativa")}));
    EXPECT_EQ(ui.lastMessage(), u"Cancelado com sucesso!");
    EXPECT_EQ(status(n), u"Cancelada");
    EXPECT_FALSE(texto(n, "NFV_NFE_CANC_NPROT").isEmpty());
}

TEST_F(PesquisaNFe, CorrectionLetterNeedsTheProtocolAndConfirmsASecondOne) {
    PRECISA_AUTORIDADE();
    QList<int> abertas;
    telasNFVenda().cartaCorrecao = [&](int numero, const QString& serie) {
        EXPECT_EQ(serie, u"1");
        abertas << numero;
    };
    const int semProtocolo = notaFaturada(), n = notaAutorizada();
    abrir();
    listarTodos();
    irPara(semProtocolo);
    clicar("btnCartaCorrecao");
    EXPECT_EQ(ui.lastMessage(), u"Esta Nota Fiscal não foi transmitida!");
    EXPECT_TRUE(abertas.isEmpty());

    irPara(n);
    clicar("btnCartaCorrecao");
    EXPECT_EQ(abertas, QList<int>{n});
    EXPECT_TRUE(ui.questions().isEmpty());

    sql(QStringLiteral("insert into NFVENDA_CCE (CODNFVENDACCE, CODNFVENDA, CODSERIE, NFVC_SEQUENCIAL, NFVC_CORRECAO) "
                       "values (1, %1, '1', 1, 'Quantidade correta: 12 latas')")
            .arg(n));
    ui.answerNo();
    clicar("btnCartaCorrecao");
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Está Nota Fiscal já teve uma correção, deseja fazer outra?")});
    EXPECT_EQ(abertas.size(), 1);
    ui.answerYes();
    clicar("btnCartaCorrecao");
    EXPECT_EQ(abertas, (QList<int>{n, n}));
}

TEST_F(PesquisaNFe, XmlToolWritesTheAuthorisedDocument) {
    PRECISA_AUTORIDADE();
    QFile marca(home.filePath(QStringLiteral("gambinfe.txt")));
    ASSERT_TRUE(marca.open(QIODevice::WriteOnly));
    marca.close();
    const int semProtocolo = notaFaturada(), n = notaAutorizada();
    abrir();
    listarTodos();
    irPara(n);
    clicar("btnXML");
    const QString arquivo = QDir(home.path()).filePath(QStringLiteral("XML/NFE%1.XML").arg(n, 5, 10, QLatin1Char('0')));
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("XML Salvo em: ") + arquivo);
    QFile xml(arquivo);
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QByteArray conteudo = xml.readAll();
    EXPECT_TRUE(conteudo.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?><nfeProc"));
    EXPECT_TRUE(conteudo.contains("<protNFe ")) << conteudo.right(600).toStdString();
    EXPECT_FALSE(conteudo.contains("protNFeversao"));
    EXPECT_TRUE(conteudo.contains(QByteArray("<nProt>" + texto(n, "NFV_NFE_NPROT").toUtf8() + "</nProt>")));
    EXPECT_TRUE(conteudo.contains("<xMotivo>Autorizado o uso da NF-e</xMotivo>"));

    irPara(semProtocolo); // warned, and written all the same
    clicar("btnXML");
    ASSERT_GE(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages().first().text, u"Esse XML não vai ser gerado direito, pois não tem o protocolo de entrega!");
    EXPECT_TRUE(QFile::exists(
        QDir(home.path()).filePath(QStringLiteral("XML/NFE%1.XML").arg(semProtocolo, 5, 10, QLatin1Char('0')))));
}

TEST_F(PesquisaNFe, F10PrintsTheDanfeAndTheDanfeToolAsksForAMissingProtocol) {
    PRECISA_AUTORIDADE();
    QFile marca(home.filePath(QStringLiteral("gambinfe.txt")));
    ASSERT_TRUE(marca.open(QIODevice::WriteOnly));
    marca.close();
    const int semProtocolo = notaFaturada(), n = notaAutorizada();
    const QString pdf = home.filePath(QStringLiteral("pdf/") + dm().GetChaveAcesso() + QStringLiteral("-nfe.pdf"));
    QFile::remove(pdf);
    abrir();
    listarTodos();
    irPara(n);
    EXPECT_EQ(w("btnImprimir")->text(), u"    F10  || NF-e");
    ui.clear();
    atalho(Qt::Key_F10);
    EXPECT_TRUE(QFile::exists(pdf)) << ui.lastMessage().toStdString();

    irPara(semProtocolo);
    ui.answerInput(std::nullopt); // "Numero" closed: nothing printed
    clicar("btnDANFE");
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Numero")});
    const QString pdfSem = home.filePath(QStringLiteral("pdf/") + dm().GetChaveAcesso() + QStringLiteral("-nfe.pdf"));
    EXPECT_FALSE(QFile::exists(pdfSem));
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("nfe.xml"))));
    ui.answerInput(QStringLiteral("135260000000099"));
    clicar("btnDANFE");
    EXPECT_TRUE(QFile::exists(pdfSem)) << ui.lastMessage().toStdString();
    EXPECT_TRUE(ui.allAnswered());
}

} // namespace
