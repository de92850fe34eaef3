#pragma once

#include "core/Currency.h"
#include "framework/ui/URepPadrao.h"

class QLineEdit;
class QLabel;

namespace kvo {

// The quick closing of a counter document: the discount on its total, typed
// as an amount or a percentage. A discount above the shop's first margin
// (PAR_VENDA.PARV_DESCONTO_1, percent; 0 = no limit) needs a supervisor.
class TfrmContasFechamentoRapido_Desc : public TrepPadraoGeral {
    Q_OBJECT
public:
    explicit TfrmContasFechamentoRapido_Desc(Currency total, QWidget* parent = nullptr);
    // Shows the screen; the discount to apply (zero when given up).
    static Currency chamaFechamento(Currency total, bool mostrar = true);

    bool btnOkClick();
    Currency desconto() const { return m_desconto; }

private:
    void atualizar();

    Currency m_total, m_desconto;
    QLineEdit* m_valor;
    QLineEdit* m_percentual;
    QLabel* m_aPagar;
    bool m_atualizando = false;
};

} // namespace kvo
