#include "framework/services/ChavesConfiguracao.h"

namespace kvo {

namespace {
// Read by the invoice, order, counter and bill screens; registered by none of them.
const ChaveConfiguracao chavesDoHost[] = {
    {"Geral", "MULTI.EMPRESA", "TXT", "N", "TRABALHAR COM VÁRIAS EMPRESAS (SÉRIES E NOTAS POR EMPRESA)"},
    {"Geral", "PES.GRUPO", "TXT", "N", "EXIGIR GRUPO NO CADASTRO RÁPIDO DE PESSOA"},
    {"Geral", "EMAIL.MAPI", "TXT", "N", "ENVIAR E-MAIL DA NF-E PELO PROGRAMA DE E-MAIL DO SISTEMA"},
    {"NF VENDA", "PRO.FORA.DENT", "TXT", "N", "ALÍQUOTA DE ICMS CONFORME CONTRIBUINTE E ESTADO DO CLIENTE"},
    {"NF VENDA", "PRO.UND.NFE", "TXT", "N", "NF-E COM A UNIDADE, QUANTIDADE E PREÇO DA UNIDADE ESCOLHIDA"},
    {"NF VENDA", "LIC.VER.NFV", "TXT", "N", "VERIFICAR CONTRATOS DE LICITAÇÃO NO ITEM DA NF VENDA"},
    {"NF VENDA", "PEDV.FORN.ITEM", "TXT", "N", "INFORMAR O FORNECEDOR NO ITEM DA NF VENDA"},
    {"ECF", "ECF.ID.CONF", "TXT", "01", "ÍNDICE DO RELATÓRIO GERENCIAL DA CONFERÊNCIA DE MESA"},
    {"Restaurante", "PRORH.PERFIL", "TXT", "N", "COMANDAS PELA MATRÍCULA DO FUNCIONÁRIO"},
    {"PDV", "PDV.IMP.BAL", "TXT", "N", "NO BALCÃO, IMPRIMIR O PEDIDO NO LUGAR DO EXTRATO"},
    {"PDV", "PDV.ORD.QTDE", "TXT", "N", "DIGITAR A QUANTIDADE ANTES DO CÓDIGO DO PRODUTO"},
    {"PDV", "PDV.COD.PESQ", "TXT", "N", "MOSTRAR O CÓDIGO DE PESQUISA NOS ITENS DA VENDA"},
    {"PDV", "PDV.LOC.GRID", "TXT", "N", "MOSTRAR A LOCALIZAÇÃO DO PRODUTO NOS ITENS DA VENDA"},
    {"PDV", "VDRP.VLRUNIT", "TXT", "N", "PERMITIR ALTERAR O VALOR UNITÁRIO NA VENDA"},
    {"PDV", "VDRP.DESCONTO", "TXT", "N", "PERMITIR DAR DESCONTO NO ITEM DA VENDA"},
    {"PDV", "PDV.DESC.INDIV", "TXT", "N", "DESCONTO DIGITADO POR UNIDADE DO ITEM"},
    {"PDV", "PDV.NO.COD.BAL", "TXT", "N", "LER CÓDIGOS DE 13 DÍGITOS INICIADOS POR 2 COMO ETIQUETA DE BALANÇA"},
    {"PDV", "PEDV.PRC.MENOR", "TXT", "N", "NÃO PERMITIR VALOR UNITÁRIO MENOR QUE O PREÇO DO CADASTRO"},
    {"PDV", "DAV.ALT.ITEM", "TXT", "S", "PERMITIR ALTERAR O VALOR UNITÁRIO DO ITEM DO DAV"},
    {"PDV", "PRVD.ALT.ITEM", "TXT", "S", "PERMITIR ALTERAR O VALOR UNITÁRIO DO ITEM DA PRÉ-VENDA"},
    {"PDV", "DAV.SENHA.CAN", "TXT", "", "SENHA PARA CANCELAR DAV (EM BRANCO, SEM SENHA)"},
    {"PDV", "PRE.SENHA.CAN", "TXT", "", "SENHA PARA CANCELAR PRÉ-VENDA (EM BRANCO, SEM SENHA)"},
    {"PDV", "PRO.ORD.PROD", "TXT", "", "COLUNAS QUE ORDENAM OS PRODUTOS DO TOUCH (EM BRANCO, PELA DESCRIÇÃO)"},
    {"PDV", "VND.GRP.SERV", "INT", "0", "GRUPO DE PRODUTOS DOS SERVIÇOS"},
    {"PDV", "PDV.SEN.CAN.UT", "TXT", "N", "SENHA DE CANCELAMENTO SOMENTE PELA CONFIGURAÇÃO"},
};
} // namespace

const QVector<ChaveConfiguracao>& chavesRegistradas() {
    static const QVector<ChaveConfiguracao> todas = [] {
        QVector<ChaveConfiguracao> t(std::begin(chavesDoHost), std::end(chavesDoHost));
        t += chavesRestaurante();
        t += chavesImpressaoRestaurante();
        return t;
    }();
    return todas;
}

} // namespace kvo
