#include "framework/services/DSeguranca.h"
#include "registers/ui/UContasFechamentoRapido_Desc.h"
#include "TelaTeste.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace kvo;
using FechamentoRapido = test::TelaCadastroTeste;

TEST_F(FechamentoRapido, DiscountByAmountOrPercentWithinTheMargin) {
    t->executeSQL(QStringLiteral("update PAR_VENDA set PARV_DESCONTO_1 = 10"));
    TdmSeguranca::gerarInstance().criarUsuario(QStringLiteral("chefe"), QStringLiteral("c1"), {}, true);

    TfrmContasFechamentoRapido_Desc tela(Currency(200));
    auto* percentual = tela.findChild<QLineEdit*>(QStringLiteral("edtPercentual"));
    percentual->setText(QStringLiteral("5"));
    Q_EMIT percentual->textEdited(percentual->text());
    EXPECT_EQ(tela.desconto(), Currency(10));
    EXPECT_EQ(tela.findChild<QLabel*>(QStringLiteral("lblAPagar"))->text(), u"R$ 190,00");
    EXPECT_TRUE(tela.btnOkClick()); // within the margin: no password

    TfrmContasFechamentoRapido_Desc acima(Currency(200));
    auto* valor = acima.findChild<QLineEdit*>(QStringLiteral("edtDesconto"));
    valor->setText(QStringLiteral("30,00"));
    Q_EMIT valor->textEdited(valor->text());
    ui.answerInput(std::nullopt); // the supervisor is not there
    EXPECT_THROW(acima.btnOkClick(), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Desconto acima de 10,00% precisa da autorização de um supervisor.");
    ui.answerInput(QStringLiteral("chefe"));
    ui.answerInput(QStringLiteral("c1"));
    EXPECT_TRUE(acima.btnOkClick());
    EXPECT_EQ(acima.desconto(), Currency(30));

    valor->setText(QStringLiteral("200"));
    Q_EMIT valor->textEdited(valor->text());
    EXPECT_THROW(acima.btnOkClick(), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Desconto maior ou igual ao total!");
    EXPECT_EQ(TfrmContasFechamentoRapido_Desc::chamaFechamento(Currency(50), false), Currency());
}
