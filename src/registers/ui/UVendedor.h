#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

namespace kvo {

// A seller: name, commission rate and whether still active.
class TfrmVendedor : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TfrmVendedor(RecordSet& vendedor, QWidget* parent = nullptr);

protected:
    void ValidaDados() override;
};

class TfrmVendedor_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmVendedor_Pesq(QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
};

} // namespace kvo
