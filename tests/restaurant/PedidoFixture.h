#pragma once

#include "core/Clock.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "restaurant/DResPedido.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace kvo::test {

// A terminal with an open cash register, a few tables, products and waiters.
class PedidoFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(20, 30)));
        TdmAcesso::gerarInstance().usarConexao(t.db());
        TdmAcesso::gerarInstance().setUsuario({1, QStringLiteral("caixa"), 1, true});
        for (const char* sql : {
                 "insert into RES_CONTROLE (CODCONTROLE, CON_COBRAR_SERVICO) values (1, 'S')",
                 "insert into RES_CONTROLE (CODCONTROLE, CON_COBRAR_SERVICO) values (2, 'N')",
                 "insert into RES_CONTROLE (CODCONTROLE, CON_COBRAR_SERVICO) values (3, 'S')",
                 "insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (9, 'CANCELADO')",
                 "insert into RES_CONTROLE (CODCONTROLE, CON_SALDO, CON_EAN) values (1000, 20, '20000000100136')",
                 "insert into PAR_RESTAURANTE (CODPARRESTAURANTE, PARR_VLR_SERVICO, PARR_VLR_COVERT) values (1, 10, 8)",
                 "insert into RES_GARCON (CODGARCON, GAR_NOME, GAR_SENHA) values (1, 'JOAO', '11')",
                 "insert into RES_GARCON (CODGARCON, GAR_NOME, GAR_SENHA) values (2, 'ANA', '22')",
                 "insert into RES_GARCON (CODGARCON, GAR_NOME, GAN_ENTREGADOR) values (3, 'MOTOBOY', 'S')",
                 "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_IMP_COZINHA, "
                 "PRO_IMP_BAR, PRO_ESTQ_ATUAL) values (1, '1001', 'X-BURGUER', 24.90, 'S', 'N', 10)",
                 "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_IMP_COZINHA, "
                 "PRO_IMP_BAR, PRO_ESTQ_ATUAL) values (2, '2001', 'REFRIGERANTE', 6.50, 'N', 'S', 100)",
                 "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_ESTQ_ATUAL) "
                 "values (3, '3001', 'AGUA', 11.47, 5)",
             })
            t->executeSQL(QString::fromLatin1(sql));
        t->executeSQL(QStringLiteral("alter sequence GEN_RES_GARCON restart with 3"));
        TdmConfiguracao::gerarInstance().registrarChaves(); // as at start-up
        TdmCaixaAbertura::gerarInstance().abrir(QDate(2026, 12, 5), Currency(), QStringLiteral("caixa"));
    }
    void TearDown() override { Clock::reset(); }

    TdmResPedido& pedido() { return TdmResPedido::gerarInstance(); }
    TdmConfiguracao& cfg() { return TdmConfiguracao::gerarInstance(); }

    // Posts items (search code, quantity) on a table as the order screen does, and saves.
    int lancar(int mesa, const QList<QPair<QString, Currency>>& itens, TdmResPedido* dm = nullptr) {
        TdmResPedido& p = dm ? *dm : pedido();
        p.abrirMesa(mesa);
        for (const auto& [codigo, qtde] : itens) {
            p.cdsResPedidoItem().append();
            p.cdsResPedidoItem().field(QStringLiteral("CODPESQUISA")).setValue(codigo);
            p.cdsResPedidoItem().field(QStringLiteral("PEDI_QTDE")).setValue(QVariant::fromValue(qtde));
            p.cdsResPedidoItem().post();
        }
        p.ResPedido_CalculaTotal();
        p.gravarPedido();
        return int(p.cdsResPedido().field(QStringLiteral("CODPEDIDO")).asInteger());
    }
    Currency dinheiro(const QString& sql) { return scalarMoney(t.db(), sql); }
    QString texto(const QString& sql) { return t->scalar(sql).toString(); }

    TestDatabase t;
    Module module;
    ScriptedUi ui;
};

} // namespace kvo::test
