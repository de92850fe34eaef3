#include "restaurant/ui/UMenuRestauranteCancelamento.h"

#include "core/Format.h"
#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/USenha.h"
#include "framework/ui/UserInterface.h"
#include "restaurant/DResPedido.h"
#include "restaurant/MapaMesas.h"
#include "restaurant/impressao/DResPedidoImpressao.h"
#include "restaurant/impressao/LancamentoTickets.h"
#include "restaurant/ui/TelasRestaurante.h"

namespace kvo {

namespace {
const QString kCancelado = QStringLiteral("CANCELADO");

bool ligado(const char* chave) {
    return TdmConfiguracao::gerarInstance().getStr(QString::fromLatin1(chave)) == QLatin1String("S");
}
} // namespace

bool cancelarItemDoMapa(Database& db, const ItemDoMapa& item) {
    // 1. The grid may be 40 s old: the item as it stands now decides.
    const auto atual = db.query(QStringLiteral("select PEDI_STATUS, PEDI_QTDE from RES_PEDIDO_ITEM "
                                               "where CODPEDIDOITEM = :I"),
                                {{QStringLiteral("I"), item.codpedidoitem}});
    if (atual->isEmpty())
        Error(QStringLiteral("Item não localizado para CANCELAR!"));
    if (item.status == kCancelado || atual->field(QStringLiteral("PEDI_STATUS")).asString() == kCancelado)
        Error(QStringLiteral("Item já CANCELADO!"));
    const Currency qtdeItem = atual->field(QStringLiteral("PEDI_QTDE")).asCurrency();

    // 2-4.
    if (!Confirma(QStringLiteral("Confirma \"Cancelar\" este registro?")))
        return false;
    if (ligado("REST.SNH.CAN") && !TfrmSenha::autorizarDesconto())
        return false;
    const auto digitada = InputBox(QStringLiteral("Digite a quantidade"), QStringLiteral("Quantidade do item"),
                                   formatFloat(u"0.###", qtdeItem));
    if (!digitada)
        return false;
    const std::optional<Currency> qtde = lerQuantidadeDigitada(*digitada);
    if (!qtde || *qtde <= Currency() || *qtde > qtdeItem)
        Error(QStringLiteral("Quantidade invalida!"));

    // 5. The last item of the table: the whole table goes. Option lines are
    // part of their item, not items of their own.
    if (*qtde == qtdeItem &&
        db.scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM where CODPEDIDO = :P and PEDI_STATUS = 'NORMAL' "
                                 "and coalesce(CODPEDIDOITEM_PERSON, 0) = 0"),
                  {{QStringLiteral("P"), item.codpedido}})
                .toInt() == 1) {
        TelasRestaurante& telas = telasRestaurante();
        exigirTela(bool(telas.escolhaPedido), QStringLiteral("TfrmResPedido_Escolha"));
        telas.escolhaPedido(QStringLiteral("CancelamentoTotal"), item.mesa);
        return true;
    }

    // 6.
    QString motivo;
    if (ligado("REST.MOT.CAN")) {
        motivo = InputBox(QStringLiteral("CANCELAMENTO"), QStringLiteral("Motivo de Cancelamento:")).value_or(QString());
        if (motivo.trimmed().isEmpty())
            Error(QStringLiteral("Você precisa informar o motivo do cancelamento!"));
    }

    // 7-10. The order as it stands now; a failure leaves nothing behind.
    TdmResPedido& pedido = TdmResPedido::gerarInstance();
    try {
        pedido.CarregarResVenda(item.codpedido);
        RecordSet& cab = pedido.cdsResPedido();
        if (cab.isEmpty())
            Error(QStringLiteral("Item não localizado para CANCELAR!"));
        cab.edit();
        const QString estoque = pedido.cancelarItem(item.codpedidoitem, *qtde, motivo.trimmed());
        // The station learns of the cancellation once it is saved.
        TdmResPedidoImpressao& impressao = TdmResPedidoImpressao::gerarInstance();
        TicketsLancamento tickets = montarTicketsLancamento(impressao, pedido.cdsResPedidoItem(), &cab,
                                                            &pedido.cdsResPedidoItemPerso(), item.mesa);
        pedido.gravarPedido(QStringList{estoque});
        pedido.FecharResVenda();
        enviarTicketsLancamento(impressao, tickets);
    } catch (...) {
        pedido.FecharResVenda();
        throw;
    }
    return true;
}

} // namespace kvo
