#pragma once

#include "registers/EscolhaParcelas.h"
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
    // Shows the screen only to choose: the instalments confirmed, nothing
    // written; nullopt when the user gives up.
    static std::optional<QVector<Parcela>> escolher(const DocumentoContas& doc, Currency total, QWidget* parent = nullptr);

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
    bool m_somenteEscolher = false;
    QVector<Parcela> m_escolhidas;
};

// The program's chooser of instalments: the closing screen.
class EscolhaParcelasTela : public EscolhaParcelas {
public:
    std::optional<QVector<Parcela>> escolherParcelas(const DocumentoContas& doc, Currency total) override {
        return TfrmContasFechamento::escolher(doc, total);
    }
};

} // namespace kvo
