// What the invoice, order, counter, pre-sale and bill screens read from the
// registers and the host, by name: tables and columns (with their kind where
// it matters), procedure results in order, generators, and the order of the
// search columns they copy. A missing or renamed one is named in the failure.
#include "framework/db/Database.h"
#include "framework/db/Migrator.h"
#include "framework/db/RecordSet.h"
#include "registers/DCadastros.h"
#include "registers/DPessoa.h"
#include "registers/DProduto.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

// "COLUMN" or "COLUMN:K" with K the kind: I integer, N amount, T text, D date,
// S timestamp, H time, B blob; "T3" is text of 3 characters.
struct Tabela {
    const char* nome;
    QStringList colunas;
};

const QList<Tabela>& tabelas() {
    static const QList<Tabela> t{
        {"PESSOA",
         {"CODPESSOA:I", "PES_TIPO:T", "PES_NOME:T", "PES_RAZAO_SOCIAL:T", "PES_NOME_2:T", "PES_RAZAO_SOCIAL_2:T",
          "PES_CPFCNPJ:T", "PES_RG:T", "PES_IE:T", "PES_CONSUMIDOR_FINAL:T", "PES_CONTATOS:T", "PES_ENDERECO:T",
          "PES_ENDERECO_NUMERO:T", "PES_ENDERECO_COMPLEMENTO:T", "PES_BAIRRO:T", "PES_CIDADE:T", "PES_UF:T", "PES_CEP:T",
          "PES_PAIS:T", "PES_PONTO_REFERENCIA:T", "PES_TELEFONE:T", "PES_TELEFONE_DDD:T", "PES_CELULAR:T",
          "PES_CELULAR_DDD:T", "PES_EMAIL:T", "PES_EMAIL_NFE:T", "PES_DATA:D", "PES_MATRICULA:T", "PES_CLASS_CLI:T",
          "CODPESSOAGRUPO:I", "CODTRANSPORTADORA:I"}},
        {"PRODUTO",
         {"CODPRODUTO:I", "PRO_CODPESQ_1:T", "PRO_DESCRICAO:T", "PRO_DESCRICAO_MENOR:T", "PRO_EAN13:T", "PRO_NCM:T",
          "PRO_CEST:T", "PRO_CST:T", "PRO_CSOSN:T", "PRO_ICMS_ORIGEM:T", "PRO_SI_TRIB_ORVEL:T", "PRO_ST_TRIB:T",
          "PRO_REG_ICMS:T", "PRO_TIPOLISTA:T", "PRO_ALIQ_ICMS:N", "PRO_ALIQ_ICMS_FORA:N", "PRO_ALIQ_ICMS_NCONT:N",
          "PRO_ALIQ_ICMS_FORA_NCONT:N", "PRO_PER_REDUC:N", "PRO_PER_REDUC_FORA:N", "PRO_PER_REDUC_NCONT:N",
          "PRO_PER_REDUC_FORA_NCONT:N", "PRO_ALIQ_IMP:T", "PRO_PRECO01:N", "PRO_PRECO02:N", "PRO_PRECO03:N",
          "PRO_PRECO04:N", "PRO_PRECO05:N", "PRO_PRECO06:N", "PRO_PRECO07:N", "PRO_PRECO08:N", "PRO_PRECO09:N",
          "PRO_PRECO10:N", "PRO_PRECO11:N", "PRO_PRECO12:N", "PRO_PRECO13:N", "PRO_PRECO14:N", "PRO_PRECO_CUSTO:N",
          "PRO_PRECO_COMPRA:N", "PRO_ESTQ_ATUAL:N", "PRO_ESTQ_RESERVADO:N", "PRO_DESC_MAX:N", "PRO_ALT_PRECO:T",
          "PRO_BALANCA:T", "PRO_NPERM_FRACIONADO:T", "PRO_NPERM_SEMESTOQ:T", "PRO_PERSONALIZADO:T", "PRO_IMP_COZINHA:T",
          "PRO_IMP_BAR:T", "PRO_IMP_PIZZA:T", "PRO_IMP_CHURRASQUEIRA:T", "PRO_LOCALIZACAO:T", "CODPRODUTOGRUPO:I",
          "CODPRODUTOGRUPOSUBGRP:I", "CODMARCA:I", "CODFABRICANTE:I", "CODPRODUTOGRAU:I", "CODPRODUTOCATESP:I",
          "CODCLASSFISCAL:I", "CODPRODUTOUNIDADE:I", "CODCFOP:T"}},
        {"PRODUTO_UNIDADE", {"CODPRODUTOUNIDADE:I", "CODPRODUTO:I", "PROU_SIGLA:T"}},
        {"SERVICOS", {"CODSERVICO:I", "SER_DESCRICAO:T", "CODUNIDADE:I"}},
        {"PRODUTO_GRUPO", {"CODPRODUTOGRUPO:I", "PROG_DESCRICAO:T", "PROG_COR:T", "PROG_IMG:T"}},
        {"PRODUTO_GRUPO_SUBGRP", {"CODPRODUTOGRUPOSUBGRP:I", "CODPRODUTOGRUPO:I", "PROGS_DESCRICAO:T", "PROGS_ORDEM:I"}},
        {"PRODUTO_COMPOSICAO", {"CODPRODUTO:I", "CODPRODUTOFILHO:I"}},
        {"PRODUTO_PERSONALIZACAO", {"CODPRODUTOPERSONALIZACAO:I", "CODPRODUTO:I", "CODGRUPOPERSONALIZACAO:I"}},
        {"GRUPO_PERSONALIZACAO_ITEM", {"CODGRUPOPERSONALIZACAOITEM:I", "CODGRUPOPERSONALIZACAO:I", "CODPRODUTO:I"}},
        {"PRODUTO_RESERVA", {"CODPRODUTO:I", "CODPEDVENDAITEM:I", "PROR_QTDE:N"}},
        {"PRODUTO_CATESP", {"CODPRODUTOCATESP:I", "PROC_SIGLA:T", "PROC_CODIGO:T"}},
        {"PRODUTO_GRAU", {"CODPRODUTOGRAU:I", "PRODG_DESCRICAO:T"}},
        {"CLASS_FISCAL", {"CODCLASSFISCAL:I", "CLA_REFERENCIA:T"}},
        {"MARCA", {"CODMARCA:I", "MAR_DESCRICAO:T"}},
        {"CFOP", {"CODCFOP:T", "CFOP_DESCRICAO:T", "CFOP_CLASSIFICACAO:T", "CFOP_TIPO:T", "CFOP_GERAFINANCEIRO:T"}},
        {"SERIE", {"CODSERIE:T", "SER_DESCRICAO:T", "SER_SEQ:I", "SER_TIPO:T", "SER_ATIVO:T", "SER_SERIE_NFE:T", "CODPARGERAL:I"}},
        {"FORMAPAGAMENTO", {"CODFORMAPAGAMENTO:I", "FPG_DESCRICAO:T", "CODMOEDA:I"}},
        {"MOEDA", {"CODMOEDA:I", "MOE_DESCRICAO:T", "MOE_NFE_PAG:T", "MOE_NFE_BAND:T", "MOE_NFE_INTEGRADO:T"}},
        {"VENDEDOR", {"CODVENDEDOR:I", "VEN_NOME:T"}},
        {"BANCO", {"CODBANCO:I", "BAN_DESCRICAO:T"}},
        {"CENTCUSTO", {"CODCENTCUSTO:I"}},
        {"CONTAS",
         {"CODCONTA:I", "CODNFVENDA:I", "CODSERIE:T", "CODNFCOMPRA:I", "CODPESSOA:I", "CODMOEDA:I", "CODCENTCUSTO:I",
          "CODFORMAPAGAMENTO:I", "CON_NUMDOC:T", "CON_NUMDOC_BOLETO:T", "CON_PARCELA:T", "CON_DTVENC:D",
          "CON_VLRPARCELA:N", "CON_VLRTOTAL:N", "CON_VLRPAGO:N", "CON_STATUS:T"}},
        {"CONTAS_BAIXAS", {"CODCONTABAIXA:I", "CODCONTA:I", "CODBANCO:I", "COBX_DTPAG:D", "COBX_VLRPAGO:N"}},
        {"NFCOMPRA",
         {"CODNFCOMPRA:I", "NFC_DATA_EMI:D", "NFC_TOTAL_NOTA:N", "CODPESSOA:I", "NFC_NRNOTA:T", "CODCENTCUSTO:I",
          "CODFORMAPAGAMENTO:I"}},
        {"DAV",
         {"CODDAV:I", "CODPESSOA:I", "CODVENDEDOR:I", "CODVENDEDOR_EXTERNO:I", "CODFORMAPAGAMENTO:I", "DAV_DATA:S",
          "DAV_STATUS:T", "DAV_TOTALPROD:N", "DAV_DESCONTO:N", "DAV_ACRESCIMO:N", "DAV_TOTAL:N", "DAV_COO:T",
          "DAV_IMPRESSO:T", "DAV_MARCA:T", "DAV_MODELO:T", "DAV_ANO:T", "DAV_PLACA:T", "DAV_RENAVAM:I", "DAV_DESC_PROD:T",
          "PECF_CPFCNPJ:T"}},
        {"DAV_ITEM",
         {"CODDAVITEM:I", "CODDAV:I", "CODPRODUTO:I", "CODPESQ:T", "DAVI_ITEM:I", "DAVI_QTDE:N", "DAVI_VLRUNIT:N",
          "DAVI_DESCONTO:N", "DAVI_TOTAL:N", "DAVI_CANCELADO:T", "DAVI_DT_CAD:S"}},
        {"PREVENDA",
         {"CODPREVENDA:I", "CODPESSOA:I", "CODVENDEDOR:I", "CODVENDEDOR_EXTERNO:I", "CODFORMAPAGAMENTO:I", "PREV_DATA:S",
          "PREV_STATUS:T", "PREV_TOTALPROD:N", "PREV_DESCONTO:N", "PREV_ACRESCIMO:N", "PREV_TOTAL:N", "PREV_COO:I",
          "PREV_MD5:T", "CODDAV:I", "PECF_CPFCNPJ:T", "DAV_MARCA:T", "DAV_MODELO:T", "DAV_ANO:T", "DAV_PLACA:T",
          "DAV_RENAVAM:I"}},
        {"PREVENDA_ITEM",
         {"CODPREVENDAITEM:I", "CODPREVENDA:I", "CODPRODUTO:I", "CODPESQ:T", "PREVI_QTDE:N", "PREVI_DESCONTO:N",
          "PREVI_VLRUNIT:N", "PREVI_TOTAL:N", "PREVI_ITEM:I", "PREVI_CANCELADO:T", "PREVI_MD5:T", "PREVI_DT_CAD:S",
          "CODPREV_ORIGEM:I"}},
        {"PEDECF", {"CODPEDECF:I", "CODPESSOA:I", "CODPEDVENDA:I", "PECF_DATA:S", "PECF_STATUS:T", "PECF_NUMECF:I",
                    "PECF_COO:I", "PECF_CCF:I", "PECF_TOTAL:N",
                    // the restaurant order a quick sale closed
                    "CODPEDIDO:I"}},
        {"PEDECF_ITEM", {"CODPEDECFITEM:I", "CODPEDECF:I", "CODPRODUTO:I", "CODPAFPRODUTO:I", "PECFI_ITEM:I",
                         "PECFI_QTDE:N", "PECFI_VLRUNIT:N", "PECFI_TOTAL:N", "PECFI_DESCRICAO:T"}},
        {"PEDECF_PAGAMENTO", {"CODPEDECFPAGAMENTO:I", "CODPEDECF:I", "CODMOEDA:I", "PECFP_VALOR:N", "PECFP_TROCO:N"}},
        {"PAR_GERAL",
         {"CODEMPRESA:I", "PARG_EMPRESA:T", "PARG_CPFCGC:T", "PARG_TELEFONE:T", "PARG_ENDERECO:T", "PARG_BAIRRO:T",
          "PARG_CIDADE:T", "PARG_UF:T", "PARG_SISTEMA_EXCLUSIVO:T"}},
        {"PAR_VENDA",
         {"CODPARVENDA:I", "CODPESSOA_DEFAULT:I", "CODBANCO_PRINCIPAL:I", "CODBANCO_SECUNDARIO:I", "CODVENDEDOR_INT:I",
          "CODVENDEDOR_EXT:I", "PARV_IT_DESC_1:N", "PARV_IT_DESC_2:N", "PARV_IT_DESC_3:N", "PARV_IT_DESC_4:N",
          "PARV_IT_DESC_SENHA_1:T", "PARV_IT_DESC_SENHA_2:T", "PARV_IT_DESC_SENHA_3:T", "PARV_IT_DESC_SENHA_4:T",
          "PARV_QTDE_PROD_PRECO:T", "PARV_PREC_PROD_RO:T", "PARV_FECHAMENTO_TIPO:T", "PARV_ECF:T"}},
        {"RES_CONTROLE", {"CODCONTROLE:I", "CON_STATUS:T", "CON_COBRAR_SERVICO:T", "CON_SALDO:N", "CON_EAN:T", "CODPESSOA:I"}},
        // The restaurant tables, whole and in their stored order.
        {"RES_PEDIDO",
         {"CODPEDIDO:I", "CODCONTROLE:I", "PED_STATUS:T10", "PED_DATA:S", "PED_TOTAL:N", "CODGARCON:I",
          "PED_QTDE_COVERT:I", "PED_IMPRESSO:T1", "PED_DESC_VLR:N", "PED_ACRESCIMO:N", "PED_DATA_FINAL:S",
          "PED_QTDE_PESSOA:I", "PED_DT_ULT_MOV:S", "PED_MD5:T32", "PED_TOTPROD:N", "PED_COO:I", "PED_NUMECF:I",
          "PED_CER:I", "CODPESSOA:I"}},
        {"RES_PEDIDO_ITEM",
         {"CODPEDIDOITEM:I", "CODPEDIDO:I", "CODPRODUTO:I", "CODPESQUISA:T20", "CODGARCON:I", "PEDI_QTDE:N",
          "PEDI_VLRUNIT:N", "PEDI_TOTAL:N", "PEDI_STATUS:T10", "PEDI_LAN_USUARIO:T30", "PEDI_LAN_DATA:S",
          "PEDI_CAN_USUARIO:T30", "PEDI_CAN_MOTIVO:T100", "PEDI_CAN_DATA:S", "PEDI_OBS:T100", "AUX:T1",
          "CODPEDIDOITEM_PERSON:I", "CODCONTROLE_ORIGEM:I"}},
        {"RES_PEDIDO_CONTA", {"CODPEDIDOCONTA:I", "CODPEDIDO:I", "CODMOEDA:I", "PEDC_VALOR:N"}},
        {"RES_PEDIDO_ITEM_PERSO",
         {"CODRESPEDIDOITEMPERSO:I", "CODPEDIDOITEM:I", "CODPRODUTO:I", "CODGRUPOPERSONALIZACAO:I", "PEDI_VLRUNIT:N",
          "CODPEDIDO:I"}},
        {"RES_GARCON", {"CODGARCON:I", "GAR_NOME:T60", "GAR_SENHA:T20", "GAR_PERC:N", "GAN_ENTREGADOR:T1"}},
        {"PAR_RESTAURANTE",
         {"CODPARRESTAURANTE:I", "PARR_TRABALHAR_REST:T1", "PARR_CONTROLE_NOME:T", "PARR_VLR_SERVICO:N",
          "PARR_VLR_COVERT:N", "PARR_IMP_COZINHA:T", "PARR_IMP_BAR:T", "PARR_IMP_PIZZA:T", "PARR_IMP_CHURRASQUEIRA:T",
          "PARR_IMP_EXTRATO:T", "PARR_IMPRIMIR_IEIM:T1", "PARR_SELECIONAR_GARCON:T1", "PARR_CODPESQ_VENDA:T1",
          "PARR_SOMENTE_DURACAO:T1"}},
        {"RES_PEDIDO_COZINHA",
         {"CODRESPEDIDOCOZINHA:I", "CODPEDIDO:I", "CODPEDIDOITEM:I", "CODPEDVENDA:I", "CODRESPEDIDOITEM:I",
          "RESPC_PEDVENDA:T1", "RESPC_STATUS:T", "RESPC_DT_CAD:S", "RESPC_DT_ATENDIDO:S"}},
        {"RES_IMPRESSAO",
         {"CODRESIMPRESSAO:I", "IMP_USUARIO:T20", "IMP_CENTRALIZADOR:T25", "IMP_TEXTO:B", "CODCONTROLE:I",
          "IMP_TITULO:T40", "IMP_DATA:S", "IMP_STATUS:T", "IMP_DATA_IMPRESSO:S"}},
        {"PEDVENDA", {"CODPEDVENDA:I", "CODPESSOA:I", "CODGARCONENTREGADOR:I"}},
        {"PEDVENDA_ITEM", {"CODPEDVENDAITEM:I", "CODPEDVENDA:I", "CODPRODUTO:I"}},
        // The invoice tables are listed whole and in their stored order (see invoiceTables).
        {"NFVENDA",
         {"CODNFVENDA:I", "CODSERIE:T3", "CODPESSOA:I", "CODFORMAPAGAMENTO:I", "CODCFOP:T4", "NFV_TIPO:T1",
          "NFV_DTEMISSAO:D", "NFV_SELO_FISCAL:T20", "NFV_ICMS_BASE:N", "NFV_ICMS_ALIQ:N", "NFV_ICMS:N",
          "NFV_ISS_BASE:N", "NFV_ISS:N", "NFV_IPI:N", "NFV_ISS_ALIQ:I", "NFV_FRETE:N", "NFV_TOTAL_PRODUTOS:N",
          "NFV_TOTAL_NOTA:N", "NFV_OBS:B", "NFV_OBS_ADICIONAIS:B", "NFV_STATUS:T15", "NFV_GER_FINANCEIRO:T1",
          "NFV_VOLUMES:N", "NFV_PIS_PERC:N", "NFV_COFINS_PERC:N", "NFV_CS_PERC:N", "NFV_ISS_PERC:N", "NFV_IR_PERC:N",
          "NFV_INSS_PERC:N", "NFV_OUTROS_PERC:N", "NFV_OBS_CANCELAMENTO:T150", "NFV_OBS_INTERNA:T150",
          "NFV_ALTERAR_BASE_ICMS:T1", "NFV_BAIXA_ESTOQUE:T1", "NFV_ICMS_SUBST_BASE:N", "NFV_ICMS_SUBST:N",
          "NFV_IR_VLR:N", "NFV_INSS_VLR:N", "NFV_NFE_NREC:T30", "NFV_NFE_NPROT:T30", "NFV_XML_ENVIADO:B",
          "NFV_XML_RETORNO:B", "NFV_XML_CANC_RETORNO:B", "NFV_NFE_CANC_NPROT:T30", "NFV_DESCVLR:N", "NFV_TP_FRETE:T3",
          "CODTRANSPORTADORA:I", "NFV_QTD_VOL:I", "NFV_ESP:T15", "NFV_MARCA:T15", "NFV_NR_VOL:T15",
          "NFV_PESO_BRUTO:N", "NFV_PESO_LIQUIDO:N", "NFV_UF_EMB:T2", "NFV_LOCAL_EMB:T50", "NFV_ENTREGUE:T1",
          "CODVENDEDOR:I", "NFV_ACRESCIMO:N", "NFV_FINALIDADE_EMISSAO:T1", "NFV_RECEB_NOME:T60", "NFV_RECEB_RG:T20",
          "NFV_RECEB_DATA:D", "NFV_RECEB_HORA:H", "CODNFVENDA_DEV:I", "CODSERIE_DEV:T3", "CODPARGERAL:I",
          "CODNFCOMPRA_DEV:I", "NFV_REFNFE:T44", "NFV_NFE_EMISSAO:S", "CODPEDECF:I", "NFV_PLACA:T8",
          "NFV_PLACA_UF:T2", "CODCAIXAABERTURA:I", "NFV_CNF:I", "NFV_NAOZERARICMS:T1",
          // the billing stamp
          "NFV_DATA_FATURAMENTO:D", "NFV_USUARIO_FATURAMENTO:T"}},
        {"NFVENDA_ITEM",
         {"CODNFVENDAITEM:I", "CODNFVENDA:I", "CODSERIE:T3", "CODPRODUTO:I", "CODSERVICO:I", "NFVI_CATEGORIA:T8",
          "NFVI_VLR_UNITARIO:N", "NFVI_QTDE:N", "NFVI_TOTAL:N", "NFVI_IPI:N", "NFVI_ALIQ_IPI:I", "NFVI_ICMS:N",
          "NFVI_ICMS_BASE:N", "NFVI_ALIQ_ICMS:N", "CODPRODUTOUNIDADE_NFVI:I", "NFVI_QTDE_UND:N", "NFVI_VLR_UND:N",
          "NFVI_VALIDADE:D", "NFVI_VLRDESC:N", "NFVI_PERDESC:N", "NFVI_TOTAL_DESCONTO:N", "NFVI_NUMLOTE:T20",
          "CODPEDVENDAITEM:I", "NFVI_QTDE_ENTREGUE:N", "NFVI_CUSTO_PRODUTO:N", "NFVI_PRECO_COMPRA:N",
          "NFVI_DI_NUMERO:T25", "NFVI_DI_DATA_REGISTRO:D", "NFVI_DI_DATA_DESEMB:D", "NFVI_DI_LOCAL_DESEMB:T30",
          "NFVI_DI_UF_DESEMB:T2", "NFVI_DI_COD_EXPORTADOR:T20", "NFVI_II_VLR:N", "NFVI_II_BC:N",
          "NFVI_II_DESP_ADUANEIRAS:N", "NFVI_IOF_VLR:N", "NFVI_CST:T3", "NFVI_SUBST_BC:N", "NFVI_SUBST_VLR:N",
          "CODLICITACAOCONTRATOITEM:I", "CODCFOP:T4", "NFVI_MOD_BC:T1", "NFVI_CST_IPI:T2", "NFVI_ALTERAR_IPI:T1",
          "NFVI_PIS_VLR:N", "NFVI_PIS_PER:N", "NFVI_PIS_BC:N", "NFVI_PIS_CST:T3", "NFVI_COFINS_VLR:N",
          "NFVI_COFINS_PER:N", "NFVI_COFINS_BC:N", "NFVI_COFINS_CST:T3", "NFVI_TIPOPRECO:T2", "NFVI_PER_REDUC:N",
          "NFVI_CSOSN:T3", "CODPESSOA_FORNECEDOR:I", "NFVI_ALIQ_ICMS_FORA:N", "NFVI_CEST:T10", "NFVI_FCP_ALIQ:N",
          "NFVI_BCSTRET:N", "NFVI_ST:N", "NFVI_ICMSSUBSTITUTO:N", "NFVI_ICMSSTRET:N"}},
        {"NFVENDA_SERVICO",
         {"CODNFVENDASERVICO:I", "CODNFVENDA:I", "CODSERIE:T3", "NFVS_DESCRICAO:T300", "NFVS_QTDE:N",
          "NFVS_VLR_UNITARIO:N", "NFVS_TOTAL:N", "NFVS_UNIDADE:T5"}},
        {"NFVENDA_CCE",
         {"CODNFVENDACCE:I", "CODNFVENDA:I", "CODSERIE:T3", "NFVC_SEQUENCIAL:I", "NFVC_DATA:S", "NFVC_CORRECAO:T1000",
          "NFVC_XML_ENVIO:B", "NFVC_XML_RECEBIDO:B", "NFVC_STATUS:T10", "NFVC_NPROT:T30", "NFVC_MOTIVO:T60"}},
        {"LICITACAO_CONTRATO", {"CODLICITACAOCONTRATO:I", "CODPESSOA:I"}},
        {"LICITACAO_CONTRATO_ITEM",
         {"CODLICITACAOCONTRATOITEM:I", "CODLICITACAOCONTRATO:I", "CODPRODUTO:I", "CODPRODUTOUNIDADE:I",
          "LICCI_DATA_INICIO:D", "LICCI_DATA_VALIDADE:D", "LICCI_PRAZO_ENTREGA", "LICCI_PROCESSO:T", "LICCI_QTDE:N",
          "LICCI_QTDE_FAT:N", "LICCI_QTDE_LIMITE:N", "LICCI_TIPO_PROCESSO:T", "LICCI_VLRUNIT:N"}},
    };
    return t;
}

const QStringList geradores{"GEN_PESSOA", "GEN_PRODUTO", "GEN_PRODUTO_UNIDADE", "GEN_DAV", "GEN_DAV_ITEM",
                            "GEN_PREVENDA", "GEN_PREVENDA_ITEM", "GEN_PAR_VENDA", "GEN_CONTAS", "GEN_CONTAS_BAIXAS",
                            "GEN_NFVENDA_CNF", "GEN_NFVENDA_ITEM", "GEN_NFVENDA_SERVICO", "GEN_NFVENDA_CCE",
                            "GEN_RES_PEDIDO", "GEN_RES_PEDIDO_ITEM", "GEN_RES_PEDIDO_CONTA", "GEN_RES_PEDIDO_ITEM_PERSO",
                            "GEN_RES_GARCON", "GEN_PAR_RESTAURANTE", "GEN_RES_PEDIDO_COZINHA", "GEN_RES_IMPRESSAO",
                            "GEN_PEDECF", "GEN_PEDECF_ITEM", "GEN_PEDECF_PAGAMENTO"};

// Tables whose list above is complete and in the order of their columns.
const QStringList tabelasEmOrdem{"NFVENDA",          "NFVENDA_ITEM",     "NFVENDA_SERVICO",      "NFVENDA_CCE",
                                 "LICITACAO_CONTRATO_ITEM", "RES_PEDIDO", "RES_PEDIDO_ITEM", "RES_PEDIDO_CONTA",
                                 "RES_PEDIDO_ITEM_PERSO",   "RES_GARCON", "PAR_RESTAURANTE"};

QChar tipoDe(int tipo, int escala) {
    switch (tipo) {
    case 7: case 8: case 16: return escala < 0 ? u'N' : u'I';
    case 14: case 37: return u'T';
    case 12: return u'D';
    case 13: return u'H';
    case 35: return u'S';
    case 261: return u'B';
    default: return u'?';
    }
}

struct Coluna {
    QChar tipo;
    int tamanho; // characters of a text column
};

QList<QPair<QString, Coluna>> colunasDe(Database& db, const QString& tabela) {
    auto rs = db.query(QStringLiteral("select trim(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, coalesce(f.RDB$FIELD_SCALE, 0), "
                                      "coalesce(f.RDB$CHARACTER_LENGTH, 0) from RDB$RELATION_FIELDS rf join RDB$FIELDS f "
                                      "on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE where rf.RDB$RELATION_NAME = :T "
                                      "order by rf.RDB$FIELD_POSITION"),
                       {{QStringLiteral("T"), tabela}});
    QList<QPair<QString, Coluna>> out;
    for (rs->first(); !rs->eof(); rs->next())
        out.append({rs->field(0).asString(),
                    Coluna{tipoDe(int(rs->field(1).asInteger()), int(rs->field(2).asInteger())),
                           int(rs->field(3).asInteger())}});
    return out;
}

// "TABLE.COLUMN" for each listed column that is missing, of another kind or
// of another text size.
QStringList diferencas(Database& db) {
    QStringList erros;
    for (const Tabela& t : tabelas()) {
        QHash<QString, Coluna> existentes;
        for (const auto& [nome, coluna] : colunasDe(db, QString::fromLatin1(t.nome)))
            existentes.insert(nome, coluna);
        for (const QString& c : t.colunas) {
            const QString nome = c.section(u':', 0, 0), tipo = c.section(u':', 1);
            const QString onde = QString::fromLatin1(t.nome) + u'.' + nome;
            if (!existentes.contains(nome)) {
                erros << onde + QStringLiteral(" não existe");
                continue;
            }
            const Coluna existe = existentes.value(nome);
            if (!tipo.isEmpty() && existe.tipo != tipo[0])
                erros << onde + QStringLiteral(" é do tipo ") + existe.tipo + QStringLiteral(", esperado ") + tipo;
            else if (tipo.size() > 1 && existe.tamanho != tipo.mid(1).toInt())
                erros << onde + QStringLiteral(" tem ") + QString::number(existe.tamanho) +
                             QStringLiteral(" caracteres, esperado ") + tipo.mid(1);
        }
    }
    return erros;
}

// Per table of tabelasEmOrdem whose columns differ from its list: expected and found.
QStringList foraDeOrdem(Database& db) {
    QStringList erros;
    for (const Tabela& t : tabelas()) {
        if (!tabelasEmOrdem.contains(QString::fromLatin1(t.nome)))
            continue;
        QStringList esperado, achado;
        for (const QString& c : t.colunas)
            esperado << c.section(u':', 0, 0);
        for (const auto& [nome, coluna] : colunasDe(db, QString::fromLatin1(t.nome)))
            achado << nome;
        if (achado != esperado)
            erros << QString::fromLatin1(t.nome) + QStringLiteral(": esperado ") + esperado.join(u',') +
                         QStringLiteral("; achado ") + achado.join(u',');
    }
    return erros;
}

QStringList parametrosDoProcedimento(Database& db, const QString& nome, int tipo) {
    auto rs = db.query(QStringLiteral("select trim(RDB$PARAMETER_NAME) from RDB$PROCEDURE_PARAMETERS where "
                                      "RDB$PROCEDURE_NAME = :P and RDB$PARAMETER_TYPE = :T order by RDB$PARAMETER_NUMBER"),
                       {{QStringLiteral("P"), nome}, {QStringLiteral("T"), tipo}});
    QStringList out;
    for (rs->first(); !rs->eof(); rs->next())
        out << rs->field(0).asString();
    return out;
}
QStringList saidasDoProcedimento(Database& db, const QString& nome) { return parametrosDoProcedimento(db, nome, 1); }
QStringList entradasDoProcedimento(Database& db, const QString& nome) { return parametrosDoProcedimento(db, nome, 0); }

QStringList colunasDaPesquisa(TwbtPesquisa& pesquisa, const QVariant& chave) {
    QStringList out;
    if (!pesquisa.Localizar(chave, false))
        return {QStringLiteral("(a pesquisa não achou ") + chave.toString() + u')'};
    for (int i = 0; i < pesquisa.encontrado()->fieldCount(); ++i)
        out << pesquisa.encontrado()->field(i).name();
    return out;
}

class SchemaContract : public ::testing::Test {
protected:
    test::TestDatabase t;
};

} // namespace

TEST_F(SchemaContract, TablesColumnsAndGeneratorsTheScreensRead) {
    const QStringList erros = diferencas(t.db());
    EXPECT_TRUE(erros.isEmpty()) << erros.join(u'\n').toStdString();
    for (const QString& g : geradores)
        EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RDB$GENERATORS where RDB$GENERATOR_NAME = :G"),
                            {{QStringLiteral("G"), g}})
                      .toInt(),
                  1)
            << g.toStdString() << " não existe";
}

TEST_F(SchemaContract, InvoiceColumnsInTheirStoredOrder) {
    const QStringList erros = foraDeOrdem(t.db());
    EXPECT_TRUE(erros.isEmpty()) << erros.join(u'\n').toStdString();
}

TEST_F(SchemaContract, ProcedureResultsInOrder) {
    const QStringList unidades = saidasDoProcedimento(t.db(), QStringLiteral("STP_CONS_PRODUTO_UNIDADE"));
    EXPECT_EQ(unidades.mid(0, 3), (QStringList{"CODPRODUTOUNIDADE", "PROU_SIGLA", "QTDE"}))
        << "STP_CONS_PRODUTO_UNIDADE devolve " << unidades.join(u',').toStdString();
    const QStringList mapa = saidasDoProcedimento(t.db(), QStringLiteral("STP_RES_MENU_RESTAURANTE_TELA"));
    EXPECT_EQ(mapa, (QStringList{"CODCONTROLE", "CON_STATUS", "PED_IMPRESSO", "DT_ULT_MOV", "DATAATUAL", "CODPEDIDO"}))
        << "STP_RES_MENU_RESTAURANTE_TELA devolve " << mapa.join(u',').toStdString();
}

// The restaurant procedures take what the screens pass, in that order.
TEST_F(SchemaContract, RestaurantProcedureParametersInOrder) {
    const QList<QPair<QString, QStringList>> esperados{
        {"STP_RES_CANCELAR", {"CODPEDIDO", "USUARIO", "DATA"}},
        {"STP_RES_TRANS", {"ORIGEM", "DESTINO", "DATA", "USUARIO"}},
        {"STP_RES_TRANS_ITEM", {"CODPEDIDOITEM", "DESTINO", "DATA", "USUARIO", "QTDE"}},
        {"STP_RES_TRANS_ITEM_MOTIVO", {"CODPEDIDOITEM", "DESTINO", "DATA", "USUARIO", "QTDE", "MOTIVO"}},
        {"STP_RES_PEDIDO_VERIFICAR", {"CODPEDIDO", "CODCONTROLE"}},
        {"STP_REST_AVALIA_CONTROLE", {"CODCONTROLE"}},
        {"STP_RES_CONTROLE_MOVIMENTACAO", {"CODCONTROLE", "VALOR", "TIPO", "HISTORICO"}},
        {"STP_REST_IMPRESSAO", {"IMP_USUARIO", "IMP_CENTRALIZADOR", "IMP_TEXTO", "CODCONTROLE", "IMP_TITULO"}},
    };
    for (const auto& [nome, parametros] : esperados) {
        auto rs = t->query(QStringLiteral("select trim(RDB$PARAMETER_NAME) from RDB$PROCEDURE_PARAMETERS where "
                                          "RDB$PROCEDURE_NAME = :P and RDB$PARAMETER_TYPE = 0 order by RDB$PARAMETER_NUMBER"),
                           {{QStringLiteral("P"), nome}});
        QStringList achados;
        for (rs->first(); !rs->eof(); rs->next())
            achados << rs->field(0).asString();
        EXPECT_EQ(achados, parametros) << nome.toStdString() << " recebe " << achados.join(u',').toStdString();
    }
}

// The posting procedures are called with positional arguments.
TEST_F(SchemaContract, PostingProceduresTakeTheirArgumentsInOrder) {
    const std::pair<const char*, QStringList> procedimentos[] = {
        {"STP_NFVENDA_FATURA", {"CODNFVENDA", "CODSERIE", "FINANCEIRO", "BAIXA_ESTOQUE", "LOTE"}},
        {"STP_NTCREDITO_ADD", {"CODPESSOA", "NTC_TIPO", "VALOR", "CODBANCO", "NTC_USUARIO"}},
        {"STP_NFVENDA_CANCELA", {"CODNFVENDA", "CODSERIE", "LOTE"}},
        {"STP_NFVENDA_REABRIR", {"CODNFVENDA", "CODSERIE", "LOTE"}}};
    for (const auto& [nome, entradas] : procedimentos)
        EXPECT_EQ(entradasDoProcedimento(t.db(), QLatin1String(nome)), entradas) << nome;
}

TEST_F(SchemaContract, SearchColumnsInTheOrderTheyAreCopied) {
    t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME) values (1, 'A')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (1, '1', 'CAFE')"));
    t->executeSQL(QStringLiteral("insert into CFOP (CODCFOP, CFOP_DESCRICAO) values ('5102', 'Venda')"));
    t->executeSQL(QStringLiteral("insert into VENDEDOR (CODVENDEDOR, VEN_NOME) values (1, 'Ana')"));
    TdmProduto produtos(t.db());
    QStringList esperado{"PRO_DESCRICAO", "CODPRODUTO", "PRO_PRECO01", "PRO_ALT_PRECO", "PRO_IMP_COZINHA",
                         "PRO_ESTQ_ATUAL", "PRO_IMP_BAR", "PRO_IMP_PIZZA", "PRO_IMP_CHURRASQUEIRA"};
    const QStringList produto = colunasDaPesquisa(produtos.pesquisa(), QStringLiteral("1"));
    EXPECT_EQ(produto.mid(0, esperado.size()), esperado) << "pesquisa de produtos: " << produto.join(u',').toStdString();
    for (int n = 1; n <= 14; ++n) // the price types read any of them
        EXPECT_TRUE(produto.contains(TdmProduto::campoPreco(n))) << TdmProduto::campoPreco(n).toStdString();
    const QStringList detalhe = colunasDaPesquisa(produtos.pesquisaDetalhe(), QStringLiteral("1"));
    esperado = QStringList{"PRO_ALIQ_ICMS", "MAR_DESCRICAO", "PRO_REG_ICMS", "PRO_TIPOLISTA", "PRO_PRECO01", "PRO_NCM",
                           "PRO_ESTQ_RESERVADO", "PRO_ESTQ_ATUAL", "PRO_PRECO_CUSTO", "PRO_PRECO_COMPRA", "PRO_CSOSN",
                           "PRO_CEST"};
    EXPECT_EQ(detalhe.mid(0, esperado.size()), esperado) << "pesquisa detalhada: " << detalhe.join(u',').toStdString();

    TdmPessoa pessoas(t.db());
    esperado = QStringList{"PES_NOME", "PES_CPFCNPJ", "PES_CONTATOS", "PES_RAZAO_SOCIAL", "PES_ENDERECO", "PES_BAIRRO",
                           "PES_CIDADE", "PES_UF", "PES_CEP", "PES_TELEFONE", "PES_IE", "PES_NOME_2", "PES_EMAIL",
                           "PES_EMAIL_NFE"};
    const QStringList pessoa = colunasDaPesquisa(pessoas.pesquisa(), 1);
    EXPECT_EQ(pessoa.mid(0, esperado.size()), esperado) << "pesquisa de pessoas: " << pessoa.join(u',').toStdString();
    esperado = QStringList{"TRA_RAZAO_SOCIAL", "TRA_NOME", "TRA_CPFCNPJ", "TRA_ENDERECO", "TRA_BAIRRO", "TRA_CIDADE",
                           "TRA_UF", "TRA_IE"};
    const QStringList transportadora = colunasDaPesquisa(pessoas.pesquisaTransportadora(), 1);
    EXPECT_EQ(transportadora.mid(0, esperado.size()), esperado)
        << "pesquisa de transportadoras: " << transportadora.join(u',').toStdString();

    TdmCfop cfops(t.db());
    esperado = QStringList{"CFOP_DESCRICAO", "CFOP_GERAFINANCEIRO", "CFOP_CLASSIFICACAO", "CFOP_TIPO", "NFV_TIPO"};
    const QStringList cfop = colunasDaPesquisa(cfops.pesquisa(), QStringLiteral("5102"));
    EXPECT_EQ(cfop.mid(0, esperado.size()), esperado) << "pesquisa de CFOP: " << cfop.join(u',').toStdString();
    TdmVendedor vendedores(t.db());
    const QStringList vendedor = colunasDaPesquisa(vendedores.pesquisa(), 1);
    EXPECT_EQ(vendedor.value(0), u"VEN_NOME") << "pesquisa de vendedores: " << vendedor.join(u',').toStdString();
}

// The check is real: a column taken away or renamed is reported by its table and name.
TEST_F(SchemaContract, AMissingColumnIsNamed) {
    // The posting procedures use the reservation's quantity: out of the way first.
    for (const char* p : {"STP_NFVENDA_CANCELA", "STP_NFVENDA_REABRIR", "STP_NFVENDA_ESTORNAR", "STP_NFVENDA_FATURA"})
        t->executeSQL(QStringLiteral("drop procedure %1").arg(QLatin1String(p)));
    t->executeSQL(QStringLiteral("alter table CONTAS drop CON_VLRPAGO"));
    t->executeSQL(QStringLiteral("alter table PRODUTO_RESERVA alter PROR_QTDE to PRODR_QTDE")); // its former name
    t->executeSQL(QStringLiteral("alter table NFVENDA_ITEM alter NFVI_TIPOPRECO to NFVI_TIPO_PRECO"));
    t->executeSQL(QStringLiteral("alter table NFVENDA_SERVICO alter NFVS_UNIDADE type varchar(10)"));
    t->executeSQL(QStringLiteral("alter table NFVENDA_CCE alter NFVC_SEQUENCIAL type numeric(18,4)"));
    const QStringList erros = diferencas(t.db());
    EXPECT_TRUE(erros.contains(QStringLiteral("CONTAS.CON_VLRPAGO não existe"))) << erros.join(u'\n').toStdString();
    EXPECT_TRUE(erros.contains(QStringLiteral("PRODUTO_RESERVA.PROR_QTDE não existe"))) << erros.join(u'\n').toStdString();
    EXPECT_TRUE(erros.contains(QStringLiteral("NFVENDA_ITEM.NFVI_TIPOPRECO não existe"))) << erros.join(u'\n').toStdString();
    EXPECT_TRUE(erros.contains(QStringLiteral("NFVENDA_SERVICO.NFVS_UNIDADE tem 10 caracteres, esperado 5")))
        << erros.join(u'\n').toStdString();
    EXPECT_TRUE(erros.contains(QStringLiteral("NFVENDA_CCE.NFVC_SEQUENCIAL é do tipo N, esperado I")))
        << erros.join(u'\n').toStdString();
    EXPECT_EQ(erros.size(), 5) << erros.join(u'\n').toStdString();
}

// Moving a column within an invoice table is caught as well.
TEST_F(SchemaContract, AnInvoiceColumnOutOfPlaceIsNamed) {
    EXPECT_TRUE(foraDeOrdem(t.db()).isEmpty());
    t->executeSQL(QStringLiteral("alter table NFVENDA alter NFV_TIPO position 1"));
    const QStringList erros = foraDeOrdem(t.db());
    ASSERT_EQ(erros.size(), 1) << erros.join(u'\n').toStdString();
    EXPECT_TRUE(erros[0].startsWith(u"NFVENDA: esperado CODNFVENDA,CODSERIE")) << erros[0].toStdString();
    EXPECT_TRUE(erros[0].contains(u"achado NFV_TIPO,CODNFVENDA")) << erros[0].toStdString();
}

// A shop's database from before the registers took these names keeps its
// units, receivables and settlements under the new ones.
TEST(SchemaMigration, RegistersKeepTheirDataUnderTheNewNames) {
    const QString antes = test::scratchFolder() + QStringLiteral("/migracoes-ate-10");
    QDir().mkpath(antes);
    for (const QFileInfo& f : QDir(QStringLiteral(":/kvo/migrations")).entryInfoList({QStringLiteral("*.sql")})) {
        if (f.fileName().left(4).toInt() <= 10 && !QFile::exists(antes + u'/' + f.fileName())) {
            ASSERT_TRUE(QFile::copy(f.filePath(), antes + u'/' + f.fileName()));
        }
    }
    ConnectionSettings s;
    s.path = test::scratchFolder() + QStringLiteral("/cadastros-antigos.fdb");
    QFile::remove(s.path);
    Database::create(s);
    Database db(s);
    db.open();
    Migrator(db, antes).migrate();
    for (const char* sql : {
             "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_ALIQ_IMP) values (1, 'A', 'Agua', 18)",
             "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_ALIQ_IMP) values (2, 'B', 'Bolo', 0)",
             "insert into PRODUTO_UNIDADE values (1, 1, 'UN', 'Unidade', 1, 'S')",
             "insert into PRODUTO_UNIDADE values (2, 1, 'CX12', 'Caixa com 12', 12, 'N')",
             "insert into SERVICOS (CODSERVICO, SER_DESCRICAO) values (1, 'Entrega')",
             "insert into CONTAS (CODCONTAS, CON_ORIGEM, CON_CODORIGEM, CON_PARCELA, CON_DTVENC, CON_VLRPARCELA, "
             "CON_VLRTOTAL, CON_SALDO) values (1, 'NFVENDA', 5, 2, '2027-01-05', 50, 100, 20)",
             "insert into CONTAS_BAIXAS (CODCONTASBAIXA, CODCONTAS, CONB_DATA, CONB_VALOR) values (1, 1, '2027-01-05', 30)"})
        db.executeSQL(QString::fromLatin1(sql));
    Migrator(db).migrate();

    auto texto = [&](const char* sql) { return db.scalar(QString::fromLatin1(sql)).toString(); };
    EXPECT_EQ(texto("select list(CODPRODUTOUNIDADE || '/' || trim(coalesce(PRO_ALIQ_IMP, '-'))) from "
                    "(select CODPRODUTOUNIDADE, PRO_ALIQ_IMP from PRODUTO order by CODPRODUTO)"),
              u"1/18,0/-");
    EXPECT_EQ(texto("select list(PROU_SIGLA || ':' || cast(QTDE as integer)) from STP_CONS_PRODUTO_UNIDADE(1)"), u"UN:1,CX12:12");
    EXPECT_EQ(texto("select CODPRODUTOUNIDADE || PROU_SIGLA from STP_CONS_PRODUTO_UNIDADE(2)"), u"0UN");
    EXPECT_EQ(texto("select u.PROU_SIGLA from SERVICOS s join PRODUTO_UNIDADE u on u.CODPRODUTOUNIDADE = s.CODUNIDADE"),
              u"UN");
    EXPECT_EQ(texto("select CODCONTA || '/' || CODNFVENDA || '/' || CON_PARCELA || '/' || cast(CON_VLRPAGO as integer) "
                    "from CONTAS"),
              u"1/5/2/30");
    EXPECT_EQ(texto("select CODCONTABAIXA || '/' || CODCONTA || '/' || cast(COBX_VLRPAGO as integer) || '/' || COBX_DTPAG "
                    "from CONTAS_BAIXAS"),
              u"1/1/30/2027-01-05");
    // The keys are keys again.
    EXPECT_THROW(db.executeSQL(QStringLiteral("insert into CONTAS_BAIXAS (CODCONTABAIXA, CODCONTA, COBX_DTPAG, COBX_VLRPAGO) "
                                              "values (2, 99, '2027-01-05', 1)")),
                 DatabaseError);
    EXPECT_THROW(db.executeSQL(QStringLiteral("insert into CONTAS (CODCONTA, CON_DTVENC, CON_VLRPARCELA, CON_VLRTOTAL, "
                                              "CON_SALDO) values (1, '2027-01-05', 1, 1, 1)")),
                 DatabaseError);
    // A product's base unit follows its main unit.
    db.executeSQL(QStringLiteral("insert into PRODUTO_UNIDADE (CODPRODUTOUNIDADE, CODPRODUTO, PROU_SIGLA, PROU_QTDE, "
                                 "PROU_PRINCIPAL) values (3, 2, 'KG', 1, 'S')"));
    EXPECT_EQ(texto("select CODPRODUTOUNIDADE from PRODUTO where CODPRODUTO = 2"), u"3");
    db.executeSQL(QStringLiteral("delete from PRODUTO_UNIDADE where CODPRODUTOUNIDADE = 3"));
    EXPECT_EQ(texto("select CODPRODUTOUNIDADE from PRODUTO where CODPRODUTO = 2"), u"0");
}

// An invoice names a real customer, CFOP and series, and its children a real invoice.
TEST_F(SchemaContract, InvoiceRowsReferToRealRows) {
    t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME) values (1, 'A')"));
    t->executeSQL(QStringLiteral("insert into CFOP (CODCFOP, CFOP_DESCRICAO) values ('5102', 'Venda')"));
    t->executeSQL(QStringLiteral("insert into SERIE (CODSERIE, SER_SEQ) values ('1', 1)"));
    const QString cabecalho = QStringLiteral("insert into NFVENDA (CODNFVENDA, CODSERIE, CODPESSOA, CODCFOP, NFV_DTEMISSAO) "
                                             "values (%1, '%2', %3, '%4', '2026-12-06')");
    t->executeSQL(cabecalho.arg(1).arg(u"1").arg(1).arg(u"5102"));
    EXPECT_THROW(t->executeSQL(cabecalho.arg(2).arg(u"9").arg(1).arg(u"5102")), DatabaseError);
    EXPECT_THROW(t->executeSQL(cabecalho.arg(3).arg(u"1").arg(7).arg(u"5102")), DatabaseError);
    EXPECT_THROW(t->executeSQL(cabecalho.arg(4).arg(u"1").arg(1).arg(u"6102")), DatabaseError);
    EXPECT_EQ(t->scalar(QStringLiteral("select NFV_STATUS || NFV_GER_FINANCEIRO || NFV_ENTREGUE || NFV_FINALIDADE_EMISSAO "
                                       "from NFVENDA"))
                  .toString(),
              u"AbertaSN1");

    const QString item = QStringLiteral("insert into NFVENDA_ITEM (CODNFVENDAITEM, CODNFVENDA, CODSERIE, NFVI_CST_IPI) "
                                        "values (%1, %2, '1', '99')");
    t->executeSQL(item.arg(1).arg(1));
    EXPECT_THROW(t->executeSQL(item.arg(2).arg(2)), DatabaseError);
    EXPECT_EQ(t->scalar(QStringLiteral("select NFVI_TIPOPRECO || NFVI_ALTERAR_IPI from NFVENDA_ITEM")).toString(), u"01N");
    EXPECT_THROW(t->executeSQL(QStringLiteral("insert into NFVENDA_SERVICO (CODNFVENDASERVICO, CODNFVENDA, CODSERIE) "
                                              "values (1, 2, '1')")),
                 DatabaseError);
    EXPECT_THROW(t->executeSQL(QStringLiteral("insert into NFVENDA_CCE (CODNFVENDACCE, CODNFVENDA, CODSERIE, "
                                              "NFVC_SEQUENCIAL) values (1, 2, '1', 1)")),
                 DatabaseError);
}
