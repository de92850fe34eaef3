// The bill's preview and the "Escolhas" screen driven by keys and clicks.
#include "../extrato/ExtratoFixture.h"
#include "Roteiro.h"

#include "core/Paths.h"
#include "core/Text.h"
#include "restaurant/ui/UExtratoEscolha.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace kvo;
using namespace kvo::test;

namespace {

class TelaExtrato : public ExtratoFixture {
protected:
    void SetUp() override {
        ExtratoFixture::SetUp();
        telas = std::make_unique<TelasExtrato>(); // the program's preview and dialog
        t->executeSQL(QStringLiteral("update PAR_VENDA set PARV_SENHA_DESCONTO = 'desc1'"));
        pedido(77, 12, 10, 0, 0, 1);
        item(1, 77, 10, "2", "45.9", 3);
        item(2, 77, 12, "2", "3.5", 2);
    }
    std::unique_ptr<TelasExtrato> telas;
};

TEST_F(TelaExtrato, WaiterChangesTheChoicesFromThePreviewAndTheBillPrintsThem) {
    QString primeira, segunda;
    Roteiro roteiro({
        {QStringLiteral("frmPrintPreview"),
         [&](QWidget* tela) {
             primeira = filho<QPlainTextEdit>(tela, "memTexto")->toPlainText();
             QTest::mouseClick(filho<QPushButton>(tela, "btnAlterar"), Qt::LeftButton);
         }},
        {QStringLiteral("frmExtratoEscolha"),
         [&](QWidget* tela) {
             // The discount has the focus, its text selected: typing replaces it.
             QTest::keyClicks(tela->focusWidget(), QStringLiteral("12,50"));
             QTest::keyClick(tela->focusWidget(), Qt::Key_Tab); // to the covers
             QTest::keyClick(tela->focusWidget(), Qt::Key_Tab); // to the persons
             QTest::keyClicks(tela->focusWidget(), QStringLiteral("2"));
             ui.answerInput(QStringLiteral("desc1")); // the discount password
             QTest::keyClick(tela->focusWidget(), Qt::Key_F2);
         }},
        {QStringLiteral("frmPrintPreview"),
         [&](QWidget* tela) {
             segunda = filho<QPlainTextEdit>(tela, "memTexto")->toPlainText();
             QTest::mouseClick(filho<QPushButton>(tela, "btnImprimir"), Qt::LeftButton);
         }},
    });
    rel->extrato(12, false);
    ASSERT_EQ(roteiro.feitos(), 3);
    EXPECT_FALSE(primeira.contains(QStringLiteral("(-) DESCONTO")));
    EXPECT_TRUE(segunda.contains(QStringLiteral("(-) DESCONTO")));
    EXPECT_TRUE(ui.allAnswered());

    // The bill reaches the bill folder 10 ms later, as printed.
    const QString pasta = localPath(TdmResPedidoImpressao::pastaExtrato());
    QTRY_COMPARE_WITH_TIMEOUT(QDir(pasta).entryList(QDir::Files).size(), 1, 2000);
    QFile f(QDir(pasta).filePath(QDir(pasta).entryList(QDir::Files).first()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString impresso = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(impresso.contains(PadR(QStringLiteral("(-) DESCONTO"), 25) + QString(10, u' ') +
                                  PadL(QStringLiteral("12,50"), 10)));
    // (91,80 + 7,00 - 12,50) / 2, the service on its stub
    EXPECT_TRUE(impresso.contains(PadR(QStringLiteral("TOTAL POR PESSOA (2)"), 26) + QString(9, u' ') +
                                  PadL(QStringLiteral("43,15"), 10)));
    EXPECT_EQ(dinheiro(QStringLiteral("select PED_DESC_VLR from RES_PEDIDO where CODPEDIDO = 77")),
              Currency::fromString(u"12.5"));
    EXPECT_EQ(texto(QStringLiteral("select PED_QTDE_PESSOA || PED_IMPRESSO from RES_PEDIDO where CODPEDIDO = 77")), u"2S");
}

TEST_F(TelaExtrato, EscolhasWalkedByKeyboardOnly) {
    t->executeSQL(QStringLiteral("update PAR_RESTAURANTE set PARR_VLR_COVERT = 0")); // no cover field
    rel->ajustes() = AjustesExtrato{Currency(), 1, 0, Currency(10), Currency(10), Currency()};
    QString foco;
    bool couvertVisivel = true, refusado = false;
    Roteiro roteiro({
        {QStringLiteral("frmExtratoEscolha"),
         [&](QWidget* tela) {
             foco = tela->focusWidget()->objectName();
             couvertVisivel = filho<QLineEdit>(tela, "edtQtdeCovert")->isVisible();
             QTest::keyClicks(tela->focusWidget(), QStringLiteral("7"));
             QTest::keyClick(tela->focusWidget(), Qt::Key_Return); // Enter moves on: to the persons
             QTest::keyClicks(tela->focusWidget(), QStringLiteral("4"));
             QTest::keyClick(tela->focusWidget(), Qt::Key_Return); // to the service
             QTest::keyClicks(tela->focusWidget(), QStringLiteral("0"));
             QTest::keyClick(tela->focusWidget(), Qt::Key_Return); // to OK
             ui.answerInput(QStringLiteral("errada"));
             QTest::keyClick(tela->focusWidget(), Qt::Key_Return); // presses OK: wrong password, stays open
             if (!tela->isVisible())
                 return;
             QTest::keyClick(tela, Qt::Key_Escape); // gives up
         }},
    });
    rel->chamaEscolha();
    EXPECT_EQ(roteiro.feitos(), 1);
    EXPECT_EQ(foco, u"edtDesconto");
    EXPECT_FALSE(couvertVisivel);
    EXPECT_EQ(ui.lastMessage(), u"Senha Inválida!");
    // Given up: the discount is dropped, the rest stays as typed.
    EXPECT_EQ(rel->ajustes().desconto, Currency());
    EXPECT_EQ(rel->ajustes().pessoas, 4);
    EXPECT_EQ(rel->ajustes().servico, Currency());

    Roteiro outra({
        {QStringLiteral("frmExtratoEscolha"),
         [&](QWidget* tela) {
             const auto tecla = [&](Qt::Key k) { QTest::keyClick(tela->focusWidget(), k); };
             QTest::keyClicks(tela->focusWidget(), QStringLiteral("-3"));
             for (int i = 0; i < 4; ++i) // persons, service, OK, and Enter presses OK
                 tecla(Qt::Key_Return);
             refusado = tela->isVisible(); // refused: negative
             tecla(Qt::Key_Tab); // Cancelar
             tecla(Qt::Key_Tab); // round to the discount, its text selected
             QTest::keyClicks(tela->focusWidget(), QStringLiteral("0"));
             for (int i = 0; i < 4; ++i) // no discount: no password
                 tecla(Qt::Key_Return);
         }},
    });
    rel->chamaEscolha();
    EXPECT_EQ(outra.feitos(), 1);
    EXPECT_TRUE(refusado);
    EXPECT_EQ(ui.lastMessage(), u"O desconto não pode ser negativo.");
    EXPECT_EQ(rel->ajustes().pessoas, 4);
    EXPECT_TRUE(ui.allAnswered());
}

} // namespace
