#pragma once

#include "framework/ui/URepPadrao.h"

namespace kvo {

// "Movimentação: Nota Fiscal de Venda Canhoto": who received the goods and
// when, written on the invoice header.
class TfrmNFVendaCanhoto : public TrepPadraoCadastro {
    Q_OBJECT
public:
    explicit TfrmNFVendaCanhoto(QWidget* parent = nullptr);
    // Reopens the invoice and shows it, in edit or read-only.
    static void chamaTela(int numero, const QString& serie, bool editar);

protected:
    void gravar() override;
    void showEvent(QShowEvent* event) override;
};

} // namespace kvo
