#include "registers/DProduto.h"

#include "core/Format.h"
#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"

namespace kvo {

TdmProduto& TdmProduto::gerarInstance() { return Module::current().instance<TdmProduto>(); }

TdmProduto::TdmProduto() : TdmProduto(TdmAcesso::gerarInstance().sqlCon()) {}

TdmProduto::TdmProduto(Database& db) : m_db(db), m_pesquisa(db), m_detalhe(db), m_codigo(db) {
    m_pesquisa.configurar(QStringLiteral("select PRO_DESCRICAO, CODPRODUTO, PRO_PRECO01, PRO_CODPESQ_1 from PRODUTO"),
        QStringLiteral("PRO_CODPESQ_1"), QStringLiteral("Pesquisa de Produtos"), QStringLiteral("Produto não encontrado!"));
    m_pesquisa.SetSQL4Where(QStringLiteral("PRO_ATIVO = 'S'"));
    m_detalhe.SetDataSet(QStringLiteral(
        "select p.PRO_ALIQ_ICMS, m.MAR_DESCRICAO, p.PRO_REG_ICMS, p.PRO_TIPOLISTA, p.PRO_PRECO01, p.PRO_NCM, "
        "p.PRO_ESTQ_RESERVADO, p.PRO_ESTQ_ATUAL, p.PRO_PRECO_CUSTO, p.PRO_PRECO_COMPRA, p.PRO_CSOSN, p.PRO_CEST, "
        "p.PRO_CODPESQ_1 from PRODUTO p left join MARCA m on m.CODMARCA = p.CODMARCA"));
    m_detalhe.SetFieldKey(QStringLiteral("p.PRO_CODPESQ_1"));
    m_codigo.SetDataSet(QStringLiteral("select PRO_CODPESQ_1, CODPRODUTO, PRO_DESCRICAO, PRO_PRECO01 from PRODUTO"));
    m_codigo.SetFieldKey(QStringLiteral("CODPRODUTO"));
    m_codigo.setTextoNaoEncontrado(QStringLiteral("Produto não encontrado!"));
}

bool TdmProduto::validaEstoque(int codproduto, Currency quantidade, bool controlar) {
    if (!controlar)
        return true;
    const auto rs = m_db.query(QStringLiteral("select PRO_DESCRICAO, PRO_ESTQ_ATUAL - PRO_ESTQ_RESERVADO from PRODUTO "
                                              "where CODPRODUTO = :P"),
                               {{QStringLiteral("P"), codproduto}});
    if (rs->isEmpty()) {
        Alerta(QStringLiteral("Produto não encontrado!"));
        return false;
    }
    const Currency livre = rs->field(1).asCurrency();
    if (livre >= quantidade)
        return true;
    Alerta(QStringLiteral("Estoque insuficiente para o produto %1.\nDisponível: %2  Solicitado: %3")
               .arg(rs->field(0).asString(), formatFloat(u"###,##0.000", livre), formatFloat(u"###,##0.000", quantidade)));
    return false;
}

QString TdmProduto::sqlMovimentarEstoqueNormal(int codproduto, Currency quantidade, int tipo, const QString& origem,
                                               int documento) {
    if (codproduto <= 0 || quantidade.isZero() || (tipo != 1 && tipo != 2))
        return {};
    // A negative quantity is the opposite movement: the table stores positives.
    if (quantidade < Currency()) {
        quantidade = -quantidade;
        tipo = tipo == 1 ? 2 : 1;
    }
    return QStringLiteral("insert into ESTOQUE_MOVIMENTO (CODESTOQUEMOVIMENTO, CODPRODUTO, ESTM_TIPO, ESTM_QTDE, "
                          "ESTM_ORIGEM, ESTM_DOCUMENTO) values (gen_id(GEN_ESTOQUE_MOVIMENTO, 1), %1, %2, %3, %4, %5)")
        .arg(codproduto)
        .arg(tipo)
        .arg(sqlNumber(quantidade), quotedStr(origem.left(30)))
        .arg(documento);
}

Currency TdmProduto::retornarAliqNCM(int codproduto) {
    const auto rs = m_db.query(QStringLiteral(
                                   "select iif(coalesce(p.PRO_ICMS_ORIGEM, '0') in ('1', '2', '6', '7'), n.NCM_ALIQ_IMPORTADO, "
                                   "n.NCM_ALIQ_NACIONAL) from PRODUTO p join NCM_ALIQUOTA n on "
                                   "n.NCM_CODIGO = replace(p.PRO_NCM, '.', '') where p.CODPRODUTO = :P"),
                               {{QStringLiteral("P"), codproduto}});
    return rs->isEmpty() ? Currency() : rs->field(0).asCurrency();
}

} // namespace kvo
