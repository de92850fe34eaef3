#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

namespace kvo {

// A CFOP: its four digits are the key, typed once when it is registered.
class TfrmCfop : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TfrmCfop(RecordSet& cfop, QWidget* parent = nullptr);

protected:
    void ValidaDados() override;
};

class TfrmCfop_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmCfop_Pesq(QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
};

} // namespace kvo
