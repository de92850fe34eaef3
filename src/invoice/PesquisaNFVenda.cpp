#include "invoice/PesquisaNFVenda.h"

#include "core/Currency.h"
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"

#include <QDir>
#include <QFile>

namespace kvo::pesquisaNFVenda {

QString selectBase() {
    return QStringLiteral(
        "select NFVENDA.CODNFVENDA, NFVENDA.CODSERIE, NFVENDA.NFV_STATUS, NFVENDA.NFV_DTEMISSAO, "
        "NFVENDA.CODPESSOA, PESSOA.PES_NOME, PESSOA.PES_CPFCNPJ, PESSOA.PES_UF, NFVENDA.CODCFOP, "
        "NFVENDA.NFV_TOTAL_NOTA, PESSOA.PES_EMAIL, SERIE.SER_TIPO, PESSOA.PES_EMAIL_NFE, NFVENDA.NFV_TIPO "
        "from NFVENDA left join PESSOA on PESSOA.CODPESSOA = NFVENDA.CODPESSOA "
        "left join SERIE on SERIE.CODSERIE = NFVENDA.CODSERIE");
}

Condicao condicao(const Filtro& filtro) {
    Condicao c{QStringLiteral(" 1 = 1 "), {}};
    if (filtro.ocultarExcluidas)
        c.sql += QStringLiteral(" and NFV_STATUS <> 'Excluída' ");
    if (filtro.ocultarSeriesInativas)
        c.sql += QStringLiteral(" and COALESCE(SER_ATIVO, 'S') = 'S' ");
    if (TdmConfiguracao::gerarInstance().getStr(QStringLiteral("MULTI.EMPRESA")) == u"S") {
        c.sql += QStringLiteral(" and NFVENDA.CODPARGERAL = :EMPRESA ");
        c.params.insert(QStringLiteral("EMPRESA"), TdmAcesso::gerarInstance().empresaAtual());
    }
    return c;
}

Habilitados habilitados(const QString& status) {
    Habilitados h;
    const bool aberta = status == u"Aberta", faturada = status == u"Faturada";
    h.alterar = h.excluir = h.faturar = aberta;
    h.reabrir = h.imprimir = faturada || status == u"Cancelada";
    h.cancelar = h.cartaCorrecao = h.carne = faturada;
    return h;
}

QString tituloImprimir(const QString& tipoSerie) {
    if (tipoSerie == u"Formulário")
        return QStringLiteral("    F10  || Impressão");
    if (tipoSerie == u"NF-e")
        return QStringLiteral("    F10  || NF-e");
    return {};
}

bool imprimeDanfe(const QString& tipoSerie) {
    return TdmAcesso::gerarInstance().empresa().emiteNFe && tipoSerie != u"Formulário";
}

bool faturar(TdmNFVenda& dm, int numero, const QString& serie, const QString& tipo) {
    return dm.NFVENDA_Faturar_Pergunta(numero, serie, tipo, true);
}

namespace {
void exigirCidade() {
    if (TdmAcesso::gerarInstance().empresa().codMunicipio <= 0)
        Error(QStringLiteral("Cód. da Cidade não preenchido no Parâmetro Geral."));
}
} // namespace

void imprimirNFe(TdmNFVenda& dm, int numero, const QString& serie, int pessoa) {
    exigirCidade();
    dm.NFE_Imprimir(numero, serie, pessoa, false);
}

void enviarEmail(TdmNFVenda& dm, int numero, const QString& serie, int pessoa) {
    if (!TdmAcesso::gerarInstance().empresa().emiteNFe)
        Error(QStringLiteral("Não é uma NF-e!"));
    exigirCidade();
    dm.NFE_Imprimir(numero, serie, pessoa, true);
}

bool podeCartaCorrecao(TdmNFVenda& dm, int numero, const QString& serie) {
    dm.NFE_Cofigure(numero, serie, 0);
    if (dm.cdsNFVenda().field(QStringLiteral("NFV_NFE_NPROT")).asString().trimmed().isEmpty())
        Error(QStringLiteral("Esta Nota Fiscal não foi transmitida!"));
    return dm.cdsNFVendaCCE().isEmpty() ||
           Confirma(QStringLiteral("Está Nota Fiscal já teve uma correção, deseja fazer outra?"));
}

bool mostrarFerramentasXML() {
    return QFile::exists(QDir(programFolder()).filePath(QStringLiteral("gambinfe.txt")));
}

} // namespace kvo::pesquisaNFVenda

namespace kvo::pesquisaNFVenda {

QString selectDevolucao() {
    return QStringLiteral(
        "select NFVENDA.CODNFVENDA, NFVENDA.CODSERIE, PESSOA.PES_NOME, NFVENDA.CODCFOP, NFVENDA.NFV_DTEMISSAO, "
        "NFVENDA.NFV_TOTAL_NOTA, CFOP.CFOP_CLASSIFICACAO from NFVENDA "
        "left join PESSOA on PESSOA.CODPESSOA = NFVENDA.CODPESSOA "
        "join CFOP on CFOP.CODCFOP = NFVENDA.CODCFOP");
}

QString condicaoDevolucao() { return QStringLiteral("CFOP.CFOP_CLASSIFICACAO = 'Devolução'"); }

QString selectItensDevolucao() {
    return QStringLiteral(
        "select PRODUTO.PRO_CODPESQ_1, PRODUTO.PRO_DESCRICAO, NFVENDA_ITEM.NFVI_QTDE, NFVENDA_ITEM.NFVI_TOTAL, "
        "NFVENDA_ITEM.NFVI_QTDE_ENTREGUE from NFVENDA_ITEM "
        "left join PRODUTO on PRODUTO.CODPRODUTO = NFVENDA_ITEM.CODPRODUTO "
        "where NFVENDA_ITEM.CODNFVENDA = :N and NFVENDA_ITEM.CODSERIE = :S order by NFVENDA_ITEM.CODNFVENDAITEM");
}

bool entregaDifere(const QVariant& qtde, const QVariant& entregue) {
    auto valor = [](const QVariant& v) {
        if (v.isNull())
            return Currency();
        if (v.metaType() == QMetaType::fromType<Currency>())
            return v.value<Currency>();
        return Currency::parse(v.toString()).value_or(Currency());
    };
    return valor(qtde) != valor(entregue);
}

} // namespace kvo::pesquisaNFVenda
