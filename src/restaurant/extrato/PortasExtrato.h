#pragma once

#include "core/Currency.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kvo {

// What the user did with a previewed bill or receipt.
struct ResultadoPreview {
    bool imprimiu = false;
    bool alterarEscolhas = false; // asked to change the bill's choices
};

// The print preview the bills and receipts are shown in: the host's preview
// screen in the program, the command's output file, a scripted double in
// tests. `imprimir` sends the lines to the printer and throws when it cannot.
class PreviewExtrato {
public:
    virtual ~PreviewExtrato() = default;
    virtual ResultadoPreview mostrar(const QString& titulo, const QStringList& linhas, bool permiteAlterar,
                                     const std::function<void(const QStringList&)>& imprimir) = 0;
};

// The four values of the choices dialog ("Escolhas").
struct ValoresEscolha {
    Currency desconto;
    int couverts = 0;
    int pessoas = 1;
    Currency servico;
};

// The choices dialog: shows the values, lets the user change them; true when
// accepted. The values are what the fields hold when it closes.
class EscolhaExtrato {
public:
    virtual ~EscolhaExtrato() = default;
    virtual bool escolher(ValoresEscolha& valores, bool mostrarCouvert) = 0;
};

// Installs the preview and the dialog (not owned); nullptr goes back to the
// defaults: the bill is printed at once, and the dialog keeps the values.
void setPreviewExtrato(PreviewExtrato* preview);
PreviewExtrato& previewExtrato();
void setEscolhaExtrato(EscolhaExtrato* escolha);
EscolhaExtrato& escolhaExtrato();

} // namespace kvo
