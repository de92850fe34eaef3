// The table transfer screen by keys and keypad, its checks in order, its
// password, and a transfer that meets another terminal's save.
#include "PedidoTelaFixture.h"

#include <atomic>
#include <thread>

using namespace kvo;
using namespace kvo::test;

namespace {

class Transferencia : public PedidoTela {
protected:
    void transferir(const std::function<void(QWidget*)>& passos) {
        Roteiro roteiro({{QStringLiteral("frmResTransferencia"), passos}});
        telasRestaurante().transferenciaMesa();
        EXPECT_EQ(roteiro.feitos(), 1);
    }
    // Types origin and destination as a user would, then confirms.
    void digitarMesas(const QString& origem, const QString& destino) {
        transferir([&](QWidget* tela) {
            digitar(tela, origem);
            QTest::keyClicks(tela->focusWidget(), destino);
            tecla(tela, Qt::Key_F2);
            tecla(tela, Qt::Key_Escape);
        });
    }
    int mesaDoPedido(int codpedido) {
        return t->scalar(QStringLiteral("select CODCONTROLE from RES_PEDIDO where CODPEDIDO = %1").arg(codpedido)).toInt();
    }
};

TEST_F(Transferencia, WalkedByKeyboardAndKeypadWithoutAPasswordWhenNoneIsSet) {
    const int codpedido = lancar(1, {{QStringLiteral("2001"), Currency(2)}});
    QString focoInicial;
    transferir([&](QWidget* tela) {
        focoInicial = foco(tela);
        QTest::keyClick(tela->focusWidget(), Qt::Key_1);
        QTest::keyClick(tela->focusWidget(), Qt::Key_Return); // to the destination
        QTest::mouseClick(filho<QPushButton>(tela, "btnTecla3"), Qt::LeftButton);
        tecla(tela, Qt::Key_F2);
    });
    EXPECT_EQ(focoInicial, u"edtMesaOrigem");
    EXPECT_TRUE(ui.questions().isEmpty()); // RST.SNH.TRAME is empty: no password asked
    EXPECT_EQ(ui.lastMessage(), u"Transferência com sucesso!");
    EXPECT_EQ(mesaDoPedido(codpedido), 3);
    EXPECT_EQ(texto(QStringLiteral("select CON_STATUS from RES_CONTROLE where CODCONTROLE = 1")), u"LIVRE");
    EXPECT_EQ(mapasAtualizados, 1);
}

TEST_F(Transferencia, TheChecksComeInOrderAndRefuseBeforeAnythingMoves) {
    const int codpedido = lancar(1, {{QStringLiteral("2001"), Currency(2)}});
    const std::tuple<const char*, const char*, const char*> casos[] = {
        {"", "2", "Informe a mesa"},
        {"2", "", "A Mesa(2) não tem movimentação, tente outra!"},
        {"1", "", "Informe a mesa"},
        {"1", "9", "A Mesa(9) não está correta, tente outra!"},
        {"1", "55", "A Mesa(55) não está correta, tente outra!"},
        {"1", "1", "Mesa destino não pode ser a mesa origem, tente novamente"},
    };
    for (const auto& [origem, destino, mensagem] : casos) {
        SCOPED_TRACE(mensagem);
        digitarMesas(QString::fromLatin1(origem), QString::fromLatin1(destino));
        EXPECT_EQ(ui.lastMessage(), QString::fromUtf8(mensagem));
        EXPECT_EQ(mesaDoPedido(codpedido), 1);
    }
}

TEST_F(Transferencia, TheTablePasswordIsAskedWhenSet) {
    const int codpedido = lancar(1, {{QStringLiteral("2001"), Currency(2)}});
    cfg().setValor(QStringLiteral("RST.SNH.TRAME"), QStringLiteral("55"));
    for (const auto& [senha, mensagem, mesa] : {std::tuple{"", "Por favor digite uma senha!", 1},
                                               std::tuple{"56", "Senha inválida!", 1},
                                               std::tuple{"55", "Transferência com sucesso!", 2}}) {
        SCOPED_TRACE(mensagem);
        ui.answerInput(QString::fromLatin1(senha));
        digitarMesas(QStringLiteral("1"), QStringLiteral("2"));
        EXPECT_TRUE(ui.allAnswered());
        EXPECT_EQ(ui.lastMessage(), QString::fromUtf8(mensagem));
        EXPECT_EQ(mesaDoPedido(codpedido), mesa);
    }
}

// Another terminal is saving a posting on table 1 (its transaction holds the
// order row) when this one moves table 1 onto table 3: the transfer waits
// for that save and then moves everything, the new item included.
TEST_F(Transferencia, ATransferWaitsForAnotherTerminalsSaveAndLosesNothing) {
    const int origem = lancar(1, {{QStringLiteral("2001"), Currency(2)}});
    const int destino = lancar(3, {{QStringLiteral("3001"), Currency(1)}});
    std::atomic<bool> gravando{false};
    std::thread outroTerminal([&] {
        auto db = t.connectAgain();
        Transaction tx(*db);
        db->executeSQL(QStringLiteral("insert into RES_PEDIDO_ITEM (CODPEDIDOITEM, CODPEDIDO, CODPRODUTO, PEDI_QTDE, "
                                      "PEDI_VLRUNIT, PEDI_TOTAL, PEDI_STATUS) values (500, %1, 1, 1, 24.9, 24.9, 'NORMAL')")
                           .arg(origem));
        gravando = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        tx.commit();
    });
    while (!gravando)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    digitarMesas(QStringLiteral("1"), QStringLiteral("3"));
    outroTerminal.join();
    EXPECT_EQ(ui.lastMessage(), u"Transferência com sucesso!");
    EXPECT_EQ(texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(origem)), u"TRANSF");
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM where CODPEDIDO = %1").arg(destino)).toInt(), 3);
    EXPECT_EQ(t->scalar(QStringLiteral("select CODPEDIDO from RES_PEDIDO_ITEM where CODPEDIDOITEM = 500")).toInt(), destino);
}

} // namespace
