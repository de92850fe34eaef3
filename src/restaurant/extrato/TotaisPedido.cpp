#include "restaurant/extrato/TotaisPedido.h"

#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DConfiguracao.h"

namespace kvo {

DadosExtrato dadosTotaisPedido(Database& db, TdmConfiguracao& cfg, qint64 pedido) {
    const SqlParams p{{QStringLiteral("P"), pedido}};
    DadosExtrato d;
    d.pedido = pedido;
    auto cab = db.query(QStringLiteral("select CODCONTROLE, PED_DESC_VLR, PED_QTDE_PESSOA, PED_QTDE_COVERT, "
                                       "PED_ACRESCIMO from RES_PEDIDO where CODPEDIDO = :P"),
                        p);
    if (!cab->isEmpty()) {
        d.mesa = int(cab->field(QStringLiteral("CODCONTROLE")).asInteger());
        AjustesExtrato& a = d.ajustes;
        a.desconto = cab->field(QStringLiteral("PED_DESC_VLR")).asCurrency();
        a.pessoas = int(cab->field(QStringLiteral("PED_QTDE_PESSOA")).asInteger());
        a.couverts = int(cab->field(QStringLiteral("PED_QTDE_COVERT")).asInteger());
        a.servico = a.servicoOriginal = cab->field(QStringLiteral("PED_ACRESCIMO")).asCurrency();
    }
    auto pagos = db.query(QStringLiteral("select PEDC_VALOR from RES_PEDIDO_CONTA where CODPEDIDO = :P"), p);
    for (pagos->first(); !pagos->eof(); pagos->next())
        d.ajustes.pago += pagos->field(0).asCurrency();
    auto linhas = db.query(QStringLiteral("select i.CODPRODUTO, r.PRO_CODPESQ_1, r.PRO_DESCRICAO, i.PEDI_VLRUNIT, "
                                          "i.PEDI_QTDE, i.PEDI_TOTAL from RES_PEDIDO_ITEM i join PRODUTO r on "
                                          "r.CODPRODUTO = i.CODPRODUTO where i.CODPEDIDO = :P and "
                                          "i.PEDI_STATUS = 'NORMAL' order by i.CODPEDIDOITEM"),
                           p);
    for (linhas->first(); !linhas->eof(); linhas->next()) {
        LinhaExtrato l;
        l.codProduto = linhas->field(0).asInteger();
        l.codPesquisa = linhas->field(1).asString().trimmed();
        l.descricao = linhas->field(2).asString().trimmed();
        l.vlrUnit = linhas->field(3).asCurrency();
        l.qtde = linhas->field(4).asCurrency();
        l.total = linhas->field(5).asCurrency();
        d.linhas << l;
    }
    auto par = db.query(
        QStringLiteral("select first 1 PARR_VLR_COVERT from PAR_RESTAURANTE order by CODPARRESTAURANTE"));
    if (!par->isEmpty())
        d.valorCouvert = par->field(0).asCurrency();
    d.comprovanteTaxa = cfg.getStr(QStringLiteral("REST.COMP.TX")) == QLatin1String("S");
    d.produtoEntrega = cfg.getStr(QStringLiteral("RES.ENTR.PROD"));
    return d;
}

} // namespace kvo
