// The bill's arithmetic and item lines, and the choices: the dialog's OK, the
// service toggle.
#include "ExtratoFixture.h"

#include "core/Text.h"
#include "framework/services/DSeguranca.h"

using namespace kvo;
using namespace kvo::test;

namespace {

LinhaExtrato linha(qint64 produto, const char* total, const char* obs = "") {
    LinhaExtrato l;
    l.codProduto = produto;
    l.descricao = QStringLiteral("PRODUTO");
    l.qtde = Currency(1);
    l.vlrUnit = l.total = Currency::fromString(QString::fromLatin1(total));
    l.obs = QString::fromUtf8(obs);
    return l;
}

// 100,00 consumed, 10 % service, 2 covers of 5,00, 5,00 discount, nothing paid.
DadosExtrato exemplo() {
    DadosExtrato d;
    d.linhas << linha(10, "100");
    d.ajustes.servico = Currency(10);
    d.ajustes.couverts = 2;
    d.ajustes.desconto = Currency(5);
    d.valorCouvert = Currency(5);
    d.mesa = 12;
    return d;
}

TEST(ExtratoContas, ServiceIsInTheTotalOnlyWithoutItsOwnStub) {
    DadosExtrato d = exemplo();
    d.comprovanteTaxa = false; // "REST.COMP.TX" = "N"
    TotaisExtrato t = calcularTotais(d);
    EXPECT_EQ(t.servico, Currency(10));
    EXPECT_EQ(t.couvert, Currency(10));
    EXPECT_EQ(t.total, Currency(115));

    d.comprovanteTaxa = true;
    t = calcularTotais(d);
    EXPECT_EQ(t.total, Currency(105));
    const QStringList l = montarExtratoGenerico(d);
    EXPECT_TRUE(l.contains(QStringLiteral("VALOR DO SERVICO...: ") + PadL(QStringLiteral("10,00"), 19)));
    EXPECT_FALSE(l.join(u'\n').contains(QStringLiteral("(+) SERVICO")));
}

TEST(ExtratoContas, FeeProductIsOutOfTheServiceBaseAndServiceRoundsUp) {
    DadosExtrato d = exemplo();
    d.linhas << linha(90, "10");
    d.produtoEntrega = QStringLiteral("90");
    EXPECT_EQ(calcularTotais(d).servico, Currency(10)); // 10 % of 100, not of 110
    d.linhas = {linha(10, "100.01")};
    EXPECT_EQ(calcularTotais(d).servico, Currency::fromString(u"10.01")); // 10,001 up to the next cent
    d.ajustes.pessoas = 3;
    d.comprovanteTaxa = false;
    EXPECT_EQ(calcularTotais(d).porPessoa, Currency::fromString(u"38.34")); // (100,01 + 10,01 - 5 + 10) / 3
}

TEST(ExtratoContas, DeliveryAddsItsFeeAndCountsNoService) {
    DadosExtrato d = exemplo();
    d.entrega = true;
    d.ajustes.servico = Currency(7); // the delivery fee
    d.ajustes.couverts = 0;
    d.comprovanteTaxa = true;
    EXPECT_EQ(calcularTotais(d).total, Currency(102));
}

TEST(ExtratoContas, QuantityShowsDecimalsOnlyWhenItHasThem) {
    EXPECT_EQ(getQtdeVlrTotal(Currency(2), Currency::fromString(u"3.5"), Currency(7)),
              QStringLiteral("   2 x 3,50     7,00"));
    EXPECT_EQ(getQtdeVlrTotal(Currency::fromString(u"0.5"), Currency::fromString(u"3.5"), Currency::fromString(u"1.75")),
              QStringLiteral("0,500 x 3,50    1,75"));
    // Too long for both: the price goes, quantity and total stay whole.
    EXPECT_EQ(getQtdeVlrTotal(Currency(1234), Currency::fromString(u"12.5"), Currency(15425)),
              QStringLiteral("     1.234 15.425,00"));
}

TEST(ExtratoContas, NotesPrintWholeInLinesOf48) {
    DadosExtrato d = exemplo();
    const QString sessenta = QString(48, u'a') + QString(12, u'b');
    const QString dez = QStringLiteral("sem cebola");
    const QString cem = QString(48, u'c') + QString(48, u'd') + QStringLiteral("ção!");
    d.linhas = {linha(1, "1", sessenta.toUtf8().constData()), linha(2, "1", dez.toUtf8().constData()),
                linha(3, "1", cem.toUtf8().constData())};
    const QStringList l = montarExtratoGenerico(d);
    qsizetype i = l.indexOf(QStringLiteral("Obs......: ") + QString(48, u'a'));
    ASSERT_GE(i, 0);
    EXPECT_EQ(l.value(i + 1), QString(12, u'b'));
    i = l.indexOf(QStringLiteral("Obs......: sem cebola"));
    ASSERT_GE(i, 0);
    EXPECT_EQ(l.value(i + 1), QString());
    // Mended: the characters after the 96th were lost.
    i = l.indexOf(QStringLiteral("Obs......: ") + QString(48, u'c'));
    ASSERT_GE(i, 0);
    EXPECT_EQ(l.value(i + 1), QString(48, u'd'));
    EXPECT_EQ(l.value(i + 2), QStringLiteral("cao!"));
}

class Escolha : public ExtratoFixture {};

TEST_F(Escolha, DiscountAsksTheDiscountPassword) {
    t->executeSQL(QStringLiteral("update PAR_VENDA set PARV_SENHA_DESCONTO = 'desc1'"));
    TrelExtrato::validarEscolha(Currency()); // no discount: no password
    EXPECT_TRUE(ui.messages().isEmpty());

    ui.answerInput(QStringLiteral("   "));
    EXPECT_THROW(TrelExtrato::validarEscolha(Currency(5)), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Informe uma senha!");
    ui.answerInput(QStringLiteral("desc2"));
    EXPECT_THROW(TrelExtrato::validarEscolha(Currency(5)), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Senha Inválida!");
    ui.answerInput(QStringLiteral(" desc1 "));
    TrelExtrato::validarEscolha(Currency(5));
    EXPECT_EQ(TrelExtrato::senha(), u"desc1");
    EXPECT_TRUE(ui.allAnswered());
}

// Mended: a negative discount raised the bill.
TEST_F(Escolha, NegativeDiscountIsRefused) {
    EXPECT_THROW(TrelExtrato::validarEscolha(Currency(-5)), Abort);
    EXPECT_EQ(ui.lastMessage(), u"O desconto não pode ser negativo.");
    EXPECT_TRUE(ui.allAnswered()); // refused before any password
}

TEST_F(Escolha, WithoutTheDialogTheServiceIsToggled) {
    rel->setMostrarEscolha(false);
    rel->ajustes().servico = Currency(10);
    rel->setServicoPadrao(Currency(12));
    rel->chamaEscolha();
    EXPECT_EQ(rel->ajustes().servico, Currency(12));
    EXPECT_EQ(ui.lastMessage(), u"Taxa de serviço INCLUÍDA com sucesso!");

    TdmSeguranca::gerarInstance().criarUsuario(QStringLiteral("chefe"), QStringLiteral("c1"), {}, true);
    rel->setRemoverServico(true);
    ui.answerInput(QStringLiteral("chefe"));
    ui.answerInput(QStringLiteral("c1"));
    rel->chamaEscolha();
    EXPECT_EQ(rel->ajustes().servico, Currency());
    EXPECT_EQ(ui.lastMessage(), u"Taxa de serviço REMOVIDA com sucesso!");

    ui.answerInput(std::nullopt); // no supervisor
    rel->chamaEscolha();
    EXPECT_EQ(rel->ajustes().servico, Currency(12));
    EXPECT_TRUE(escolha.recebidos.isEmpty());
}

} // namespace
