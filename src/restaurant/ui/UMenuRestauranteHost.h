#pragma once

namespace kvo {

// The host's sale menu ("frmMenuCorePDV") entries: the quick sale and the
// fiscal menu. The quick sale's three integers go through the data access
// (TdmAcesso::parametrosVendaRapida) while its button runs. When the host
// has no such window the user is told the screen is not available and the
// operation ends.
void chamaTelaVendaRapida(int primeiro, int segundo, int terceiro);
void chamaMenuFiscal();

} // namespace kvo
