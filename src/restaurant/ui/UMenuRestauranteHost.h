#pragma once

namespace kvo {

// The three integers the host's quick-sale screen reads while it opens
// (mode, then two values: 0 closes a table, -1 is a counter sale).
struct ParametrosVendaRapida {
    int primeiro = 0, segundo = 0, terceiro = 0;
};
ParametrosVendaRapida& parametrosVendaRapida();

// The host's sale menu ("frmMenuCorePDV") entries: the quick sale and the
// fiscal menu. When the host has no such window the user is told the screen
// is not available and the operation ends.
void chamaTelaVendaRapida(int primeiro, int segundo, int terceiro);
void chamaMenuFiscal();

} // namespace kvo
