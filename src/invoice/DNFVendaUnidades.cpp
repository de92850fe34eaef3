// Item units and prices: the unit list, conversions between the chosen unit
// and the base unit, the price type and the ICMS base with its reduction.
#include "invoice/DNFVenda.h"

#include "framework/ui/UserInterface.h"
#include "invoice/DNFVendaInterno.h"
#include "registers/DProduto.h"

namespace kvo {

using namespace nfvenda;

void TdmNFVenda::reabrirUnidadesProduto(qint64 codproduto) {
    RecordSet& u = *m_unidadesProduto;
    if (u.active() && u.param(QStringLiteral("CODPRODUTO")).toLongLong() == codproduto)
        return;
    u.close();
    u.setParam(QStringLiteral("CODPRODUTO"), codproduto);
    u.open();
}

void TdmNFVenda::apontarUnidades() {
    RecordSet& i = *m_item;
    if (ehProduto(i)) {
        m_unidades = m_unidadesProduto.get();
        reabrirUnidadesProduto(inteiro(i, "CODPRODUTO"));
    } else {
        m_unidadeServico->close();
        m_unidadeServico->setParam(QStringLiteral("CODSERVICO"), inteiro(i, "CODSERVICO"));
        m_unidadeServico->open();
        m_unidades = m_unidadeServico.get();
    }
}

// The conversion quantity of the item's chosen unit; false when there is none.
bool TdmNFVenda::quantidadeConversao(Currency& q) {
    RecordSet& i = *m_item;
    if (f(i, "CODPRODUTOUNIDADE_NFVI").isNull())
        return false;
    reabrirUnidadesProduto(inteiro(i, "CODPRODUTO"));
    if (!m_unidadesProduto->locate(QStringLiteral("CODPRODUTOUNIDADE"), f(i, "CODPRODUTOUNIDADE_NFVI").value()))
        return false;
    q = m_unidadesProduto->field(QStringLiteral("QTDE")).asCurrency();
    return true;
}

void TdmNFVenda::calcularQtdeBase() {
    RecordSet& i = *m_item;
    if (!ehProduto(i)) {
        setMoney(i, "NFVI_QTDE", cur(i, "NFVI_QTDE_UND"));
        return;
    }
    Currency q;
    if (quantidadeConversao(q))
        setMoney(i, "NFVI_QTDE", cur(i, "NFVI_QTDE_UND") * q);
}

void TdmNFVenda::calcularPrecoBase() {
    RecordSet& i = *m_item;
    Currency q;
    if (!ehProduto(i) || !quantidadeConversao(q) || q.isZero())
        return;
    setMoney(i, "NFVI_VLR_UNITARIO", cur(i, "NFVI_VLR_UND") / q);
}

void TdmNFVenda::NFVendaItem_CalculaUnidade() {
    RecordSet& i = *m_item;
    if (!ehProduto(i)) {
        setMoney(i, "NFVI_VLR_UND", cur(i, "NFVI_VLR_UNITARIO"));
        return;
    }
    Currency q;
    if (quantidadeConversao(q))
        setMoney(i, "NFVI_VLR_UND", cur(i, "NFVI_VLR_UNITARIO") * q);
}

void TdmNFVenda::precoDoTipo() {
    RecordSet& i = *m_item;
    const QString tipo = str(i, "NFVI_TIPOPRECO").trimmed();
    bool numero = false;
    const int n = tipo.toInt(&numero);
    const QString coluna = tipo.isEmpty() ? QStringLiteral("PRO_PRECO01")
                           : numero && n >= 1 && n <= 14 ? TdmProduto::campoPreco(n)
                                                         : QString();
    if (coluna.isEmpty())
        Error(QStringLiteral("Tipo de preço inválido: %1").arg(tipo));
    const qint64 produto = inteiro(i, "CODPRODUTO");
    if (produto == 0)
        return;
    TwbtPesquisa& pesquisa = TdmProduto::gerarInstance().pesquisa();
    const QString chaveAnterior = pesquisa.fieldKey();
    pesquisa.SetFieldKey(QStringLiteral("CODPRODUTO"));
    struct Restaura {
        TwbtPesquisa& p;
        QString chave;
        ~Restaura() { p.SetFieldKey(chave); }
    } restaura{pesquisa, chaveAnterior};
    if (pesquisa.Localizar(produto))
        set(i, "NFVI_VLR_UND", pesquisa.encontrado()->field(coluna).value());
}

void TdmNFVenda::calcularBaseICMS() {
    RecordSet& i = *m_item;
    Currency base = NFVENDAITEM_TotalItem();
    const Currency reducao = cur(i, "NFVI_PER_REDUC");
    if (reducao > Currency())
        base = Currency::round4(Int128(base.raw()) * (100 * Currency::Scale - reducao.raw()), 100 * Currency::Scale);
    setMoney(i, "NFVI_ICMS_BASE", base);
}

} // namespace kvo
