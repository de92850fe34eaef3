#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

namespace kvo {

// A document series: its code is the key, typed once; the sequence is the
// last number used.
class TfrmSerie : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TfrmSerie(RecordSet& serie, QWidget* parent = nullptr);

protected:
    void ValidaDados() override;
};

class TfrmSerie_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmSerie_Pesq(QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
};

} // namespace kvo
