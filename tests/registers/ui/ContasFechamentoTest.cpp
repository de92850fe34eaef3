#include "registers/ui/UContasFechamento.h"
#include "TelaTeste.h"

#include <QLabel>
#include <QTableView>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kvo;
using ContasFechamento = test::TelaCadastroTeste;

TEST_F(ContasFechamento, InstalmentsOfTheAmountAreShownAdjustedAndWritten) {
    t->executeSQL(QStringLiteral("insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO, FPG_PARCELAS, FPG_DIAS_PRIMEIRA, "
                                 "FPG_INTERVALO) values (3, '30/60/90', 3, 30, 30)"));
    const DocumentoContas doc{QStringLiteral("NFVENDA"), 9, QStringLiteral("000009"), 0, 3, QDate(2026, 12, 6), {}, u'R', 0};
    TfrmContasFechamento tela(doc, Currency(100));
    RecordSet& p = tela.parcelas();
    ASSERT_EQ(p.recordCount(), 3);
    auto* diferenca = tela.findChild<QLabel*>(QStringLiteral("lblDiferenca"));
    EXPECT_EQ(diferenca->text(), u"Parcelas conferem com o total.");

    auto* model = tela.findChild<QTableView*>(QStringLiteral("dbgParcelas"))->model();
    EXPECT_TRUE(model->setData(model->index(0, 2), QStringLiteral("40,00"), Qt::EditRole));
    EXPECT_EQ(diferenca->text(), u"Diferença: R$ -6,67");
    EXPECT_FALSE(tela.btnGerarClick()); // does not add up: nothing written
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("A soma das parcelas (106,67)"))) << ui.lastMessage().toStdString();
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CONTAS")).toInt(), 0);

    EXPECT_TRUE(model->setData(model->index(1, 2), QStringLiteral("26,66"), Qt::EditRole));
    EXPECT_TRUE(model->setData(model->index(1, 1), QStringLiteral("15/01/2027"), Qt::EditRole));
    ui.clear();
    EXPECT_FALSE(model->setData(model->index(2, 2), QStringLiteral("0"), Qt::EditRole));
    EXPECT_FALSE(ui.lastMessage().isEmpty()); // the refusal reaches the user
    ASSERT_TRUE(tela.btnGerarClick());
    EXPECT_TRUE(tela.gerou());
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CONTAS where CODNFVENDA = 9")).toInt(), 3);
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select sum(CON_VLRPARCELA) from CONTAS")), Currency(100));
    EXPECT_EQ(t->scalar(QStringLiteral("select CON_DTVENC from CONTAS where CON_PARCELA = 2")).toDate(), QDate(2027, 1, 15));
}

// Choosing only (billing writes them later in its own transaction): F2
// confirms the instalments shown, Esc gives up; nothing is written.
TEST_F(ContasFechamento, ChoosingHandsTheInstalmentsBackAndWritesNothing) {
    t->executeSQL(QStringLiteral("insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO, FPG_PARCELAS, FPG_DIAS_PRIMEIRA, "
                                 "FPG_INTERVALO) values (2, '30/60', 2, 30, 30)"));
    const DocumentoContas doc{QStringLiteral("NFVENDA"), 9, QStringLiteral("9"), 0, 2, QDate(2026, 12, 6), QStringLiteral("1"), u'R', 0};
    const auto tecla = [](Qt::Key k) {
        QTimer::singleShot(50, [k] {
            QWidget* tela = QApplication::activeModalWidget();
            ASSERT_NE(tela, nullptr);
            QTest::keyClick(tela->focusWidget() ? tela->focusWidget() : tela, k);
        });
    };
    tecla(Qt::Key_F2);
    const auto escolhidas = TfrmContasFechamento::escolher(doc, Currency(100));
    ASSERT_TRUE(escolhidas.has_value());
    ASSERT_EQ(escolhidas->size(), 2);
    EXPECT_EQ((*escolhidas)[0].valor + (*escolhidas)[1].valor, Currency(100));
    EXPECT_EQ((*escolhidas)[1].vencimento, QDate(2027, 2, 4));
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CONTAS")).toInt(), 0);

    tecla(Qt::Key_Escape);
    EXPECT_FALSE(TfrmContasFechamento::escolher(doc, Currency(100)).has_value());
}
