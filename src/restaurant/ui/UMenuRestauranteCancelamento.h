#pragma once

#include "core/Currency.h"

#include <QString>

namespace kvo {

class Database;

// The item the map's grid had selected when "&Cancelar Item" was pressed.
struct ItemDoMapa {
    int codpedidoitem = 0;
    int codpedido = 0;
    int mesa = 0;
    QString status; // as the grid showed it
};

// Cancels the whole item or part of it, asking the user through the
// user-interface port (no widgets here): the item's status read again, the
// confirmation, the supervisor (REST.SNH.CAN), the quantity, the whole table
// when it is the order's only item (the order choice screen in
// "CancelamentoTotal"), the reason (REST.MOT.CAN); then the order is loaded,
// the item cancelled, the stock given back and the order saved through
// TdmResPedido, so another terminal's posting on the table is never
// overwritten. Refusals end through Error; false when the user gave up.
bool cancelarItemDoMapa(Database& db, const ItemDoMapa& item);

} // namespace kvo
