#pragma once

#include "NFVendaFixture.h"

#include "framework/services/DAcesso.h"
#include "registers/EscolhaParcelas.h"

namespace kvo::test {

// The instalment choice as a user at the closing screen would make it:
// accepting the instalments offered for the payment method, or giving up.
class EscolhaRoteirizada : public EscolhaParcelas {
public:
    struct Pedido {
        DocumentoContas doc;
        Currency total;
    };
    EscolhaRoteirizada() { setEscolhaParcelas(this); }
    ~EscolhaRoteirizada() override { setEscolhaParcelas(nullptr); }
    std::optional<QVector<Parcela>> escolherParcelas(const DocumentoContas& doc, Currency total) override {
        pedidos.push_back({doc, total});
        if (desistir)
            return std::nullopt;
        return TdmFormaDePagamento::gerarParcelas(
            total, doc.emissao, TdmFormaDePagamento::gerarInstance().condicao(doc.codformapagamento));
    }
    std::vector<Pedido> pedidos;
    bool desistir = false;
};

class NFVendaFaturamento : public NFVendaFixture {
protected:
    NFVendaFaturamento() {
        sql(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO) values (1, 'Dinheiro')"));
        sql(QStringLiteral(
            "insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO, FPG_PARCELAS, FPG_DIAS_PRIMEIRA, "
            "CODMOEDA) values (1, 'A vista', 1, 0, 1)"));
        sql(QStringLiteral(
            "insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO, FPG_PARCELAS, FPG_DIAS_PRIMEIRA, "
            "CODMOEDA) values (2, '30/60', 2, 30, 1)"));
        sql(QStringLiteral("insert into BANCO (CODBANCO, BAN_DESCRICAO) values (7, 'Banco')"));
        sql(QStringLiteral("update PRODUTO set PRO_ESTQ_ATUAL = 100"));
        sql(QStringLiteral("insert into CAIXA_ABERTURA (CODCAIXAABERTURA, CXA_DATA, CXA_STATUS) values (5, "
                           "'2026-11-30', 'ABERTO')"));
        sql(QStringLiteral(
            "update PAR_GERAL set PARG_TRABALHA_ABERTURA = 'S', PARG_SENHA_EXCLUSAO = 'segredo'"));
        TdmAcesso::gerarInstance().setUsuario(UsuarioLogado{1, QStringLiteral("caixa")});
    }

    // A saved invoice of series 1 for customer 1: `qtde` of product 10 at 2.00
    // (total 2 × qtde), payment method 1, stock moved on billing.
    int notaSalva(const char* qtde = "5") {
        novaNotaSP();
        dm().novoItem();
        noItem("CODPESQUISA", QStringLiteral("1001"));
        noItem("NFVI_QTDE_UND", QString::fromLatin1(qtde));
        dm().gravarItem();
        const int numero = dm().gravarNFVenda().numero;
        sql(QStringLiteral(
                "update NFVENDA set CODFORMAPAGAMENTO = 1, NFV_BAIXA_ESTOQUE = 'S' where CODNFVENDA = %1")
                .arg(numero));
        dm().fecharNFVenda();
        return numero;
    }
    bool faturar(int numero, const QString& tipo = QStringLiteral("S")) {
        return dm().NFVENDA_Faturar_Pergunta(numero, QStringLiteral("1"), tipo, true);
    }
    QString status(int numero) {
        return t
            ->scalar(QStringLiteral("select NFV_STATUS from NFVENDA where CODNFVENDA = %1 and CODSERIE = '1'")
                         .arg(numero))
            .toString();
    }
    Currency estoque(int produto = 10) {
        return scalarMoney(
            t.db(), QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = %1").arg(produto));
    }
    Currency dinheiro(const QString& select) { return scalarMoney(t.db(), select); }
    int contar(const QString& select) { return t->scalar(select).toInt(); }
    bool temMensagem(const QString& texto) {
        for (const auto& m : ui.messages())
            if (m.text == texto)
                return true;
        return false;
    }
    // Receivables of a sales invoice: its number, 2026-12-01, payment 1, status.
    void receber(int numero, const char* serie, const char* valor, const char* pago,
                 const char* status = "ABERTA") {
        sql(QStringLiteral(
                "insert into CONTAS (CODCONTA, CON_TIPO, CODPESSOA, CON_ORIGEM, CON_CODORIGEM, CODNFVENDA, "
                "CODSERIE, "
                "CON_DTVENC, CON_VLRPARCELA, CON_VLRTOTAL, CON_SALDO, CON_VLRPAGO, CON_STATUS) values "
                "(gen_id(GEN_CONTAS, 1), 'R', 1, 'NFVENDA', %1, %1, '%2', '2026-12-01', %3, %3, %3 - %4, %4, "
                "'%5')")
                .arg(numero)
                .arg(QLatin1String(serie), QLatin1String(valor), QLatin1String(pago), QString::fromUtf8(status)));
    }

    EscolhaRoteirizada escolha;
};

} // namespace kvo::test
