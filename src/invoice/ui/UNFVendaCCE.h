#pragma once

#include "framework/ui/URepPadrao.h"

namespace kvo {

class TdmNFVenda;

// The correction-letter entry screen: the invoice's number and series, the
// letter's sequence, its text, date and status. OK sends the letter through
// the invoice data module (its checks, "Confirma enviar Carta Correção?",
// the event, the stored answer); answering no keeps the screen open.
class TfrmNFVendaCCE : public TrepPadraoCadastro {
    Q_OBJECT
public:
    explicit TfrmNFVendaCCE(QWidget* parent = nullptr);
    // A new letter of the invoice (opened when it is not the open one) on the screen.
    static void chamaTela(int numero, const QString& serie);

protected:
    void gravar() override;

private:
    TdmNFVenda& m_dm;
};

} // namespace kvo
