#pragma once

#include "../PedidoFixture.h"
#include "../TicketsRecebidos.h"
#include "Roteiro.h"

#include "core/Paths.h"
#include "framework/services/DSeguranca.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "restaurant/ui/UResPedido.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace kvo::test {

// The restaurant terminal of PedidoFixture with its screens registered, a
// program folder of its own (tickets land there), a supervisor "gerente"
// (9999) and the deletion password "del1".
class PedidoTela : public PedidoFixture {
protected:
    void SetUp() override {
        PedidoFixture::SetUp();
        if (qEnvironmentVariableIsSet("KVO_TESTE_MENSAGENS"))
            ui.onMessage = [](const ScriptedUi::Message& m) { qWarning("mensagem: %s", qPrintable(m.text)); };
        setProgramFolder(home.path());
        registrarTelasPedido();
        telasRestaurante().atualizarMapa = [this] { ++mapasAtualizados; };
        TdmSeguranca seg(t.db());
        seg.criarGrupo(QStringLiteral("Gerência"));
        seg.criarUsuario(QStringLiteral("gerente"), QStringLiteral("9999"), QStringLiteral("Gerência"), true);
        t->executeSQL(QStringLiteral("update or insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_SENHA_EXCLUSAO) "
                                     "values (1, 'BAR', 'del1') matching (CODEMPRESA)"));
        // No questions a test did not script: only what each test turns on.
        for (const char* chave : {"REST.SNH.CAN", "REST.SNH.MES", "REST.DEIX.AB"})
            cfg().setValor(QString::fromLatin1(chave), QStringLiteral("N"));
    }
    void TearDown() override {
        telasRestaurante() = {};
        PedidoFixture::TearDown();
    }

    // The ticket files the stations' manager folders received.
    QStringList tickets() const { return ticketsRecebidos(home.path()); }
    static void digitar(QWidget* tela, const QString& texto, Qt::Key depois = Qt::Key_Return) {
        QTest::keyClicks(tela->focusWidget(), texto);
        QTest::keyClick(tela->focusWidget(), depois);
    }
    // A button's shortcut presses it a moment later (as it is seen going
    // down): Esc waits for a press still on its way, as a user would.
    static void tecla(QWidget* tela, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        if (k == Qt::Key_Escape)
            QTest::qWait(200);
        QTest::keyClick(tela->focusWidget() ? tela->focusWidget() : tela, k, m);
    }
    QString foco(QWidget* tela) const { return tela->focusWidget() ? tela->focusWidget()->objectName() : QString(); }
    int itens(int mesa, const char* extra = "") {
        return t->scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM i join RES_PEDIDO p on p.CODPEDIDO = "
                                        "i.CODPEDIDO where p.PED_STATUS = 'ABERTO' and p.CODCONTROLE = %1 %2")
                             .arg(mesa)
                             .arg(QString::fromLatin1(extra)))
            .toInt();
    }

    QTemporaryDir home;
    int mapasAtualizados = 0;
};

} // namespace kvo::test
