#pragma once

#include "framework/ui/URepPadrao.h"
#include "invoice/PortasNFe.h"

class QLineEdit;
class QListWidget;

namespace kvo {

// "Observação Adicional do Simples": the Simples Nacional sentence printed in
// an NF-e's additional information, chosen before the invoice is assembled,
// with the credit value and rate that option 6 prints as typed.
// Keys: arrows or the option's number pick it, Tab reaches the boxes, Enter
// on the list or in the rate box (or F2) confirms, Esc closes choosing none.
class TfrmObsAdd : public TrepPadraoGeral {
    Q_OBJECT
public:
    explicit TfrmObsAdd(QWidget* parent = nullptr);

    // Selects and focuses this option on show; other numbers select nothing.
    void preSelecionar(int opcao);
    // The number (1 to 7) of the option confirmed with OK; 0 when none.
    int retorno() const { return m_retorno; }
    QString valor() const;
    QString aliquota() const;

    void btnOkClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int opcaoSelecionada() const;

    QListWidget* m_opcoes;
    QLineEdit* m_valor;
    QLineEdit* m_aliquota;
    int m_preSelecionada = 0;
    int m_retorno = 0;
};

// The program's Simples text form: installed while it lives.
class TelaObservacaoSimples : public EscolhaObservacaoSimples {
public:
    TelaObservacaoSimples();
    ~TelaObservacaoSimples() override;
    std::optional<ObservacaoSimples> escolher(int preSelecionada) override;
};

} // namespace kvo
