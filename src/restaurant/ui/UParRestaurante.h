#pragma once

#include "framework/ui/URepPadrao.h"

namespace kvo {

// "Parametro de Restaurante": the single PAR_RESTAURANTE row.
class TfrmParRestaurante : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TfrmParRestaurante(RecordSet& rs, QWidget* parent = nullptr);

    // Opens the row (a new one with its defaults when there is none), shows
    // the screen and, when saved, refreshes the parameters the module holds.
    static void ChamaParametro();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace kvo
