#pragma once

#include "core/Clock.h"
#include "core/Paths.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "restaurant/extrato/RExtrato.h"
#include "restaurant/impressao/DResPedidoImpressao.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kvo::test {

// The preview as a user would use it: records what was shown, then prints it
// or asks to change the choices, as told.
class PreviewRoteiro : public PreviewExtrato {
public:
    PreviewRoteiro() { setPreviewExtrato(this); }
    ~PreviewRoteiro() override { setPreviewExtrato(nullptr); }
    ResultadoPreview mostrar(const QString&, const QStringList& linhas, bool permiteAlterar,
                             const std::function<void(const QStringList&)>& imprimir) override {
        mostrados << linhas;
        alteracaoOferecida << permiteAlterar;
        const bool alterar = !pedirAlteracao.isEmpty() && pedirAlteracao.takeFirst();
        if (alterar)
            return {false, true};
        if (imprimirAoMostrar)
            imprimir(linhas);
        return {imprimirAoMostrar, false};
    }
    QList<QStringList> mostrados;
    QList<bool> alteracaoOferecida;
    QList<bool> pedirAlteracao; // one answer per preview shown; empty: print
    bool imprimirAoMostrar = true;
};

// The choices dialog as a user would fill it.
class EscolhaRoteiro : public EscolhaExtrato {
public:
    EscolhaRoteiro() { setEscolhaExtrato(this); }
    ~EscolhaRoteiro() override { setEscolhaExtrato(nullptr); }
    bool escolher(ValoresEscolha& v, bool mostrarCouvert) override {
        recebidos << v;
        couvertVisivel = mostrarCouvert;
        v = digitados;
        return aceitar;
    }
    QList<ValoresEscolha> recebidos;
    ValoresEscolha digitados;
    bool aceitar = true, couvertVisivel = false;
};

// A terminal of a restaurant with a company, tables, products and waiters,
// the clock at 20:15:30 of 06/12/2026 and an open cash register.
class ExtratoFixture : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(home.path());
        TdmAcesso::gerarInstance().usarConexao(t.db());
        TdmAcesso::gerarInstance().setUsuario({1, QStringLiteral("caixa"), 1, true});
        for (const char* sql : {
                 "update or insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_FANTASIA, PARG_CPFCGC, PARG_IE, "
                 "PARG_IM, PARG_TELEFONE, PARG_ENDERECO, PARG_BAIRRO, PARG_CIDADE, PARG_UF) values (1, "
                 "'BAR DO ZE LTDA', 'BAR DO ZE', '11.222.333/0001-81', '110.042.490.114', '1234567', "
                 "'3333-4444', 'RUA DAS FLORES, 100', 'CENTRO', 'SAO PAULO', 'SP') matching (CODEMPRESA)",
                 "delete from PAR_RESTAURANTE",
                 "insert into PAR_RESTAURANTE (CODPARRESTAURANTE, PARR_VLR_SERVICO, PARR_VLR_COVERT, "
                 "PARR_IMPRIMIR_IEIM, PARR_SOMENTE_DURACAO, PARR_CODPESQ_VENDA) values (1, 10, 5, 'S', 'N', 'N')",
                 "insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (12, 'EM USO')",
                 "insert into RES_GARCON (CODGARCON, GAR_NOME) values (2, 'CARLOS')",
                 "insert into RES_GARCON (CODGARCON, GAR_NOME) values (3, 'JOANA')",
                 "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (10, '1010', 'FILE A PARMEGIANA')",
                 "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (11, '1011', 'CAIPIRINHA')",
                 "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (12, '1012', 'AGUA COM GAS')",
                 "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_BALANCA) values (13, '1013', "
                 "'PICANHA KG', 'S')",
                 "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (90, '9090', 'TAXA ENTRADA')",
             })
            t->executeSQL(QString::fromLatin1(sql));
        TdmAcesso::gerarInstance().recarregarEmpresa();
        cfg().registrarChaves();
        TdmCaixaAbertura::gerarInstance().abrir(QDate(2026, 12, 6), Currency(), QStringLiteral("caixa"));
        impressao = std::make_unique<TdmResPedidoImpressao>(t.db(), cfg(), QStringLiteral("caixa"));
        rel = std::make_unique<TrelExtrato>(t.db(), cfg(), *impressao);
    }
    void TearDown() override { setProgramFolder({}); }

    TdmConfiguracao& cfg() { return TdmConfiguracao::gerarInstance(); }
    void set(const char* chave, const QString& valor) { cfg().setValor(QString::fromLatin1(chave), valor); }

    // An open order of table `mesa` opened at 19:00:00.
    void pedido(int codpedido, int mesa, int servico, int couverts, int desconto, int pessoas,
                const char* impresso = "N") {
        t->executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, PED_TOTAL, "
                                     "PED_ACRESCIMO, PED_QTDE_COVERT, PED_DESC_VLR, PED_QTDE_PESSOA, PED_IMPRESSO) "
                                     "values (%1, %2, 'ABERTO', '06.12.2026 19:00:00', 0, %3, %4, %5, %6, '%7')")
                          .arg(codpedido)
                          .arg(mesa)
                          .arg(servico)
                          .arg(couverts)
                          .arg(desconto)
                          .arg(pessoas)
                          .arg(QString::fromLatin1(impresso)));
    }
    void item(int chave, int codpedido, int produto, const char* qtde, const char* unit, int garcon,
              const QString& obs = {}, const char* status = "NORMAL", const char* lancamento = "06.12.2026 19:05:00") {
        const Currency q = Currency::fromString(QString::fromLatin1(qtde)),
                       u = Currency::fromString(QString::fromLatin1(unit));
        t->executeSQL(QStringLiteral("insert into RES_PEDIDO_ITEM (CODPEDIDOITEM, CODPEDIDO, CODPRODUTO, CODGARCON, "
                                     "PEDI_QTDE, PEDI_VLRUNIT, PEDI_TOTAL, PEDI_STATUS, PEDI_OBS, PEDI_LAN_DATA) values "
                                     "(:k, :p, :prod, :g, :q, :u, :t, :s, :o, :d)"),
                      {{QStringLiteral("k"), chave},
                       {QStringLiteral("p"), codpedido},
                       {QStringLiteral("prod"), produto},
                       {QStringLiteral("g"), garcon},
                       {QStringLiteral("q"), q.toString()},
                       {QStringLiteral("u"), u.toString()},
                       {QStringLiteral("t"), (q * u).toString()},
                       {QStringLiteral("s"), QString::fromLatin1(status)},
                       {QStringLiteral("o"), obs.isEmpty() ? QVariant() : QVariant(obs)},
                       {QStringLiteral("d"), QDateTime::fromString(QString::fromLatin1(lancamento),
                                                                   QStringLiteral("dd.MM.yyyy hh:mm:ss"))}});
    }
    void pagamento(int chave, int codpedido, const char* valor) {
        t->executeSQL(QStringLiteral("insert into RES_PEDIDO_CONTA (CODPEDIDOCONTA, CODPEDIDO, PEDC_VALOR) values "
                                     "(%1, %2, %3)")
                          .arg(chave)
                          .arg(codpedido)
                          .arg(QString::fromLatin1(valor)));
    }
    void arquivo(const char* nome, const QByteArray& conteudo = {}) {
        QFile f(QDir(home.path()).filePath(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
    }
    QString texto(const QString& sql) { return t->scalar(sql).toString().trimmed(); }
    Currency dinheiro(const QString& sql) { return scalarMoney(t.db(), sql); }

    TestDatabase t;
    Module module;
    ScriptedUi ui;
    QTemporaryDir home;
    FixedClock relogio{QDateTime(QDate(2026, 12, 6), QTime(20, 15, 30))};
    PreviewRoteiro preview;
    EscolhaRoteiro escolha;
    std::unique_ptr<TdmResPedidoImpressao> impressao;
    std::unique_ptr<TrelExtrato> rel;
};

// Control bytes written so a reader sees them: <ESC>, <SI>, <DC2> ...
inline QString visivel(const QStringList& linhas) {
    QString s = linhas.join(u'\n') + u'\n';
    const std::pair<char16_t, const char*> nomes[] = {{0, "<NUL>"},  {7, "<BEL>"},  {14, "<SO>"}, {15, "<SI>"},
                                                      {18, "<DC2>"}, {20, "<DC4>"}, {27, "<ESC>"}, {29, "<GS>"}};
    for (const auto& [c, nome] : nomes)
        s.replace(QChar(c), QLatin1String(nome));
    return s;
}

// Compares with a file in golden/, line by line, naming the first that differs.
inline ::testing::AssertionResult igualAoGolden(const QStringList& linhas, const char* nome) {
    QFile f(QStringLiteral(KVO_EXTRATO_GOLDEN_DIR "/") + QLatin1String(nome));
    if (!f.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "missing golden file " << nome;
    const QStringList esperado = QString::fromUtf8(f.readAll()).split(u'\n');
    const QStringList atual = visivel(linhas).split(u'\n');
    for (qsizetype i = 0; i < qMax(esperado.size(), atual.size()); ++i)
        if (esperado.value(i) != atual.value(i))
            return ::testing::AssertionFailure()
                   << nome << " line " << i + 1 << "\n expected [" << esperado.value(i).toStdString() << "]\n actual   ["
                   << atual.value(i).toStdString() << "]\n--- whole actual:\n" << visivel(linhas).toStdString();
    return ::testing::AssertionSuccess();
}

} // namespace kvo::test
