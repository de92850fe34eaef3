#pragma once

#include "framework/ui/URepPadrao.h"
#include "restaurant/extrato/PortasExtrato.h"

class QLabel;
class QLineEdit;

namespace kvo {

class TfrmPrintPreview;

// "Escolhas": the waiter adjusts a restaurant bill before it prints —
// discount, covers, persons the bill is divided by and the service percent.
// A discount asks for the discount password on OK (the rule lives in
// TrelExtrato::validarEscolha); closing without OK drops the discount.
class TfrmExtratoEscolha : public TrepPadraoGeral {
    Q_OBJECT
public:
    explicit TfrmExtratoEscolha(QWidget* parent = nullptr);

    void carregar(const ValoresEscolha& valores, bool mostrarCouvert);
    Currency getDesconto() const;
    int getQtdeCovert() const;
    int getQtdeDividida() const;
    Currency getAcrescimo() const;
    bool aceito() const { return m_aceito; }

    void btnOkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_desconto;
    QLineEdit* m_couvert;
    QLabel* m_lblCouvert;
    QLineEdit* m_pessoas;
    QLineEdit* m_servico;
    bool m_aceito = false;
};

// The program's preview and dialog for the bills: installed while it lives.
class TelasExtrato : public PreviewExtrato, public EscolhaExtrato {
public:
    TelasExtrato();
    ~TelasExtrato() override;
    ResultadoPreview mostrar(const QString& titulo, const QStringList& linhas, bool permiteAlterar,
                             const std::function<void(const QStringList&)>& imprimir) override;
    bool escolher(ValoresEscolha& valores, bool mostrarCouvert) override;
};

} // namespace kvo
