#pragma once

#include "registers/DContas.h"
#include "framework/ui/URepPadrao.h"

#include <memory>

class QLabel;

namespace kvo {

// The receivables of a document: the instalments of the amount for the
// payment method, which the user may adjust (due dates and values) before
// they are written to CONTAS.
class TfrmContasFechamento : public TrepPadraoGeral {
    Q_OBJECT
public:
    TfrmContasFechamento(const DocumentoContas& doc, Currency total, QWidget* parent = nullptr);
    ~TfrmContasFechamento() override;

    // Shows the screen; true when the instalments were written.
    static bool GerarContas(const DocumentoContas& doc, Currency total, QWidget* parent = nullptr);

    RecordSet& parcelas() { return *m_parcelas; }
    bool btnGerarClick();
    bool gerou() const { return m_gerou; }

private:
    void atualizarDiferenca();

    DocumentoContas m_doc;
    Currency m_total;
    std::unique_ptr<RecordSet> m_parcelas;
    QLabel* m_diferenca;
    bool m_gerou = false;
};

} // namespace kvo
