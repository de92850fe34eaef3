// The order choice screen driven by keys: the table and waiter checks, the
// posting walk down to the printed tickets, and the modes.
#include "PedidoTelaFixture.h"

#include "framework/ui/ScreenRegistry.h"
#include "restaurant/ui/UExtratoEscolha.h"
#include "restaurant/ui/UResPedido_Escolha.h"

#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTimer>

using namespace kvo;
using namespace kvo::test;

namespace {

class Escolha : public PedidoTela {
protected:
    int escolher(const QString& modo, int mesa, QList<Roteiro::Passo> passos, qsizetype esperados = -1) {
        Roteiro roteiro(std::move(passos));
        const int r = telasRestaurante().escolhaPedido(modo, mesa);
        if (esperados >= 0) {
            EXPECT_EQ(roteiro.feitos(), esperados);
        }
        return r;
    }
};

TEST_F(Escolha, PostingWalkedByKeyboardFromTheWaiterToThePrintedTickets) {
    cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
    int linhasNaGrade = -1;
    QString focoInicial;
    escolher(QString(), 0,
             {{QStringLiteral("frmResPedido_Escolha"),
               [&](QWidget* tela) {
                   focoInicial = foco(tela);
                   digitar(tela, QStringLiteral("1"));  // waiter
                   digitar(tela, QStringLiteral("11")); // his password
                   digitar(tela, QStringLiteral("1"));  // the table
                   tecla(tela, Qt::Key_F2);
               }},
              {QStringLiteral("frmResPedidoItem"), // opens by itself on the posting screen
               [&](QWidget* tela) {
                   digitar(tela, QStringLiteral("1001"));
                   QTest::keyClicks(tela->focusWidget(), QStringLiteral("2")); // the quantity, still being typed
                   tecla(tela, Qt::Key_F2);
               }},
              {QStringLiteral("frmResPedido"),
               [&](QWidget* tela) {
                   linhasNaGrade = filho<QTableView>(tela, "dbgItens")->model()->rowCount();
                   tecla(tela, Qt::Key_F2);
               }}},
             3);
    EXPECT_EQ(focoInicial, u"edtCodGarcon");
    EXPECT_EQ(linhasNaGrade, 1);
    EXPECT_EQ(itens(1, "and i.PEDI_QTDE = 2 and i.CODGARCON = 1 and i.CODPRODUTO = 1"), 1);
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(8));
    const QStringList impressos = tickets();
    ASSERT_EQ(impressos.size(), 1); // kitchen only
    EXPECT_TRUE(impressos.first().contains(QStringLiteral("X-BURGUER")));
    EXPECT_TRUE(impressos.first().contains(QStringLiteral("JOAO")));
    EXPECT_EQ(texto(QStringLiteral("select CON_STATUS from RES_CONTROLE where CODCONTROLE = 1")), u"EM USO");
    EXPECT_EQ(mapasAtualizados, 1);
}

// [F8] on the choice screen: the bill's choices of the typed table, typed in
// the real dialog and confirmed by its key, are saved on the order.
TEST_F(Escolha, F8SavesTheBillChoicesTypedForTheTable) {
    const int pedido = lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    TelasExtrato telas; // the program's choices dialog
    auto preencher = [](QWidget* tela, const char* campo, const QString& valor) {
        auto* e = filho<QLineEdit>(tela, campo);
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, valor);
    };
    QPointer<QWidget> escolha;
    escolher(QStringLiteral("Extrato"), 0,
             {{QStringLiteral("frmResPedido_Escolha"),
               [&](QWidget* tela) {
                   escolha = tela;
                   QTest::keyClicks(tela->focusWidget(), QStringLiteral("1"));
                   // F8 opens its dialog at once: pressed after this step returns
                   QTimer::singleShot(0, tela, [tela] { tecla(tela, Qt::Key_F8); });
               }},
              {QStringLiteral("frmExtratoEscolha"),
               [&](QWidget* tela) {
                   EXPECT_EQ(filho<QLineEdit>(tela, "edtAcrescimo")->text(), u"10,00"); // the order's service
                   preencher(tela, "edtQtdeDividida", QStringLiteral("3"));
                   preencher(tela, "edtAcrescimo", QStringLiteral("12")); // still being typed at F2
                   tecla(tela, Qt::Key_F2);
                   // Back on the choice screen, the user leaves it.
                   QTimer::singleShot(300, escolha, [&] { QTest::keyClick(escolha, Qt::Key_Escape); });
               }}},
             2);
    EXPECT_EQ(texto(QStringLiteral("select PED_QTDE_PESSOA || ';' || cast(PED_ACRESCIMO as numeric(18,2)) || ';' || "
                                   "iif(PED_DATA_FINAL is null, 'sem', 'com') from RES_PEDIDO where CODPEDIDO = %1")
                        .arg(pedido)),
              u"3;12.00;com");
}

TEST_F(Escolha, LeavingAFieldChecksItAndKeepsTheUserThere) {
    cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
    struct Caso {
        const char* garcon;
        const char* senha;
        const char* mesa; // nullptr: the check stops before the table
        const char* aviso;
        const char* ficaEm;
    };
    const Caso casos[] = {
        {"", "11", nullptr, "Informe o código do Garçon", "edtSenha"},
        {"1", "", nullptr, "Informe a senha", "edtSenha"},
        {"1", "22", nullptr, "Garçon/Senha não está correta, tente novamente", "edtSenha"},
        {"x", "11", nullptr, "Garçon/Senha não está correta, tente novamente", "edtSenha"},
        {"2", "22", "", "Informe a mesa", "edtMesa"},
        {"2", "22", "12a", "Informe um número de mesa válida!", "edtMesa"},
        {"2", "22", "9", "Mesa não está correta, tente novamente", "edtMesa"},
        {"2", "22", "77", "Mesa não está correta, tente novamente", "edtMesa"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.aviso);
        ui.clear();
        QString ficou;
        escolher(QString(), 0,
                 {{QStringLiteral("frmResPedido_Escolha"), [&](QWidget* tela) {
                       digitar(tela, QString::fromUtf8(c.garcon), Qt::Key_Tab);
                       digitar(tela, QString::fromUtf8(c.senha), Qt::Key_Tab);
                       if (c.mesa)
                           digitar(tela, QString::fromUtf8(c.mesa), Qt::Key_Tab);
                       ficou = foco(tela);
                       tecla(tela, Qt::Key_Escape);
                   }}},
                 1);
        EXPECT_EQ(ui.lastMessage(), QString::fromUtf8(c.aviso));
        EXPECT_EQ(ficou, QString::fromUtf8(c.ficaEm));
    }
}

TEST_F(Escolha, OkChecksAgainWhatTheMouseSkipped) {
    QString mensagem;
    escolher(QString(), 0,
             {{QStringLiteral("frmResPedido_Escolha"), [&](QWidget* tela) {
                   QTest::mouseClick(filho<QPushButton>(tela, "btnOk"), Qt::LeftButton);
                   mensagem = ui.lastMessage();
                   tecla(tela, Qt::Key_Escape);
               }}},
             1);
    EXPECT_EQ(mensagem, u"Informe a mesa");
}

TEST_F(Escolha, ModesThatNeedAnOpenTableRefuseAFreeOne) {
    for (const char* modo : {"TransItem", "FechaParcial", "CancelamentoTotal", "Extrato"}) {
        SCOPED_TRACE(modo);
        ui.clear();
        const int r = escolher(QString::fromLatin1(modo), 2,
                               {{QStringLiteral("frmResPedido_Escolha"), [&](QWidget* tela) {
                                     tecla(tela, Qt::Key_F2);
                                     tecla(tela, Qt::Key_Escape);
                                 }}},
                               1);
        EXPECT_EQ(ui.lastMessage(), u"Mesa não está aberta!");
        EXPECT_EQ(r, 0);
    }
    lancar(2, {{QStringLiteral("2001"), Currency(1)}});
    const int r = escolher(QStringLiteral("Extrato"), 2,
                           {{QStringLiteral("frmResPedido_Escolha"), [&](QWidget* tela) { tecla(tela, Qt::Key_F2); }}}, 1);
    EXPECT_EQ(r, 2); // the caller prints the table check
}

TEST_F(Escolha, CancellingAWholeTableAsksTheSupervisorWhenNoTablePasswordIsSet) {
    const int pedido = lancar(1, {{QStringLiteral("1001"), Currency(2)}});
    cfg().setValor(QStringLiteral("REST.SNH.MES"), QStringLiteral("S"));
    ui.answerYes();                             // Confirma "Cancelar" essa Mesa (1) ?
    ui.answerInput(QStringLiteral("gerente"));  // supervisor
    ui.answerInput(QStringLiteral("9999"));
    escolher(QStringLiteral("CancelamentoTotal"), 1,
             {{QStringLiteral("frmResPedido_Escolha"), [&](QWidget* tela) { tecla(tela, Qt::Key_F2); }}}, 1);
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_TRUE(ui.questions().contains(QStringLiteral("Confirma \"Cancelar\" essa Mesa (1) ?")));
    EXPECT_TRUE(ui.questions().contains(QStringLiteral("Usuário supervisor:")));
    EXPECT_EQ(texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(pedido)), u"CANCELADO");
    // the stock the two units took comes back (the posting helper moved none)
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(12));
    EXPECT_EQ(mapasAtualizados, 1);
}

TEST_F(Escolha, ATablePasswordReplacesTheSupervisorAndAWrongOneCancelsNothing) {
    const int pedido = lancar(1, {{QStringLiteral("1001"), Currency(2)}});
    cfg().setValor(QStringLiteral("REST.SNH.MES"), QStringLiteral("S"));
    cfg().setValor(QStringLiteral("RST.SNH.MOVMES"), QStringLiteral("777"));
    ui.answerYes();
    ui.answerInput(QStringLiteral("778"));
    escolher(QStringLiteral("CancelamentoTotal"), 1,
             {{QStringLiteral("frmResPedido_Escolha"), [&](QWidget* tela) {
                   tecla(tela, Qt::Key_F2);
                   tecla(tela, Qt::Key_Escape);
               }}},
             1);
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_FALSE(ui.questions().contains(QStringLiteral("Usuário supervisor:")));
    EXPECT_EQ(texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(pedido)), u"ABERTO");
    EXPECT_EQ(mapasAtualizados, 0);
}

class Entrada : public Escolha {
protected:
    void SetUp() override {
        Escolha::SetUp();
        for (int mesa : {999, 1001, 1005})
            t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE) values (%1)").arg(mesa));
        t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_CELULAR_DDD, PES_CELULAR) values "
                                     "(50, 'MARIA', '11', '999990000')"));
        cfg().setValor(QStringLiteral("RES.ENTR.PROD"), QStringLiteral("3"));
    }
    void entrar(int mesa, const std::function<void(QWidget*)>& pessoa) {
        escolher(QStringLiteral("CobrarEntrada"), mesa,
                 {{QStringLiteral("frmResPedido_Escolha"), [&](QWidget* tela) {
                       pessoa(tela);
                       tecla(tela, Qt::Key_F2);
                       tecla(tela, Qt::Key_Escape);
                   }}},
                 1);
    }
};

TEST_F(Entrada, TabsBelow1000AndPersonsOnAnotherOpenTabAreRefused) {
    entrar(999, [](QWidget*) {});
    EXPECT_EQ(ui.lastMessage(), u"A Mesa/Comanda precisa ser maior que 1000!");

    // Maria is on tab 1005; the entry of tab 1000 finds her by her mobile number.
    t->executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, CODPESSOA) "
                                 "values (900, 1005, 'ABERTO', '05.12.2026 20:00', 50)"));
    entrar(1000, [&](QWidget* tela) {
        filho<QLineEdit>(tela, "edtCelular")->setFocus();
        QTest::keyClicks(tela->focusWidget(), QStringLiteral("99999"));
        QTest::mouseClick(filho<QPushButton>(tela, "btnPesquisar"), Qt::LeftButton);
        EXPECT_EQ(filho<QLineEdit>(tela, "edtNome")->text(), u"MARIA");
    });
    EXPECT_EQ(ui.lastMessage(), u"Pessoa já se encontra em outra MESA ABERTA!");
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO where CODCONTROLE = 1000")).toInt(), 0);
}

TEST_F(Entrada, ANewPersonIsRegisteredWithTheEntryOfHerTab) {
    entrar(1001, [&](QWidget* tela) {
        filho<QLineEdit>(tela, "edtCelular")->setFocus();
        QTest::keyClicks(tela->focusWidget(), QStringLiteral("988887777"));
        QTest::mouseClick(filho<QPushButton>(tela, "btnPesquisar"), Qt::LeftButton);
        EXPECT_EQ(ui.lastMessage(), u"Pessoa não encontrado! Por favor preencher os dados");
        filho<QLineEdit>(tela, "edtNome")->setFocus();
        QTest::keyClicks(tela->focusWidget(), QStringLiteral("JOSE"));
    });
    EXPECT_EQ(ui.lastMessage(), u"Entrada foi dada com sucesso!");
    EXPECT_EQ(texto(QStringLiteral("select p.PES_NOME || '/' || p.PES_TIPO || p.PES_ATIVO || '/' || i.CODPRODUTO from "
                                   "RES_PEDIDO o join PESSOA p on p.CODPESSOA = o.CODPESSOA join RES_PEDIDO_ITEM i on "
                                   "i.CODPEDIDO = o.CODPEDIDO where o.CODCONTROLE = 1001 and o.PED_STATUS = 'ABERTO'")),
              u"JOSE/FS/3");
}

TEST_F(Entrada, PostingOnAPersonalTabNeedsItsEntryFirst) {
    cfg().setValor(QStringLiteral("RES.ESC.PESSOA"), QStringLiteral("S"));
    escolher(QString(), 1001,
             {{QStringLiteral("frmResPedido_Escolha"), [&](QWidget* tela) {
                   tecla(tela, Qt::Key_F2);
                   tecla(tela, Qt::Key_Escape);
               }}},
             1);
    EXPECT_EQ(ui.lastMessage(), u"Só pode lançar em Mesa/Comanda que teve a entrada lançada!");
}

} // namespace

namespace {

TEST_F(Escolha, TheHostsEntryOffersToOpenTheCashRegisterFirst) {
    // With a register open the choice screen comes at once.
    QStringList telas;
    Roteiro aberto({{QStringLiteral("frmResPedido_Escolha"), [&](QWidget* tela) {
                         telas << tela->objectName();
                         tecla(tela, Qt::Key_Escape);
                     }}});
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmResPedido.chamatela")));
    EXPECT_EQ(telas, QStringList{QStringLiteral("frmResPedido_Escolha")});
    EXPECT_TRUE(ui.questions().isEmpty());

    // Closed and not reopened: nothing opens.
    TdmCaixaAbertura::gerarInstance().fechar(Currency());
    ui.answerNo();
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmResPedido.chamatela")));
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Deseja abrir o Caixa?")});
    EXPECT_EQ(telas.size(), 1);
}

} // namespace
