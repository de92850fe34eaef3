// The table check: its text, the management report on the fiscal printer and
// the stamps on the order.
#include "ImpressaoFixture.h"

#include "devices/Digest.h"
#include "devices/EmulatedFiscalPrinter.h"
#include "devices/RecordingTarget.h"
#include "registers/Kvolibgeral.h"
#include "restaurant/impressao/ConferenciaMesa.h"

using namespace kvo;
using namespace kvo::test;

namespace {

class Conferencia : public ImpressaoFixture {
protected:
    void SetUp() override {
        ImpressaoFixture::SetUp();
        t->executeSQL(QStringLiteral("insert into RES_GARCON (CODGARCON, GAR_NOME) values (2, 'Carlos')"));
        t->executeSQL(QStringLiteral("delete from PAR_RESTAURANTE"));
        t->executeSQL(QStringLiteral("insert into PAR_RESTAURANTE (CODPARRESTAURANTE, PARR_VLR_COVERT, "
                                     "PARR_SOMENTE_DURACAO) values (1, 5, 'N')"));
        t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (12, 'EM USO')"));
        produto(10, "Filé à parmegiana");
        produto(11, "Caipirinha de limão");
        produto(12, "Água com gás");
        produto(13, "Pão de alho cortesia");
        pedido(QStringLiteral("06.12.2026 19:00:00"), 10, 2, 5, 3);
        item(1, 10, "2", "45.9", "NORMAL", 3);
        item(2, 10, "1", "45.9", "NORMAL", 2);
        item(3, 11, "1", "18", "CANCELADO", 3);
        item(4, 12, "2", "5.5", "NORMAL", 3, 3); // transferred from table 3
        item(5, 13, "1", "0", "NORMAL", 3);       // a courtesy: not on the check
        ecf = std::make_unique<EmulatedFiscalPrinter>(home.filePath(QStringLiteral("ecf")), papel, 7);
        ecf->Ativar();
    }

    void produto(int cod, const char* descricao) {
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (:c, :p, :d)"),
                      {{QStringLiteral("c"), cod}, {QStringLiteral("p"), QString::number(cod)},
                       {QStringLiteral("d"), QString::fromUtf8(descricao)}});
    }
    void pedido(const QString& abertura, int servico, int couverts, int desconto, int pessoas) {
        t->executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, PED_TOTAL, "
                                     "PED_ACRESCIMO, PED_QTDE_COVERT, PED_DESC_VLR, PED_QTDE_PESSOA, PED_IMPRESSO) "
                                     "values (77, 12, 'ABERTO', '") +
                      abertura + QStringLiteral("', 148.7, %1, %2, %3, %4, 'N')").arg(servico).arg(couverts).arg(desconto).arg(pessoas));
    }
    void item(int chave, int produto, const char* qtde, const char* unit, const char* status, int garcon,
              int origem = 0) {
        const Currency q = Currency::fromString(QString::fromLatin1(qtde)),
                       u = Currency::fromString(QString::fromLatin1(unit));
        t->executeSQL(QStringLiteral("insert into RES_PEDIDO_ITEM (CODPEDIDOITEM, CODPEDIDO, CODPRODUTO, CODGARCON, "
                                     "PEDI_QTDE, PEDI_VLRUNIT, PEDI_TOTAL, PEDI_STATUS, CODCONTROLE_ORIGEM) values "
                                     "(%1, 77, %2, %3, %4, %5, %6, '%7', %8)")
                          .arg(chave)
                          .arg(produto)
                          .arg(garcon)
                          .arg(q.toString(), u.toString(), (q * u).toString(), QString::fromLatin1(status))
                          .arg(origem ? QString::number(origem) : QStringLiteral("null")));
    }
    std::unique_ptr<RecordSet> linhaPedido() {
        return openEditable(t.db(), QStringLiteral("select * from RES_PEDIDO where CODPEDIDO = 77"), {},
                            QStringLiteral("RES_PEDIDO"), QStringLiteral("CODPEDIDO"));
    }

    std::shared_ptr<RecordingTarget> papel = std::make_shared<RecordingTarget>();
    std::unique_ptr<EmulatedFiscalPrinter> ecf;
    Digest ead;
};

} // namespace

TEST_F(Conferencia, TextOfFixedDataEqualsItsGoldenFile) {
    const QStringList linhas = textoConferenciaMesa(t.db(), 12, Clock::now());
    EXPECT_TRUE(igualAoGolden(linhas, "conferencia-mesa.txt"));
    for (const QString& l : linhas)
        EXPECT_LE(l.size(), 48) << l.toStdString();
}

TEST_F(Conferencia, PrintsTheReportAndStampsTheOrder) {
    const int cerAntes = ecf->estado().relatorios.first().contador;
    const ConferenciaResultado r = ConferenciaMesa(t.db(), *cfg, 12, ead, *ecf);
    ASSERT_EQ(papel->documents.size(), 1);
    EXPECT_TRUE(papel->text(0).contains(u"CONFERENCIA DE MESA"));
    EXPECT_EQ(ecf->Tag(), 0); // reset after printing

    auto p = linhaPedido();
    EXPECT_EQ(p->field(QStringLiteral("PED_COO")).asInteger(), ecf->estado().coo);
    EXPECT_EQ(p->field(QStringLiteral("PED_NUMECF")).asInteger(), 7);
    EXPECT_EQ(p->field(QStringLiteral("PED_CER")).asInteger(), cerAntes); // read before printing
    EXPECT_EQ(p->field(QStringLiteral("PED_IMPRESSO")).asString(), u"S");
    EXPECT_EQ(p->field(QStringLiteral("PED_DATA_FINAL")).asDateTime(), Clock::now());
    EXPECT_EQ(p->field(QStringLiteral("PED_STATUS")).asString(), u"ABERTO");
    EXPECT_EQ(r.coo, ecf->estado().coo);

    // The digest is of the row with the counters set, before the last three stamps.
    const QString gravado = p->field(QStringLiteral("PED_MD5")).asString();
    EXPECT_EQ(gravado, r.md5);
    p->edit();
    p->field(QStringLiteral("PED_MD5")).setValue(QVariant());
    p->field(QStringLiteral("PED_IMPRESSO")).setValue(QStringLiteral("N"));
    p->field(QStringLiteral("PED_DATA_FINAL")).setValue(QVariant());
    EXPECT_EQ(gravado, ead.MD5FromString(RegistroTextoDataSet(*p)));
    EXPECT_EQ(gravado.size(), 32);
}

TEST_F(Conferencia, APrinterFailureLeavesTheOrderUntouched) {
    ecf->setSemPapel(true);
    EXPECT_THROW(ConferenciaMesa(t.db(), *cfg, 12, ead, *ecf), Abort);
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ecf->Tag(), 0);
    auto p = linhaPedido();
    for (const char* c : {"PED_COO", "PED_NUMECF", "PED_CER", "PED_MD5", "PED_DATA_FINAL"})
        EXPECT_TRUE(p->field(QString::fromLatin1(c)).isNull()) << c;
    EXPECT_EQ(p->field(QStringLiteral("PED_IMPRESSO")).asString(), u"N");
}

TEST_F(Conferencia, AReportPrintedButNotSavedIsReportedWithItsCoo) {
    papel->onPrint = [&] { // another terminal removes the order while the report prints
        t->executeSQL(QStringLiteral("delete from RES_PEDIDO_ITEM where CODPEDIDO = 77"));
        t->executeSQL(QStringLiteral("delete from RES_PEDIDO where CODPEDIDO = 77"));
    };
    try {
        ConferenciaMesa(t.db(), *cfg, 12, ead, *ecf);
        FAIL() << "no error";
    } catch (const ConferenciaNaoGravada& e) {
        EXPECT_EQ(e.coo(), ecf->estado().coo);
        EXPECT_TRUE(e.message().contains(QStringLiteral("foi impressa (COO %1)").arg(ecf->estado().coo)))
            << e.message().toStdString();
    }
}

TEST_F(Conferencia, UnknownOrCancelledTableAndTableWithoutMovementAreRefused) {
    EXPECT_THROW(ConferenciaMesa(t.db(), *cfg, 99, ead, *ecf), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Controle não encontrado! (Controle=99)");
    t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (13, 'CANCELADO')"));
    EXPECT_THROW(textoConferenciaMesa(t.db(), 13, Clock::now()), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Controle não encontrado! (Controle=13)");
    t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (14, 'LIVRE')"));
    EXPECT_THROW(ConferenciaMesa(t.db(), *cfg, 14, ead, *ecf), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Nenhuma movimentação nesse intervalo!");
    EXPECT_TRUE(papel->documents.isEmpty());
}

TEST_F(Conferencia, ServiceDiscountAndPersonsFollowTheOrder) {
    t->executeSQL(QStringLiteral("delete from RES_PEDIDO_ITEM"));
    t->executeSQL(QStringLiteral("update RES_PEDIDO set PED_QTDE_COVERT = 0, PED_QTDE_PESSOA = 1, "
                                 "PED_DATA = '05.12.2026 18:00:00'"));
    item(1, 10, "1", "100", "NORMAL", 3);
    const QString texto = textoConferenciaMesa(t.db(), 12, Clock::now()).join(u'\n');
    EXPECT_TRUE(texto.contains(QStringLiteral("==> TOTAL A PAGAR") + QString(12, u' ') + QStringLiteral("105,00")));
    EXPECT_FALSE(texto.contains(u"TOTAL POR PESSOA"));
    EXPECT_FALSE(texto.contains(u"COUVERT"));
    EXPECT_TRUE(texto.contains(QStringLiteral("DURACAO NA MESA..: 02:15:30"))); // 26 h modulo a day
}

TEST_F(Conferencia, OnlyTheDurationWhenTheParametersSaySo) {
    t->executeSQL(QStringLiteral("update PAR_RESTAURANTE set PARR_SOMENTE_DURACAO = 'S'"));
    const QString texto = textoConferenciaMesa(t.db(), 12, Clock::now()).join(u'\n');
    EXPECT_FALSE(texto.contains(u"DATA INICIAL"));
    EXPECT_TRUE(texto.contains(QStringLiteral("DURACAO NA MESA..: 01:15:30")));
}
