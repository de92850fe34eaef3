#pragma once

#include "restaurant/extrato/LayoutExtrato.h"

namespace kvo {

class Database;
class TdmConfiguracao;

// What the bill of a restaurant order adds up: its "NORMAL" lines (one per
// item row), the order's discount, covers, service and the splits already
// paid, the cover price and the service-receipt setting. calcularTotais of
// the result gives the same amounts the printed bill shows.
DadosExtrato dadosTotaisPedido(Database& db, TdmConfiguracao& cfg, qint64 pedido);

} // namespace kvo
