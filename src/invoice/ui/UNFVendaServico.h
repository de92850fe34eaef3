#pragma once

#include "framework/ui/URepPadrao.h"

namespace kvo {

class TdmNFVenda;

// A service line of a "Talão" invoice (the current line of the invoice data
// module, appended or put in edit by the caller): description, unit,
// quantity and unit price; the total follows. Cancel drops this line's edit only.
class TfrmNFVendaServico : public TrepPadraoDetalhe {
    Q_OBJECT
public:
    explicit TfrmNFVendaServico(QWidget* parent = nullptr);

protected:
    void ValidaDados() override;
    void gravar() override;
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    TdmNFVenda& m_dm;
};

} // namespace kvo
