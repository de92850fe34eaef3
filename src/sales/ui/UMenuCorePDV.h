#pragma once

#include <QWidget>

namespace kvo {

// The host's counter menu ("frmMenuCorePDV"): the panel
// "pnlmni_mov_VendaRapida" with the "Venda Rápida" button, which opens the
// quick sale with the integers stored in the data access at that moment,
// and the panel "pnlmni_sis_menufiscal" with the "Menu Fiscal" button (the
// X reading on the fiscal printer). The restaurant screens find it among the
// top-level windows and press its buttons.
class TfrmMenuCorePDV : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMenuCorePDV(QWidget* parent = nullptr);
};

// The small fiscal menu: "Leitura X".
void chamarMenuFiscal();

// Creates the counter menu (hidden) when there is none and registers
// "TfrmVendaRapida" (a counter sale) and "TfrmMenuCorePDV".
void registrarTelasVendaRapida();

} // namespace kvo
