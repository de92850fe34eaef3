#pragma once

#include "framework/ui/URepPadrao.h"

class QLineEdit;

namespace kvo {

class TdmResPedido;

// The table transfer screen: origin and destination tables, typed or on the
// keypad; OK moves the whole movement of the origin to the destination.
class TfrmResTransferencia : public TrepPadraoGeral {
    Q_OBJECT
public:
    explicit TfrmResTransferencia(TdmResPedido& dm, QWidget* parent = nullptr);

    static void chamaTransferencia();

    void btnOkClick();
    void btnLimparClick();
    // A keypad key: types into the table box last focused.
    void tecla(const QString& digito);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TdmResPedido& m_dm;
    QLineEdit* m_origem;
    QLineEdit* m_destino;
    QLineEdit* m_alvo;
};

} // namespace kvo
