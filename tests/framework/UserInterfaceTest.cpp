#include "framework/ui/UserInterface.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace kvo;

TEST(UserInterfacePort, ErrorShowsThenEndsTheOperation) {
    test::ScriptedUi ui;
    bool ranAfter = false;
    EXPECT_THROW(
        {
            Error(QStringLiteral("Informe o cliente!"));
            ranAfter = true;
        },
        Abort);
    EXPECT_FALSE(ranAfter);
    EXPECT_EQ(ui.lastMessage(), u"Informe o cliente!");
    EXPECT_EQ(ui.messages().last().kind, MessageKind::Error);

    EXPECT_NO_THROW(Alerta(QStringLiteral("Transferência com sucesso!")));
    EXPECT_THROW(Alerta(QStringLiteral("Mesa fechada"), true), Abort);
    EXPECT_EQ(ui.messages().size(), 3);
}

TEST(UserInterfacePort, QuestionsAreAnsweredFromTheScript) {
    test::ScriptedUi ui;
    ui.answerYes();
    ui.answerNo();
    ui.answerInput(QStringLiteral("12"));
    ui.answerInput(std::nullopt);
    EXPECT_TRUE(Confirma(QStringLiteral("Confirma?")));
    EXPECT_FALSE(ConfirmaNao(QStringLiteral("Excluir?")));
    EXPECT_EQ(InputBox(QStringLiteral("Mesa"), QStringLiteral("Número da mesa")), QStringLiteral("12"));
    EXPECT_FALSE(SenhaBox(QStringLiteral("Senha do supervisor")));
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_EQ(ui.questions().size(), 4);
    EXPECT_THROW(Confirma(QStringLiteral("sem resposta")), std::logic_error);
}
