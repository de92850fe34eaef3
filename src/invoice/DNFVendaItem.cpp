// Invoice item entry: the item record set, its defaults and every field
// reaction (product lookup, units, price type, discounts, delivery).
#include "invoice/DNFVenda.h"

#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVendaInterno.h"
#include "registers/DCadastros.h"
#include "registers/DPessoa.h"
#include "registers/DProduto.h"

#include <stdexcept>

namespace kvo {

using namespace nfvenda;

namespace {
Database& conexao() { return TdmAcesso::gerarInstance().sqlCon(); }

const char* selectItens =
    "select i.*, pr.PRO_CODPESQ_1 as CODPESQUISA, pr.PRO_DESCRICAO, pr.PRO_SI_TRIB_ORVEL, pr.PRO_CST, "
    "pr.PRO_TIPOLISTA, pr.PRO_REG_ICMS, pr.PRO_NCM, pr.PRO_ESTQ_ATUAL, pr.PRO_ESTQ_RESERVADO, pr.CODFABRICANTE, "
    "pr.PRO_EAN13, ub.PROU_SIGLA as NFVI_UNIDADE, uc.PROU_SIGLA as UND_COMP, sv.SER_DESCRICAO, sv.SERU_SIGLA, "
    "pc.PROC_SIGLA, pc.PROC_CODIGO, pg.PRODG_DESCRICAO, cl.CLA_REFERENCIA, m.MAR_DESCRICAO, c.CFOP_DESCRICAO, "
    "fo.PES_NOME as FORNECEDOR_NOME, l.CODLICITACAOCONTRATO, l.LICCI_DATA_INICIO, l.LICCI_DATA_VALIDADE, "
    "l.LICCI_PRAZO_ENTREGA, l.LICCI_PROCESSO, l.LICCI_QTDE, l.LICCI_QTDE_FAT, l.LICCI_QTDE_LIMITE, "
    "l.LICCI_TIPO_PROCESSO, l.LICCI_VLRUNIT, cast(null as numeric(18,4)) as QTDENOVAENTREGUE "
    "from NFVENDA_ITEM i "
    "left join PRODUTO pr on pr.CODPRODUTO = i.CODPRODUTO "
    "left join PRODUTO_UNIDADE ub on ub.CODPRODUTOUNIDADE = pr.CODPRODUTOUNIDADE "
    "left join PRODUTO_UNIDADE uc on uc.CODPRODUTOUNIDADE = i.CODPRODUTOUNIDADE_NFVI "
    "left join SERVICOS sv on sv.CODSERVICO = i.CODSERVICO "
    "left join PRODUTO_CATESP pc on pc.CODPRODUTOCATESP = pr.CODPRODUTOCATESP "
    "left join PRODUTO_GRAU pg on pg.CODPRODUTOGRAU = pr.CODPRODUTOGRAU "
    "left join CLASS_FISCAL cl on cl.CODCLASSFISCAL = pr.CODCLASSFISCAL "
    "left join MARCA m on m.CODMARCA = pr.CODMARCA "
    "left join CFOP c on c.CODCFOP = i.CODCFOP "
    "left join PESSOA fo on fo.CODPESSOA = i.CODPESSOA_FORNECEDOR "
    "left join LICITACAO_CONTRATO_ITEM l on l.CODLICITACAOCONTRATOITEM = i.CODLICITACAOCONTRATOITEM "
    "where i.CODNFVENDA = :CODNFVENDA and i.CODSERIE = :CODSERIE order by i.CODNFVENDAITEM";

const QStringList colunasLicitacao = {"CODLICITACAOCONTRATO", "LICCI_DATA_INICIO", "LICCI_DATA_VALIDADE",
                                      "LICCI_PRAZO_ENTREGA", "LICCI_PROCESSO", "LICCI_QTDE", "LICCI_QTDE_FAT",
                                      "LICCI_QTDE_LIMITE", "LICCI_TIPO_PROCESSO", "LICCI_VLRUNIT"};
} // namespace

void TdmNFVenda::criarItens() {
    QStringList juntadas = colunasLicitacao;
    juntadas << "CODPESQUISA" << "PRO_DESCRICAO" << "PRO_SI_TRIB_ORVEL" << "PRO_CST" << "PRO_TIPOLISTA"
             << "PRO_REG_ICMS" << "PRO_NCM" << "PRO_ESTQ_ATUAL" << "PRO_ESTQ_RESERVADO" << "CODFABRICANTE"
             << "PRO_EAN13" << "NFVI_UNIDADE" << "UND_COMP" << "SER_DESCRICAO" << "SERU_SIGLA" << "PROC_SIGLA"
             << "PROC_CODIGO" << "PRODG_DESCRICAO" << "CLA_REFERENCIA" << "MAR_DESCRICAO" << "CFOP_DESCRICAO"
             << "FORNECEDOR_NOME" << "QTDENOVAENTREGUE";
    m_item = conjuntoDaNota(conexao(), QString::fromLatin1(selectItens), QStringLiteral("NFVENDA_ITEM"),
                            {QStringLiteral("CODNFVENDAITEM")}, juntadas);
    RecordSet& i = *m_item;
    const std::pair<const char*, const char*> obrigatorios[] = {
        {"CODNFVENDAITEM", "Item"}, {"CODNFVENDA", "Nr. NF"}, {"CODSERIE", "Série"}, {"NFVI_CST_IPI", "CST IPI"},
        {"NFVI_ALTERAR_IPI", "Alterar IPI"}, {"NFVI_TIPOPRECO", "Tipo de preço"}};
    for (const auto& [nome, rotulo] : obrigatorios)
        f(i, nome).setRequired(true).setDisplayLabel(QString::fromUtf8(rotulo));
    f(i, "QTDENOVAENTREGUE").setDisplayLabel(QStringLiteral("Nova Entrega"));
    i.addField(QStringLiteral("AuxDescricao"), FieldType::String, 255, FieldKind::Calculated);
    i.addField(QStringLiteral("AuxCodProd"), FieldType::String, 25, FieldKind::Calculated);
    i.addField(QStringLiteral("AuxCodServ"), FieldType::String, 25, FieldKind::Calculated);
    i.onCalcFields = [](RecordSet& rs) {
        const QString categoria = str(rs, "NFVI_CATEGORIA");
        if (categoria == u"Produto" && inteiro(rs, "CODPRODUTO") > 0) {
            set(rs, "AuxDescricao", f(rs, "PRO_DESCRICAO").value());
            set(rs, "AuxCodProd", str(rs, "CODPRODUTO"));
        } else if (categoria == QStringLiteral("Serviço") && inteiro(rs, "CODSERVICO") > 0) {
            set(rs, "AuxDescricao", f(rs, "SER_DESCRICAO").value());
            set(rs, "AuxCodServ", str(rs, "CODSERVICO"));
        }
    };
    i.onNewRecord = [this](RecordSet&) { cdsNFVendaItemNewRecord(); };
    i.beforePost = [](RecordSet& rs) {
        if (rs.state() == RecordSet::State::Insert && f(rs, "CODNFVENDAITEM").isNull())
            set(rs, "CODNFVENDAITEM", rs.database()->getGeneretor(QStringLiteral("GEN_NFVENDA_ITEM")));
    };
    i.afterPost = [this](RecordSet& rs) { m_ultimoTipoPreco = str(rs, "NFVI_TIPOPRECO"); };
    ligarItem();
}

void TdmNFVenda::cdsNFVendaItemNewRecord() {
    RecordSet& i = *m_item;
    RecordSet& c = *m_cab;
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    set(i, "CODNFVENDA", f(c, "CODNFVENDA").value());
    set(i, "CODSERIE", f(c, "CODSERIE").value());
    // Starting values, written without their reactions: nothing to recompute yet.
    f(i, "NFVI_QTDE").setValueSilently(1);
    f(i, "NFVI_VLR_UNITARIO").setValueSilently(0);
    f(i, "NFVI_ALIQ_IPI").setValueSilently(0);
    try {
        const int aliqIpi = cfg.getInt(QStringLiteral("NFVI_ALIQ_IPI"), 0);
        if (aliqIpi > 0)
            f(i, "NFVI_ALIQ_IPI").setValueSilently(aliqIpi);
    } catch (const std::exception&) {
        // a rate the parameter cannot give leaves the item at 0
    }
    f(i, "NFVI_ALIQ_ICMS").setValueSilently(0);
    for (const char* nome : {"NFVI_DI_COD_EXPORTADOR", "NFVI_DI_LOCAL_DESEMB", "NFVI_DI_NUMERO", "NFVI_DI_UF_DESEMB"})
        set(i, nome, QString());
    for (const char* nome : {"NFVI_II_VLR", "NFVI_II_BC", "NFVI_II_DESP_ADUANEIRAS", "NFVI_IOF_VLR"})
        set(i, nome, 0);
    f(i, "NFVI_CATEGORIA").setValueSilently(QStringLiteral("Produto"));
    set(i, "CODCFOP", str(c, "CODCFOP").trimmed());
    set(i, "NFVI_MOD_BC", QStringLiteral("3"));
    const QString cstIpiPadrao = str(c, "NFV_FINALIDADE_EMISSAO") == u"2" ? QStringLiteral("99") : QStringLiteral("01");
    set(i, "NFVI_CST_IPI", cstIpiPadrao);
    set(i, "NFVI_ALTERAR_IPI", QStringLiteral("N"));
    f(i, "NFVI_TIPOPRECO").setValueSilently(m_ultimoTipoPreco.isEmpty() ? QStringLiteral("01") : m_ultimoTipoPreco);
    set(i, "NFVI_CSOSN", cfg.getStr(QStringLiteral("NF.CSOSN")));
    set(i, "NFVI_PIS_CST", cfg.getStr(QStringLiteral("NFVI_PIS_CST")));
    set(i, "NFVI_COFINS_CST", cfg.getStr(QStringLiteral("NFVI_COFINS_CST")));
    // The column is required: an empty parameter keeps the value chosen above.
    const QString cstIpi = cfg.getStr(QStringLiteral("NFVI_CST_IPI")).trimmed();
    if (!cstIpi.isEmpty())
        set(i, "NFVI_CST_IPI", cstIpi);
    for (const char* nome : {"NFVI_BCSTRET", "NFVI_ST", "NFVI_ICMSSUBSTITUTO", "NFVI_ICMSSTRET"})
        set(i, nome, 0);
}

// ---------------------------------------------------------------- reactions

void TdmNFVenda::ligarItem() {
    RecordSet& i = *m_item;
    f(i, "CODPESQUISA").onValidate = [this](Field& campo) { localizarProduto(campo); };
    f(i, "CODPRODUTO").onValidate = [this](Field& campo) {
        const qint64 produto = campo.asInteger();
        if (produto <= 0)
            return;
        reabrirUnidadesProduto(produto);
        if (TdmConfiguracao::gerarInstance().getStr(QStringLiteral("LIC.VER.NFV")) != u"S")
            return;
        // Open tender items of this product for this customer; read for the item screen's panel.
        TdmAcesso::gerarInstance().consulta(
            QStringLiteral("select LICITACAO_CONTRATO_ITEM.CODPRODUTO, LICCI_QTDE, LICCI_QTDE_FAT, LICCI_QTDE_LIMITE, "
                           "LICCI_DATA_INICIO, LICCI_DATA_VALIDADE, LICCI_VLRUNIT, PRODUTO_UNIDADE.PROU_SIGLA, "
                           "PRODUTO.PRO_DESCRICAO from LICITACAO_CONTRATO_ITEM "
                           "join LICITACAO_CONTRATO on LICITACAO_CONTRATO.CODLICITACAOCONTRATO = "
                           "LICITACAO_CONTRATO_ITEM.CODLICITACAOCONTRATO "
                           "join PRODUTO on PRODUTO.CODPRODUTO = LICITACAO_CONTRATO_ITEM.CODPRODUTO "
                           "left join PRODUTO_UNIDADE on PRODUTO_UNIDADE.CODPRODUTOUNIDADE = "
                           "LICITACAO_CONTRATO_ITEM.CODPRODUTOUNIDADE "
                           "where LICITACAO_CONTRATO_ITEM.CODPRODUTO = :P and LICITACAO_CONTRATO.CODPESSOA = :C "
                           " and  ((coalesce(LICCI_QTDE_LIMITE,0) - coalesce(LICCI_QTDE_FAT,0)) > 0)"),
            {{QStringLiteral("P"), produto}, {QStringLiteral("C"), inteiro(*m_cab, "CODPESSOA")}});
    };
    f(i, "CODCFOP").onValidate = [&i](Field& campo) {
        if (campo.asString().trimmed().isEmpty()) {
            f(i, "CFOP_DESCRICAO").clear();
            return;
        }
        TwbtPesquisa& pesquisa = TdmCfop::gerarInstance().pesquisa();
        if (pesquisa.Localizar(campo.asString().trimmed()))
            pesquisa.Complementar({&f(i, "CFOP_DESCRICAO")});
    };
    f(i, "CODLICITACAOCONTRATOITEM").onValidate = [&i](Field& campo) {
        if (campo.asInteger() <= 0)
            for (const QString& nome : colunasLicitacao)
                i.field(nome).clear();
    };
    f(i, "CODSERVICO").onValidate = [&i](Field& campo) {
        if (campo.asInteger() == 0)
            f(i, "SER_DESCRICAO").clear();
    };
    f(i, "NFVI_CATEGORIA").onValidate = [this](Field&) { apontarUnidades(); };
    f(i, "CODPRODUTOUNIDADE_NFVI").onValidate = [this](Field&) {
        NFVendaItem_CalculaUnidade();
        calcularQtdeBase();
    };
    f(i, "NFVI_QTDE_UND").onValidate = [this](Field&) { calcularQtdeBase(); };
    f(i, "NFVI_VLR_UND").onValidate = [this](Field&) { calcularPrecoBase(); };
    f(i, "NFVI_TIPOPRECO").onValidate = [this](Field&) { precoDoTipo(); };
    for (const char* nome : {"NFVI_QTDE", "NFVI_VLR_UNITARIO"})
        f(i, nome).onValidate = [this, &i](Field&) {
            calcularBaseICMS();
            const Currency bruto = NFVENDAITEM_TotalItem();
            setMoney(i, "NFVI_PIS_BC", bruto);
            setMoney(i, "NFVI_COFINS_BC", bruto);
            NFVENDAITEM_CalcularTotal();
        };
    f(i, "NFVI_PER_REDUC").onValidate = [this](Field&) {
        calcularBaseICMS();
        NFVENDAITEM_CalcularTotal();
    };
    f(i, "NFVI_VLRDESC").onValidate = [this, &i](Field& campo) {
        setMoney(i, "NFVI_TOTAL_DESCONTO", campo.asCurrency());
        f(i, "NFVI_PERDESC").setValueSilently(0);
        NFVENDAITEM_CalcularTotal();
    };
    f(i, "NFVI_PERDESC").onValidate = [this, &i](Field&) {
        NFVENDA_CALC_DESC_PERC(false);
        f(i, "NFVI_VLRDESC").setValueSilently(0);
        NFVENDAITEM_CalcularTotal();
    };
    for (const char* nome : {"NFVI_ALIQ_ICMS", "NFVI_ALIQ_IPI", "NFVI_ICMS_BASE", "NFVI_PIS_BC", "NFVI_PIS_PER",
                             "NFVI_COFINS_BC", "NFVI_COFINS_PER"})
        f(i, nome).onValidate = [this](Field&) { NFVENDAITEM_CalcularTotal(); };
    f(i, "QTDENOVAENTREGUE").onValidate = [&i](Field& campo) {
        if (campo.asCurrency() > cur(i, "NFVI_QTDE") - cur(i, "NFVI_QTDE_ENTREGUE"))
            Error(QStringLiteral("Quantidade maior que a disponivel!"));
    };
}

void TdmNFVenda::localizarProduto(Field& campo) {
    RecordSet& i = *m_item;
    const QString codigo = campo.asString().trimmed();
    if (codigo.isEmpty()) {
        for (const char* nome : {"PRO_DESCRICAO", "CODPRODUTO", "CODLICITACAOCONTRATOITEM"})
            f(i, nome).clear();
        return;
    }
    for (const char* nome : {"CODPRODUTO", "NFVI_VLR_UNITARIO", "NFVI_TOTAL", "NFVI_QTDE_UND", "NFVI_VLR_UND"})
        f(i, nome).clear();
    TdmProduto& produtos = TdmProduto::gerarInstance();
    TwbtPesquisa& pesquisa = produtos.pesquisa();
    // Nothing further without a product: the steps below read it by its code.
    if (!pesquisa.Localizar(codigo))
        return;
    pesquisa.Complementar({&f(i, "PRO_DESCRICAO"), &f(i, "CODPRODUTO"), &f(i, "NFVI_VLR_UNITARIO")}, 2);
    TwbtPesquisa& detalhe = produtos.pesquisaDetalhe();
    if (detalhe.Localizar(codigo, false))
        detalhe.Complementar({&f(i, "NFVI_ALIQ_ICMS"), &f(i, "MAR_DESCRICAO"), &f(i, "PRO_REG_ICMS"),
                              &f(i, "PRO_TIPOLISTA"), &f(i, "NFVI_VLR_UNITARIO"), &f(i, "PRO_NCM"),
                              &f(i, "PRO_ESTQ_RESERVADO"), &f(i, "PRO_ESTQ_ATUAL"), &f(i, "NFVI_CUSTO_PRODUTO"),
                              &f(i, "NFVI_PRECO_COMPRA"), &f(i, "NFVI_CSOSN"), &f(i, "NFVI_CEST")},
                             11);
    const qint64 produto = inteiro(i, "CODPRODUTO");
    reabrirUnidadesProduto(produto);

    const QString cst = conexao()
                            .scalar(QStringLiteral("SELECT coalesce(PRO_CST, '000') as PRO_CST FROM PRODUTO WHERE CODPRODUTO = ") +
                                    QString::number(produto))
                            .toString();
    set(i, "PRO_CST", cst);
    set(i, "NFVI_CST", QStringLiteral("000"));
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    if (cfg.getStr(QStringLiteral("NFE.CST.PROD")) == u"S" && !cst.isEmpty())
        set(i, "NFVI_CST", QString(QStringLiteral("0") + cst.mid(1, 2)));

    if (produto <= 0)
        return;
    const auto fiscal = conexao().query(
        QStringLiteral("select CODCFOP, PRO_ALIQ_ICMS, PRO_ALIQ_ICMS_FORA, PRO_ALIQ_ICMS_NCONT, PRO_ALIQ_ICMS_FORA_NCONT, "
                       "PRO_PER_REDUC, PRO_PER_REDUC_FORA, PRO_PER_REDUC_NCONT, PRO_PER_REDUC_FORA_NCONT, "
                       "CODPRODUTOUNIDADE from PRODUTO where CODPRODUTO = :P"),
        {{QStringLiteral("P"), produto}});
    if (fiscal->isEmpty())
        return;
    auto col = [&](const char* nome) { return fiscal->field(QLatin1String(nome)).value(); };
    set(i, "CODPRODUTOUNIDADE_NFVI", col("CODPRODUTOUNIDADE"));
    const QString cfop = fiscal->field(QStringLiteral("CODCFOP")).asString().trimmed();
    if (!cfop.isEmpty())
        set(i, "CODCFOP", cfop);
    if (cfg.getStr(QStringLiteral("PRO.FORA.DENT")) != u"S")
        return;
    RecordSet& c = *m_cab;
    const bool contribuinte = TdmPessoa::gerarInstance().PessoaContribuinte(int(inteiro(c, "CODPESSOA")));
    const bool mesmoEstado = str(c, "PES_UF").trimmed().compare(TdmAcesso::gerarInstance().empresa().uf.trimmed(),
                                                                 Qt::CaseInsensitive) == 0;
    const char* sufixo = contribuinte ? (mesmoEstado ? "" : "_FORA") : (mesmoEstado ? "_NCONT" : "_FORA_NCONT");
    set(i, "NFVI_ALIQ_ICMS", fiscal->field(QStringLiteral("PRO_ALIQ_ICMS") + QLatin1String(sufixo)).value());
    set(i, "NFVI_PER_REDUC", fiscal->field(QStringLiteral("PRO_PER_REDUC") + QLatin1String(sufixo)).value());
}

// ---------------------------------------------------------------- posting

void TdmNFVenda::novoItem() { m_item->append(); }

void TdmNFVenda::editarItem() { m_item->edit(); }

void TdmNFVenda::gravarItem() {
    m_item->post();
    NFVENDA_CalcularTotal();
}

void TdmNFVenda::excluirItem() {
    m_item->remove();
    NFVENDA_CalcularTotal();
}

void TdmNFVenda::novoServico() { m_serv->append(); }

void TdmNFVenda::gravarServico() {
    m_serv->post();
    NFVENDA_CalcularTotal();
}

void TdmNFVenda::excluirServico() {
    m_serv->remove();
    NFVENDA_CalcularTotal();
}

void TdmNFVenda::novaCCE() { m_cce->append(); }

void TdmNFVenda::gravarCCE() { m_cce->post(); }

} // namespace kvo
