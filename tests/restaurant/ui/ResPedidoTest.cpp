// The order screen driven by clicks and keys: item transfers, the waiter
// change, cancellations, the printed-bill guard, the item screen's refusals
// and a save that another terminal's transfer overtook.
#include "PedidoTelaFixture.h"

#include "framework/ui/Pesquisa.h"

#include <QTableView>

using namespace kvo;
using namespace kvo::test;

namespace {

class Pedido : public PedidoTela {
protected:
    // Opens the order screen of a table in a mode and runs the steps on it.
    void abrir(const QString& modo, int mesa, QList<Roteiro::Passo> passos) {
        const qsizetype n = passos.size();
        Roteiro roteiro(std::move(passos));
        TfrmResPedido tela(pedido());
        tela.ChamaFormulario(modo, mesa, 0);
        EXPECT_EQ(roteiro.feitos(), n);
    }
    static void linha(QWidget* tela, int row) {
        auto* grade = filho<QTableView>(tela, "dbgItens");
        QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, grade->visualRect(grade->model()->index(row, 2)).center());
    }
    static void clicar(QWidget* tela, const char* botao) { QTest::mouseClick(filho<QPushButton>(tela, botao), Qt::LeftButton); }
    static QString celula(QWidget* tela, int row, int col) {
        return filho<QTableView>(tela, "dbgItens")->model()->index(row, col).data().toString();
    }
    // Transfers the item of `row` answering the prompts, then leaves the screen.
    void transferir(int mesa, int row, const QStringList& respostas) {
        for (const QString& r : respostas)
            ui.answerInput(r);
        abrir(QStringLiteral("TransItem"), mesa, {{QStringLiteral("frmResPedido"), [&](QWidget* tela) {
                                                       linha(tela, row);
                                                       clicar(tela, "btnTransferir");
                                                       tecla(tela, Qt::Key_Escape);
                                                   }}});
        EXPECT_TRUE(ui.allAnswered());
    }
    QString qtdes(int mesa) {
        return texto(QStringLiteral("select list(i.PEDI_QTDE, ';') from (select i.PEDI_QTDE from RES_PEDIDO_ITEM i join "
                                    "RES_PEDIDO p on p.CODPEDIDO = i.CODPEDIDO where p.PED_STATUS = 'ABERTO' and "
                                    "p.CODCONTROLE = %1 order by i.CODPEDIDOITEM) i")
                         .arg(mesa));
    }
};

TEST_F(Pedido, TheOnlyItemOfOneUnitMustGoByTableTransfer) {
    lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    transferir(1, 0, {});
    EXPECT_EQ(ui.lastMessage(), u"Existe somente 1 item, por favor faça a transferência de mesa!");
}

TEST_F(Pedido, TransferringTwoOfFiveLeavesThreeAndLogsTheReason) {
    cfg().setValor(QStringLiteral("REST.MOT.TRA"), QStringLiteral("S"));
    lancar(1, {{QStringLiteral("2001"), Currency(5)}, {QStringLiteral("1001"), Currency(1)}});
    QString mostrada;
    ui.answerInput(QStringLiteral("mudou de mesa"));
    ui.answerInput(QStringLiteral("2"));
    ui.answerInput(QStringLiteral("2"));
    abrir(QStringLiteral("TransItem"), 1, {{QStringLiteral("frmResPedido"), [&](QWidget* tela) {
                                              EXPECT_EQ(foco(tela), u"btnTransferir");
                                              linha(tela, 0);
                                              clicar(tela, "btnTransferir");
                                              mostrada = celula(tela, 0, 3);
                                              tecla(tela, Qt::Key_Escape);
                                          }}});
    EXPECT_EQ(ui.lastMessage(), u"Transferência com sucesso!");
    EXPECT_EQ(qtdes(1), u"3.0000;1.0000");
    EXPECT_EQ(qtdes(2), u"2.0000");
    EXPECT_EQ(mostrada, u"3,000"); // the grid shows the order as reloaded
    EXPECT_EQ(texto(QStringLiteral("select RTR_MOTIVO from RES_TRANSFERENCIA")), u"mudou de mesa");
    EXPECT_TRUE(ui.questions().contains(QStringLiteral("Informe o Nr.:")));
}

TEST_F(Pedido, OneItemOfThreeMayMoveOneOrTwoUnitsButNotThree) {
    struct Caso {
        const char* qtde;
        const char* mensagem;
        const char* resta;
    };
    const Caso casos[] = {
        {"1", "Transferência com sucesso!", "2.0000"},
        {"2", "Transferência com sucesso!", "1.0000"},
        {"3",
         "Existe somente 1 item e quantidade retirada vai retirar esse item do pedido, por favor faça a transferência de "
         "mesa!",
         "3.0000"},
        {"4", "Quantidade invalida!", "3.0000"},
        {"0", "Quantidade invalida!", "3.0000"},
        {"um", "Quantidade invalida!", "3.0000"},
    };
    lancar(1, {{QStringLiteral("2001"), Currency(3)}});
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.qtde);
        t->executeSQL(QStringLiteral("update RES_PEDIDO_ITEM set PEDI_QTDE = 3 where CODPEDIDOITEM = (select min(CODPEDIDOITEM) "
                                     "from RES_PEDIDO_ITEM)"));
        transferir(1, 0, {QStringLiteral("3"), QString::fromUtf8(c.qtde)});
        EXPECT_EQ(ui.lastMessage(), QString::fromUtf8(c.mensagem));
        EXPECT_EQ(qtdes(1), QString::fromUtf8(c.resta));
    }
}

TEST_F(Pedido, TheItemTransferPasswordAndTheDestinationAreChecked) {
    cfg().setValor(QStringLiteral("RST.SNH.TRAIT"), QStringLiteral("321"));
    lancar(1, {{QStringLiteral("2001"), Currency(3)}});
    const std::pair<QStringList, const char*> casos[] = {
        {{QString()}, "Por favor digite uma senha!"},
        {{QStringLiteral("123")}, "Senha inválida!"},
        {{QStringLiteral("321"), QStringLiteral("9")}, "Mesa não está correta, tente novamente"},
        {{QStringLiteral("321"), QStringLiteral("1")}, "Mesa destino não pode ser a mesa origem, tente novamente"},
    };
    for (const auto& [respostas, mensagem] : casos) {
        SCOPED_TRACE(mensagem);
        transferir(1, 0, respostas);
        EXPECT_EQ(ui.lastMessage(), QString::fromUtf8(mensagem));
        EXPECT_EQ(qtdes(1), u"3.0000");
    }
}

TEST_F(Pedido, TheWaiterChangesOnTheSelectedItemOrOnEveryLiveItem) {
    for (const char* todos : {"N", "S"}) {
        SCOPED_TRACE(todos);
        cfg().setValor(QStringLiteral("REST.ALT.TGA"), QString::fromLatin1(todos));
        t->executeSQL(QStringLiteral("delete from RES_PEDIDO_ITEM"));
        const int codpedido = lancar(1, {{QStringLiteral("2001"), Currency(1)},
                                         {QStringLiteral("1001"), Currency(1)},
                                         {QStringLiteral("3001"), Currency(1)}});
        ui.answerInput(QStringLiteral("del1"));
        ui.answerInput(QStringLiteral("2"));
        if (QLatin1String(todos) == QLatin1String("S"))
            ui.answerYes();
        QString titulo;
        abrir(QStringLiteral("TransItem"), 1, {{QStringLiteral("frmResPedido"), [&](QWidget* tela) {
                                                  titulo = filho<QPushButton>(tela, "btnAlterarGarcon")->text();
                                                  linha(tela, 1);
                                                  clicar(tela, "btnAlterarGarcon");
                                                  tecla(tela, Qt::Key_F2);
                                              }}});
        EXPECT_TRUE(ui.allAnswered());
        EXPECT_EQ(ui.lastMessage(), u"Alterado com sucesso!");
        const QString esperado = QLatin1String(todos) == QLatin1String("S") ? QStringLiteral("2;2;2") : QStringLiteral("0;2;0");
        EXPECT_EQ(texto(QStringLiteral("select list(g, ';') from (select coalesce(CODGARCON, 0) g from RES_PEDIDO_ITEM "
                                       "where CODPEDIDO = %1 order by CODPEDIDOITEM)")
                            .arg(codpedido)),
                  esperado);
        EXPECT_EQ(titulo, QLatin1String(todos) == QLatin1String("S") ? QStringLiteral("A&lt. Garç. todos os itens")
                                                                      : QStringLiteral("A&lterar Garçon"));
    }
}

TEST_F(Pedido, TheWaiterChangeRefusals) {
    lancar(1, {{QStringLiteral("2001"), Currency(1)}});
    const std::pair<QStringList, const char*> casos[] = {
        {{QString()}, "Por favor digite uma senha!"},
        {{QStringLiteral("x")}, "Senha inválida!"},
        {{QStringLiteral("del1"), QStringLiteral("dois")}, "Código Inválido!"},
        {{QStringLiteral("del1"), QStringLiteral("8")}, "Não existe Garçon com este código!"},
    };
    for (const auto& [respostas, mensagem] : casos) {
        SCOPED_TRACE(mensagem);
        for (const QString& r : respostas)
            ui.answerInput(r);
        abrir(QStringLiteral("TransItem"), 1, {{QStringLiteral("frmResPedido"), [&](QWidget* tela) {
                                                  clicar(tela, "btnAlterarGarcon");
                                                  tecla(tela, Qt::Key_Escape);
                                              }}});
        EXPECT_EQ(ui.lastMessage(), QString::fromUtf8(mensagem));
    }
    EXPECT_TRUE(ui.allAnswered());
}

TEST_F(Pedido, CancellingAnItemAndThePartialClosingAnswer) {
    const int codpedido = lancar(1, {{QStringLiteral("2001"), Currency(2)}, {QStringLiteral("1001"), Currency(1)}});
    cfg().setValor(QStringLiteral("REST.MOT.CAN"), QStringLiteral("S"));
    ui.answerYes();
    ui.answerInput(QStringLiteral("desistiu"));
    QStringList mensagens;
    abrir(QStringLiteral("FechaParcial"), 1, {{QStringLiteral("frmResPedido"), [&](QWidget* tela) {
                                                  EXPECT_EQ(foco(tela), u"btnFechamentoParcial");
                                                  tecla(tela, Qt::Key_Return); // the focused button
                                                  mensagens << ui.lastMessage();
                                                  linha(tela, 1);
                                                  clicar(tela, "btnCancelarItem");
                                                  clicar(tela, "btnCancelarItem"); // again: already cancelled
                                                  mensagens << ui.lastMessage();
                                                  tecla(tela, Qt::Key_F2);
                                              }}});
    EXPECT_EQ(mensagens, (QStringList{QStringLiteral("Opção não disponivel!!"), QStringLiteral("Item já CANCELADO!")}));
    EXPECT_EQ(texto(QStringLiteral("select PEDI_STATUS || '/' || PEDI_CAN_MOTIVO from RES_PEDIDO_ITEM where CODPEDIDO = %1 "
                                   "and CODPRODUTO = 1")
                        .arg(codpedido)),
              u"CANCELADO/desistiu");
    EXPECT_EQ(dinheiro(QStringLiteral("select PED_TOTAL from RES_PEDIDO where CODPEDIDO = %1").arg(codpedido)), Currency(13));
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(11));
    ASSERT_EQ(tickets().size(), 1); // the kitchen learns of the cancellation
    EXPECT_TRUE(tickets().first().contains(QStringLiteral("CANCELAD")));
}

TEST_F(Pedido, APrintedBillNeedsASupervisorToPostAgain) {
    const int codpedido = lancar(1, {{QStringLiteral("2001"), Currency(1)}});
    t->executeSQL(QStringLiteral("update RES_PEDIDO set PED_IMPRESSO = 'S' where CODPEDIDO = %1").arg(codpedido));
    cfg().setValor(QStringLiteral("REST.SEN.REA"), QStringLiteral("S"));
    ui.answerInput(std::nullopt); // the supervisor is not there
    Roteiro roteiro({});
    TfrmResPedido tela(pedido());
    tela.ChamaFormulario(QString(), 1, 0); // the item screen would open by itself
    EXPECT_TRUE(ui.allAnswered());
    ASSERT_GE(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[ui.messages().size() - 2].text, u"Aviso: Extrato já impresso!");
    EXPECT_EQ(ui.lastMessage(), u"Não é possível realizar o Lançamento.");
    EXPECT_FALSE(tela.isVisible());
}

TEST_F(Pedido, TheItemScreenRefusesOptionsProductsAndAMissingWaiter) {
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, "
                                 "PRO_PERSONALIZADO) values (7, '7001', 'PIZZA MEIA A MEIA', 50, 'S')"));
    t->executeSQL(QStringLiteral("update PAR_RESTAURANTE set PARR_SELECIONAR_GARCON = 'S'"));
    // F3 finds the product as a user would pick it in the search.
    const auto antes = TwbtPesquisa::dialogo;
    TwbtPesquisa::dialogo = [](TwbtPesquisa&, const QString&) { return QVariant(QStringLiteral("2001")); };
    QStringList mensagens;
    QString balanca, produto;
    abrir(QString(), 1,
          {{QStringLiteral("frmResPedidoItem"),
            [&](QWidget* tela) {
                balanca = filho<QPushButton>(tela, "btnLerBalanca")->isEnabled() ? QStringLiteral("ligada") : QString();
                digitar(tela, QStringLiteral("7001"));
                mensagens << ui.lastMessage() << foco(tela);
                tecla(tela, Qt::Key_F3);
                produto = filho<QLineEdit>(tela, "edtPRO_DESCRICAO")->text();
                tecla(tela, Qt::Key_F2); // no waiter yet
                QTest::qWait(200);
                mensagens << ui.lastMessage();
                filho<QLineEdit>(tela, "edtCODGARCON")->setFocus();
                QTest::keyClicks(tela->focusWidget(), QStringLiteral("2"));
                tecla(tela, Qt::Key_F2);
            }},
           {QStringLiteral("frmResPedido"), [&](QWidget* tela) { tecla(tela, Qt::Key_F2); }}});
    TwbtPesquisa::dialogo = antes;
    EXPECT_TRUE(mensagens.value(0).startsWith(QStringLiteral("O produto \"PIZZA MEIA A MEIA\" é vendido com opções")));
    EXPECT_EQ(mensagens.value(1), u"edtCODPESQUISA");
    EXPECT_EQ(mensagens.value(2), u"Selecione o garçon");
    EXPECT_TRUE(balanca.isEmpty());
    EXPECT_EQ(produto, u"REFRIGERANTE");
    EXPECT_EQ(itens(1, "and i.CODPRODUTO = 2 and i.CODGARCON = 2"), 1);
    EXPECT_EQ(itens(1, "and i.CODPRODUTO = 7"), 0);
}

TEST_F(Pedido, ASaveOvertakenByAnotherTerminalsTableTransferWritesNothing) {
    lancar(1, {{QStringLiteral("2001"), Currency(1)}});
    lancar(3, {{QStringLiteral("3001"), Currency(1)}});
    auto outro = t.connectAgain(); // another terminal
    abrir(QStringLiteral("TransItem"), 1,
          {{QStringLiteral("frmResPedido"),
            [&](QWidget* tela) {
                tecla(tela, Qt::Key_Insert);
            }},
           {QStringLiteral("frmResPedidoItem"),
            [&](QWidget* tela) {
                digitar(tela, QStringLiteral("1001"));
                tecla(tela, Qt::Key_F2);
            }},
           {QStringLiteral("frmResPedido"), [&](QWidget* tela) {
                // Meanwhile table 1 is poured into table 3 on the other terminal.
                outro->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS(1, 3, '05.12.2026 21:00','ana')"));
                tecla(tela, Qt::Key_F2);
                QTest::qWait(300);
                EXPECT_TRUE(tela->isVisible()); // the user still sees what was not saved
                tecla(tela, Qt::Key_Escape);
            }}});
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("A mesa 1 foi transferida ou encerrada em outro terminal")));
    EXPECT_EQ(itens(3), 2); // the two earlier items, nothing half written
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM where CODPRODUTO = 1")).toInt(), 0);
    EXPECT_TRUE(tickets().isEmpty());
}

} // namespace
