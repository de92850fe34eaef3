// Events of an authorised NF-e against the local authority: the cancellation
// before the local one, the correction letter, and the voiding of numbers.
#include "CicloNFeFixture.h"

#include "core/Clock.h"
#include "nfe/NFeComponent.h"
#include "registers/DNFe.h"

#include <QDir>
#include <QFile>

using namespace kvo;
using namespace kvo::test;

#define PRECISA_AUTORIDADE()                                                                                          \
    if (!fixturesProntas)                                                                                             \
    GTEST_SKIP() << "NF-e schemas or demo certificate not available in the data cache"

namespace {

const QString justificativa = QStringLiteral("Cliente desistiu da compra");
const QString correcao = QStringLiteral("Endereco de entrega: Rua B, 200");

class EventosNFe : public NFVendaCiclo {
protected:
    const QString um = QStringLiteral("1");
    nfe::NFeComponent& comp() { return TdmNFe::gerarInstance().componente(); }
    void cancelar(int n) {
        ui.answerYes();
        ui.answerInput(justificativa);
        dm().NFVENDA_Cancelar(n, um);
    }
    QVariant daCarta(int n, const char* coluna) {
        return t->scalar(QStringLiteral("select %1 from NFVENDA_CCE where CODNFVENDA = %2 order by NFVC_SEQUENCIAL desc")
                             .arg(QLatin1String(coluna))
                             .arg(n));
    }
    int cartas(int n) {
        return t->scalar(QStringLiteral("select count(*) from NFVENDA_CCE where CODNFVENDA = %1").arg(n)).toInt();
    }
    int logs() { return t->scalar(QStringLiteral("select count(*) from LOG_SISTEMA where LOG_OPERACAO = 'INUTILIZAR'")).toInt(); }
    QString csv(const QByteArray& conteudo) {
        const QString caminho = home.filePath(QStringLiteral("faixas.csv"));
        QFile f(caminho);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
        return caminho;
    }
};

} // namespace

// --- cancellation

TEST_F(EventosNFe, CancellationEventThenTheLocalCancellation) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    cancelar(n);
    EXPECT_EQ(ui.lastMessage(), u"Cancelado com sucesso!");
    EXPECT_EQ(status(n), u"Cancelada");
    const QString nprot = texto(n, "NFV_NFE_CANC_NPROT");
    EXPECT_EQ(nprot.size(), 15);
    EXPECT_TRUE(texto(n, "NFV_XML_CANC_RETORNO").contains(QStringLiteral("<cStat>135</cStat>")));
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("xmlEvento.xml"))));
    EXPECT_FALSE(QDir(home.filePath(QStringLiteral("evento"))).isEmpty());
    EXPECT_FALSE(comp().Configuracoes.Salvar);
    EXPECT_EQ(pedidos(QStringLiteral("NFeRecepcaoEvento4")), 1);

    // A cancelled invoice reprints as cancelled, never sent again.
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), TdmNFVenda::ResultadoNFe::Impressa);
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);
}

TEST_F(EventosNFe, ALateCancellationReasonKeepsTheInvoice) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    injetar(R"([{"servico": "NFeRecepcaoEvento4",
                 "xMotivoEvento": "Evento registrado: Prazo de cancelamento superior ao previsto na legislacao"}])");
    EXPECT_THROW(cancelar(n), Abort);
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("CStat=135 - Motivo=Evento registrado: Prazo de cancelamento")))
        << ui.lastMessage().toStdString();
    EXPECT_TRUE(ui.lastMessage().endsWith(QStringLiteral(" - Xml Retorno=") + home.filePath(QStringLiteral("xmlEvento.xml"))));
    EXPECT_EQ(status(n), u"Faturada");
    EXPECT_TRUE(coluna(n, "NFV_NFE_CANC_NPROT").isNull());
    EXPECT_FALSE(comp().Configuracoes.Salvar);
}

TEST_F(EventosNFe, ARefusedCancellationKeepsTheInvoice) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    sql(QStringLiteral("update NFVENDA set NFV_NFE_NPROT = '135000000000001'")); // not the authority's protocol
    EXPECT_THROW(cancelar(n), Abort);
    EXPECT_TRUE(ui.lastMessage().startsWith(
        QStringLiteral("Ocorreu o seguinte erro ao cancelar a nota fiscal eletrônica:\nCódigo:222\nMotivo: ")))
        << ui.lastMessage().toStdString();
    EXPECT_EQ(status(n), u"Faturada");
    EXPECT_TRUE(coluna(n, "NFV_XML_CANC_RETORNO").isNull());

    ui.answerYes();
    ui.answerInput(std::nullopt); // closing the justification dialog stops
    EXPECT_THROW(dm().NFVENDA_Cancelar(n, um), Abort);
    EXPECT_EQ(pedidos(QStringLiteral("NFeRecepcaoEvento4")), 1);
}

// --- correction letter

TEST_F(EventosNFe, CorrectionLetterIsStoredAndPrinted) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    Clock::setFixed(QDateTime::currentDateTime());
    ui.answerYes();
    EXPECT_TRUE(dm().NFE_CartaCorrecao(n, um, correcao));
    EXPECT_EQ(ui.questions().last(), u"Confirma enviar Carta Correção?");
    EXPECT_EQ(ui.lastMessage(), u"Carta de Correção eletrônica enviada com sucesso!");
    EXPECT_EQ(daCarta(n, "NFVC_STATUS").toString(), u"135");
    EXPECT_EQ(daCarta(n, "NFVC_MOTIVO").toString(), u"Evento registrado e vinculado a NF-e");
    EXPECT_EQ(daCarta(n, "NFVC_NPROT").toString().size(), 15);
    EXPECT_TRUE(daCarta(n, "NFVC_XML_ENVIO").toString().contains(QStringLiteral("<xCorrecao>") + correcao));
    EXPECT_TRUE(daCarta(n, "NFVC_XML_RECEBIDO").toString().contains(QStringLiteral("<cStat>135</cStat>")));
    // Year, month, day and minutes make the batch number.
    const QDateTime agora = Clock::now();
    const QString lote = agora.toString(QStringLiteral("yyMMdd")) + QStringLiteral("%1").arg(agora.time().minute(), 2, 10, QChar(u'0'));
    EXPECT_TRUE(daCarta(n, "NFVC_XML_ENVIO").toString().contains(QStringLiteral("<idLote>") + QString::number(lote.toLongLong()) + QStringLiteral("</idLote>")));
    Clock::reset();
    EXPECT_FALSE(QDir(home.filePath(QStringLiteral("cce"))).isEmpty());
    EXPECT_FALSE(comp().Configuracoes.Salvar);
    EXPECT_TRUE(QFile::exists(comp().ArquivoPDF()));

    // A second letter is asked about and takes the next sequence.
    ui.answerYes();
    ui.answerYes();
    EXPECT_TRUE(dm().NFE_CartaCorrecao(n, um, correcao + QStringLiteral(" apto 3")));
    EXPECT_EQ(ui.questions().at(ui.questions().size() - 2), u"Está Nota Fiscal já teve uma correção, deseja fazer outra?");
    EXPECT_EQ(daCarta(n, "NFVC_SEQUENCIAL").toInt(), 2);
}

TEST_F(EventosNFe, ALetterAnswered136IsStoredLikeOneAnswered135) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    injetar(R"([{"servico": "NFeRecepcaoEvento4", "cStatEvento": 136}])");
    ui.answerYes();
    EXPECT_TRUE(dm().NFE_CartaCorrecao(n, um, correcao));
    EXPECT_EQ(ui.lastMessage(), u"Carta de Correção eletrônica enviada com sucesso!");
    EXPECT_EQ(daCarta(n, "NFVC_STATUS").toString(), u"136");
    EXPECT_EQ(daCarta(n, "NFVC_MOTIVO").toString(), u"Evento registrado, mas não vinculado a NF-e");
    EXPECT_FALSE(daCarta(n, "NFVC_NPROT").toString().isEmpty());
    EXPECT_FALSE(daCarta(n, "NFVC_XML_RECEBIDO").isNull());
}

TEST_F(EventosNFe, LetterChecksComeBeforeTheQuestion) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    EXPECT_THROW(dm().NFE_CartaCorrecao(n, um, QStringLiteral("123456789012345")), Abort); // 15 characters
    EXPECT_EQ(ui.lastMessage(), u"Você precisa colocar um texto maior que 15 caracteres!");
    EXPECT_TRUE(ui.questions().isEmpty());
    EXPECT_EQ(cartas(n), 0);

    dm().novaCCE();
    dm().cdsNFVendaCCE().field(QStringLiteral("NFVC_CORRECAO")).setValue(QStringLiteral("1234567890123456"));
    dm().cdsNFVendaCCE().field(QStringLiteral("NFVC_SEQUENCIAL")).setValue(0);
    EXPECT_THROW(dm().NFE_EnviarCartaCorrecao(), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Você precisa ter um sequencial maior que 1!");
    dm().cdsNFVendaCCE().cancel();

    ui.answerNo();
    EXPECT_FALSE(dm().NFE_CartaCorrecao(n, um, QStringLiteral("1234567890123456"))); // 16 passes the check
    EXPECT_EQ(ui.questions().last(), u"Confirma enviar Carta Correção?");
    EXPECT_EQ(pedidos(QStringLiteral("NFeRecepcaoEvento4")), 0);
    EXPECT_EQ(cartas(n), 0);
}

TEST_F(EventosNFe, ALetterNeedsATransmittedInvoice) {
    PRECISA_AUTORIDADE();
    const int n = notaFaturada();
    EXPECT_THROW(dm().NFE_CartaCorrecao(n, um, correcao), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Esta Nota Fiscal não foi transmitida!");
}

// --- number voiding

TEST_F(EventosNFe, CsvWithOnlyTheHeaderVoidsNothing) {
    PRECISA_AUTORIDADE();
    EXPECT_EQ(dm().NFE_InutilizarCSV(csv("inicial;final;serie;modelo\n")), 0);
    EXPECT_EQ(pedidos(QStringLiteral("NFeInutilizacao4")), 0);
    EXPECT_EQ(logs(), 0);
}

TEST_F(EventosNFe, CsvVoidsEachRangeOfItsModelAndLogsIt) {
    PRECISA_AUTORIDADE();
    EXPECT_EQ(dm().NFE_InutilizarCSV(csv("inicial;final;serie;modelo\n10;12;1;65\n20;21;1\n30;31;1;55;extra\n")), 2);
    EXPECT_EQ(pedidos(QStringLiteral("NFeInutilizacao4")), 2);
    auto rs = t->query(QStringLiteral("select LOG_TABELA, LOG_CAMPO_CHAVE, LOG_VALOR_CHAVE, LOG_DETALHES, LOG_RESPOSTA "
                                      "from LOG_SISTEMA where LOG_OPERACAO = 'INUTILIZAR' order by CODLOG"));
    ASSERT_EQ(rs->recordCount(), 2);
    const int ano = Clock::today().year();
    rs->first();
    EXPECT_EQ(rs->field(QStringLiteral("LOG_TABELA")).asString(), u"NFVENDA");
    EXPECT_EQ(rs->field(QStringLiteral("LOG_CAMPO_CHAVE")).asString(), u"CODNFVENDA");
    EXPECT_EQ(rs->field(QStringLiteral("LOG_VALOR_CHAVE")).asString(), u"0");
    EXPECT_EQ(rs->field(QStringLiteral("LOG_DETALHES")).asString(), QStringLiteral("ANO=%1,MODELO=65,SERIE=1,INI=10,FINAL=12").arg(ano));
    EXPECT_TRUE(rs->field(QStringLiteral("LOG_RESPOSTA")).asString().startsWith(QStringLiteral("102")));
    EXPECT_LE(rs->field(QStringLiteral("LOG_RESPOSTA")).asString().size(), 40);
    rs->next();
    EXPECT_EQ(rs->field(QStringLiteral("LOG_DETALHES")).asString(), QStringLiteral("ANO=%1,MODELO=55,SERIE=1,INI=30,FINAL=31").arg(ano));
}

TEST_F(EventosNFe, ARefusedRangeStopsTheBatchKeepingTheEarlierOnes) {
    PRECISA_AUTORIDADE();
    injetar(R"([{"servico": "NFeInutilizacao4", "acao": "processar"},
                {"servico": "NFeInutilizacao4", "acao": "responder", "cStat": 256, "xMotivo": "Rejeição: Uma NF-e da faixa já está inutilizada"}])");
    EXPECT_THROW(dm().NFE_InutilizarCSV(csv("i;f;s;m\n10;12;1;55\n13;14;1;55\n15;16;1;55\n")), Abort);
    EXPECT_TRUE(ui.lastMessage().contains(QStringLiteral("256"))) << ui.lastMessage().toStdString();
    EXPECT_EQ(pedidos(QStringLiteral("NFeInutilizacao4")), 2);
    EXPECT_EQ(logs(), 1);
}

TEST_F(EventosNFe, ARangeFromTheDialogs) {
    PRECISA_AUTORIDADE();
    for (const char* v : {"2026", "55", "1", "50", "55", "PULOU O SEQUENCIAL PELO SISTEMA"})
        ui.answerInput(QString::fromLatin1(v));
    EXPECT_TRUE(dm().NFE_InutilizarFaixa());
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("Inutilizado com sucesso!\nRetorno: 102")))
        << ui.lastMessage().toStdString();
    EXPECT_EQ(logs(), 1);
    ui.answerInput(QStringLiteral("2026"));
    ui.answerInput(std::nullopt);
    EXPECT_FALSE(dm().NFE_InutilizarFaixa());
    EXPECT_EQ(pedidos(QStringLiteral("NFeInutilizacao4")), 1);
}
