// Saving invoices: one transaction, the number taken from the series under
// its lock, the fiscal seal, and two terminals saving in one series.
#include "NFVendaFixture.h"

#include "framework/db/Migrator.h"
#include "framework/services/DAcesso.h"
#include "invoice/NumeracaoNFVenda.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <set>
#include <thread>

using namespace kvo;
using namespace kvo::test;

namespace {
class NumeracaoNFVenda : public NFVendaFixture {
protected:
    int serSeq(const char* serie = "1") {
        return t->scalar(QStringLiteral("select SER_SEQ from SERIE where CODSERIE = '%1'").arg(QLatin1String(serie))).toInt();
    }
    int notas() { return t->scalar(QStringLiteral("select count(*) from NFVENDA")).toInt(); }
    // An invoice with two items with discounts and taxes that round.
    void notaCompleta() {
        novaNotaSP();
        cabecalho("NFV_FRETE", QStringLiteral("7,77"));
        cabecalho("NFV_IR_PERC", QStringLiteral("1,5"));
        dm().novoItem();
        noItem("CODPESQUISA", QStringLiteral("1001"));
        noItem("CODPRODUTOUNIDADE_NFVI", QStringLiteral("102"));
        noItem("NFVI_QTDE_UND", QStringLiteral("3"));
        noItem("NFVI_PERDESC", QStringLiteral("7,5"));
        noItem("NFVI_ALIQ_IPI", QStringLiteral("5"));
        noItem("NFVI_PIS_PER", QStringLiteral("1,65"));
        dm().gravarItem();
        itemManual("1,333", "7,777", "12");
        noItem("NFVI_VLRDESC", QStringLiteral("0,33"));
        noItem("NFVI_PER_REDUC", QStringLiteral("33,33"));
        dm().gravarItem();
    }
};

// Every stored column of the current rows, as the record sets hold them.
// Money as its four decimals, so a difference in the last one shows.
QMap<QString, QString> colunas(RecordSet& rs) {
    QMap<QString, QString> v;
    for (int i = 0; i < rs.fieldCount(); ++i) {
        const Field& f = rs.field(i);
        if (f.kind() == FieldKind::Data)
            v.insert(f.name(), f.type() == FieldType::Currency && !f.isNull() ? f.asCurrency().toString() : f.asString());
    }
    return v;
}
} // namespace

TEST_F(NumeracaoNFVenda, NewInvoicesTakeTheSeriesNumberAndAdvanceIt) {
    EXPECT_EQ(serSeq(), 1); // a new series starts at 1
    novaNotaSP();
    EXPECT_EQ(cab().field(QStringLiteral("CODNFVENDA")).asInteger(), 1);
    itemManual("1", "10", "18");
    dm().gravarItem();
    const auto primeira = dm().gravarNFVenda();
    EXPECT_EQ(primeira.numero, 1);
    EXPECT_FALSE(primeira.numeroAlterado);
    EXPECT_EQ(serSeq(), 2);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from NFVENDA_ITEM where CODNFVENDA = 1 and CODSERIE = '1'")).toInt(), 1);
    novaNotaSP();
    EXPECT_EQ(dm().gravarNFVenda().numero, 2);
    EXPECT_EQ(serSeq(), 3);
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(NumeracaoNFVenda, StoredValuesReadBackAsComputed) {
    notaCompleta();
    ASSERT_EQ(item().recordCount(), 2);
    const auto cabecalhoCalculado = colunas(cab());
    EXPECT_EQ(cabecalhoCalculado.value(QStringLiteral("NFV_TOTAL_NOTA")), u"86.8571"); // 76.6367 + 3.6 - 1.1496 + 7.77
    QList<QMap<QString, QString>> itensCalculados;
    for (item().first(); !item().eof(); item().next())
        itensCalculados << colunas(item());
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_NOTA"), valor(cab(), "NFV_TOTAL_PRODUTOS") + valor(cab(), "NFV_IPI") +
                                                  valor(cab(), "NFV_FRETE") - valor(cab(), "NFV_IR_VLR"));
    const auto gravada = dm().gravarNFVenda();
    dm().fecharNFVenda();
    ASSERT_TRUE(dm().abrirNFVenda(gravada.numero, gravada.serie));
    const auto lido = colunas(cab());
    for (auto it = cabecalhoCalculado.cbegin(); it != cabecalhoCalculado.cend(); ++it)
        EXPECT_EQ(lido.value(it.key()), it.value()) << it.key().toStdString();
    ASSERT_EQ(item().recordCount(), 2);
    int n = 0;
    for (item().first(); !item().eof(); item().next(), ++n) {
        const auto itemLido = colunas(item());
        for (auto it = itensCalculados[n].cbegin(); it != itensCalculados[n].cend(); ++it)
            EXPECT_EQ(itemLido.value(it.key()), it.value()) << it.key().toStdString();
    }
    // Spot checks of the arithmetic itself: 36 x 2.00 less 7.5 % = 66.60.
    item().first();
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), c("66.6"));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL_DESCONTO"), c("5.4"));
    item().next();
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), c("10.0367")); // 1.333 x 7.777 = 10.366741 -> 10.3667, less 0.33
}

TEST_F(NumeracaoNFVenda, RecomputingAStoredInvoiceRewritesItsTotals) {
    notaCompleta();
    const auto gravada = dm().gravarNFVenda();
    sql(QStringLiteral("update NFVENDA_ITEM set NFVI_TOTAL = 1, NFVI_ICMS = 0"));
    sql(QStringLiteral("update NFVENDA set NFV_TOTAL_NOTA = 1, NFV_ICMS = 0"));
    dm().abrirNFVenda(gravada.numero, gravada.serie);
    item().setRecNo(2);
    dm().recalcularNFVenda();
    EXPECT_EQ(item().recNo(), 2); // the current line stays
    dm().gravarNFVenda();
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select NFV_TOTAL_NOTA from NFVENDA")), c("86.8571"));
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select sum(NFVI_TOTAL) from NFVENDA_ITEM")), c("76.6367"));
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select NFV_ICMS from NFVENDA")), c("13.7498"));
    EXPECT_EQ(serSeq(), 2); // an invoice already numbered keeps its number
}

TEST_F(NumeracaoNFVenda, AnotherNumberThanTheOneShownIsTakenAndTold) {
    novaNotaSP();
    itemManual("1", "10", "0");
    dm().gravarItem();
    sql(QStringLiteral("update SERIE set SER_SEQ = 5 where CODSERIE = '1'")); // another terminal saved meanwhile
    const auto gravada = dm().gravarNFVenda();
    EXPECT_EQ(gravada.numero, 5);
    EXPECT_TRUE(gravada.numeroAlterado);
    EXPECT_EQ(ui.lastMessage(),
              QStringLiteral("A nota fiscal foi gravada com o número 5: o número 1 já foi usado por outro terminal."));
    EXPECT_EQ(t->scalar(QStringLiteral("select CODNFVENDA from NFVENDA_ITEM")).toInt(), 5);
    EXPECT_EQ(serSeq(), 6);
}

TEST_F(NumeracaoNFVenda, ANumberAlreadyUsedIsRefusedAndNothingIsWritten) {
    novaNotaSP();
    dm().gravarNFVenda();
    sql(QStringLiteral("update SERIE set SER_SEQ = 1 where CODSERIE = '1'"));
    novaNotaSP();
    itemManual("1", "10", "0");
    dm().gravarItem();
    EXPECT_THROW(dm().gravarNFVenda(), Abort);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Numero da Nota fiscal já cadastrada"));
    EXPECT_EQ(notas(), 1);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from NFVENDA_ITEM")).toInt(), 0);
    EXPECT_EQ(serSeq(), 1); // the advance went back with the refused save
    // Once the series is put right, the same pending invoice saves.
    sql(QStringLiteral("update SERIE set SER_SEQ = 2 where CODSERIE = '1'"));
    EXPECT_EQ(dm().gravarNFVenda().numero, 2);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from NFVENDA_ITEM")).toInt(), 1);
}

TEST_F(NumeracaoNFVenda, MissingCustomerOrSeriesIsRefusedBeforeAnythingIsTaken) {
    dm().novaNFVenda();
    EXPECT_THROW(dm().gravarNFVenda(), Abort);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Você precisa informa uma Série para essa nota fiscal"));
    cabecalho("CODSERIE", QStringLiteral("1"));
    cabecalho("CODCFOP", QStringLiteral("5102"));
    try {
        dm().gravarNFVenda();
        FAIL() << "saved without a customer";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("O campo Cliente deve ser informado."));
    }
    EXPECT_EQ(notas(), 0);
    EXPECT_EQ(serSeq(), 1);
}

TEST_F(NumeracaoNFVenda, FiscalSealAdvancesWithTheInvoiceThatHasIt) {
    sql(QStringLiteral("update PARAMETRO_NF set PARN_SELO_FISCAL = '77'"));
    novaNotaSP();
    EXPECT_EQ(texto(cab(), "NFV_SELO_FISCAL"), u"77");
    dm().gravarNFVenda();
    EXPECT_EQ(t->scalar(QStringLiteral("select PARN_SELO_FISCAL from PARAMETRO_NF")).toString(), u"78");
    novaNotaSP();
    EXPECT_EQ(texto(cab(), "NFV_SELO_FISCAL"), u"78");
    cabecalho("NFV_SELO_FISCAL", QStringLiteral("12")); // typed by hand: the parameter stays
    dm().gravarNFVenda();
    EXPECT_EQ(t->scalar(QStringLiteral("select PARN_SELO_FISCAL from PARAMETRO_NF")).toString(), u"78");
}

// Two terminals saving new invoices in one series at the same time: the
// other terminal saves through the same routine on its own connection.
TEST(NumeracaoNFVendaTerminais, TwoTerminalsNeverTakeTheSameNumber) {
    std::optional<TestDatabase> embutido;
    ConnectionSettings ajustes;
    QString arquivo;
    if (testServer()) {
        arquivo = copyOfTemplate();
        ajustes = serverSettings(arquivo);
    } else {
        embutido.emplace();
        ajustes = embutido->db().settings();
    }
    {
        Database a(ajustes);
        a.open();
        carregarCadastros(a);
        Module module;
        ScriptedUi ui;
        TdmAcesso::gerarInstance().usarConexao(a);
        auto& dm = TdmNFVenda::gerarInstance();
        constexpr int porTerminal = 20;
        std::atomic<int> falhasOutro{0};
        std::thread outro([&] {
            Database b(ajustes);
            b.open();
            for (int n = 0; n < porTerminal; ++n) {
                for (int tentativa = 0;; ++tentativa) {
                    try {
                        Transaction tx(b);
                        const int numero = reservarNumeroNFVenda(b, QStringLiteral("1"));
                        b.executeSQL(QStringLiteral("insert into NFVENDA (CODNFVENDA, CODSERIE, CODPESSOA, CODCFOP, "
                                                    "NFV_DTEMISSAO) values (:N, '1', 1, '5102', current_date)"),
                                     {{QStringLiteral("N"), numero}});
                        tx.commit();
                        break;
                    } catch (const DatabaseError& e) {
                        if (!conflitoDeTravamento(e) || tentativa > 200) {
                            ++falhasOutro;
                            break;
                        }
                    }
                }
            }
        });
        std::set<int> meus;
        for (int n = 0; n < porTerminal; ++n) {
            dm.novaNFVenda();
            dm.setValorCampo(dm.cdsNFVenda(), QStringLiteral("CODSERIE"), QStringLiteral("1"));
            dm.setValorCampo(dm.cdsNFVenda(), QStringLiteral("CODPESSOA"), QStringLiteral("1"));
            dm.setValorCampo(dm.cdsNFVenda(), QStringLiteral("CODCFOP"), QStringLiteral("5102"));
            meus.insert(dm.gravarNFVenda().numero);
        }
        outro.join();
        EXPECT_EQ(falhasOutro.load(), 0);
        EXPECT_EQ(int(meus.size()), porTerminal);
        EXPECT_EQ(a.scalar(QStringLiteral("select count(distinct CODNFVENDA) from NFVENDA")).toInt(), 2 * porTerminal);
        EXPECT_EQ(a.scalar(QStringLiteral("select SER_SEQ from SERIE where CODSERIE = '1'")).toInt(), 1 + 2 * porTerminal);
        EXPECT_EQ(a.scalar(QStringLiteral("select max(CODNFVENDA) from NFVENDA")).toInt(), 2 * porTerminal);
    }
    if (!arquivo.isEmpty())
        QFile::remove(arquivo);
}

// Series that never numbered an invoice start at 1; the others keep their count.
TEST(NumeracaoNFVendaMigracao, UnusedSeriesMoveFromZeroToOne) {
    const QString ate13 = scratchFolder() + QStringLiteral("/migracoes-ate-13");
    QDir().mkpath(ate13);
    for (const QFileInfo& f : QDir(QStringLiteral(":/kvo/migrations")).entryInfoList({QStringLiteral("*.sql")})) {
        if (f.fileName().left(4).toInt() <= 13 && !QFile::exists(ate13 + u'/' + f.fileName())) {
            ASSERT_TRUE(QFile::copy(f.filePath(), ate13 + u'/' + f.fileName()));
        }
    }
    ConnectionSettings s;
    s.path = scratchFolder() + QStringLiteral("/series-antigas.fdb");
    QFile::remove(s.path);
    Database::create(s);
    Database db(s);
    db.open();
    Migrator(db, ate13).migrate();
    for (const char* comando : {"insert into SERIE (CODSERIE, SER_SEQ) values ('A', 0)",
                                "insert into SERIE (CODSERIE, SER_SEQ) values ('B', 0)",
                                "insert into SERIE (CODSERIE, SER_SEQ) values ('C', 7)",
                                "insert into PESSOA (CODPESSOA, PES_NOME) values (1, 'X')",
                                "insert into CFOP (CODCFOP, CFOP_DESCRICAO) values ('5102', 'Venda')",
                                "insert into NFVENDA (CODNFVENDA, CODSERIE, CODPESSOA, CODCFOP, NFV_DTEMISSAO) "
                                "values (0, 'B', 1, '5102', '2026-12-06')"})
        db.executeSQL(QString::fromLatin1(comando));
    Migrator(db).migrate();
    db.executeSQL(QStringLiteral("insert into SERIE (CODSERIE) values ('D')"));
    EXPECT_EQ(db.scalar(QStringLiteral("select list(CODSERIE || SER_SEQ) from (select * from SERIE order by CODSERIE)"))
                  .toString(),
              u"A1,B0,C7,D1");
}
