#pragma once

#include "core/Currency.h"
#include "restaurant/impressao/Estacoes.h"

#include <QString>
#include <QStringList>

#include <array>

namespace kvo {

class RecordSet;
class TdmResPedidoImpressao;

// The production tickets of one posting, per station.
struct TicketsLancamento {
    int mesa = 0;                           // the order's table number
    std::array<QStringList, 4> linhas;      // indexed by Estacao
    std::array<int, 4> contagem{0, 0, 0, 0}; // items on each station's ticket
    std::array<QString, 4> enviado;         // where each ticket went (after enviar)

    QStringList& de(Estacao e) { return linhas[size_t(e)]; }
    int total(Estacao e) const { return contagem[size_t(e)]; }
    // "LANÇAMENTOS DE " + count + " PRODUTOS"
    QString titulo(Estacao e) const;
};

// The posting rule shared by the order screen, the touch menu, the touch sale
// and `kvo restaurante lancar`. Walks the item changes being saved in `itens`
// (its change log, so call it BEFORE applyUpdates): an item prints when it was
// inserted now and is not "CANCELADO", or was modified now from another status
// to "CANCELADO". Personalisation lines (CODPEDIDOITEM_PERSON not 0) never
// print by themselves; the options in `perso` print under their item. Each
// station whose routing flag (PRO_IMP_COZINHA ...) reads "S" gets the item and
// its counter goes up. `mesa` is the order's table number (`pedido`, the order
// record set, may be null). The cursor of `itens` is put back where it was.
//
// Nothing is sent here: the tickets describe what is being saved, so they go
// out (enviarTicketsLancamento) only after the save committed.
TicketsLancamento montarTicketsLancamento(TdmResPedidoImpressao& dm, RecordSet& itens, const RecordSet* pedido,
                                          const RecordSet* perso, int mesa, Currency saldo = {});

// Calls every station's final operation with the table and its title; an
// empty list sends nothing. Failures are shown to the user with the ticket.
void enviarTicketsLancamento(TdmResPedidoImpressao& dm, TicketsLancamento& tickets);

// Both, for callers that save afterwards themselves.
TicketsLancamento imprimirLancamento(TdmResPedidoImpressao& dm, RecordSet& itens, const RecordSet* pedido,
                                     const RecordSet* perso, int mesa, Currency saldo = {});

} // namespace kvo
