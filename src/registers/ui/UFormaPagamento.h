#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

namespace kvo {

// A payment method: how many instalments, the days to the first due date
// and between the others, and the currency type it is paid in.
class TfrmFormaPagamento : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TfrmFormaPagamento(RecordSet& forma, QWidget* parent = nullptr);

protected:
    void ValidaDados() override;
};

class TfrmFormaPagamento_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmFormaPagamento_Pesq(QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
};

} // namespace kvo
