#pragma once

#include "framework/db/RecordSet.h"

#include <memory>

namespace kvo {

// The restaurant parameter row (PAR_RESTAURANTE) opened for editing: the row
// with CODPARRESTAURANTE = 1, else the first one; without any, a new row in
// insert with the defaults the readers assume ("Mesas", "GERENCIADOR" on
// every printer, no service, no couvert, flags "N", restaurant in use) and
// its key from "GEN_PAR_RESTAURANTE".
std::unique_ptr<RecordSet> abrirParRestaurante(Database& db);

} // namespace kvo
