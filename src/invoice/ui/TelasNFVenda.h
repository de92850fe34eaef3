#pragma once

#include <QString>

#include <functional>

namespace kvo {

// How the invoice screens reach one another without linking to each other:
// each screen's library fills its entry when it registers its screens, the
// callers go through here (exigirTela tells the user when an entry is not
// filled).
struct TelasNFVenda {
    // The invoice screen on an existing invoice: editing, or viewing only.
    // True when the invoice was saved.
    std::function<bool(int numero, const QString& serie, bool editar)> abrirNota;
    // The correction-letter screen on a new letter of the invoice.
    std::function<void(int numero, const QString& serie)> cartaCorrecao;
    // The receipt-stub screen (TfrmNFVendaCanhoto.chamaTela).
    std::function<void(int numero, const QString& serie, bool editar)> canhoto;
    // The printed-form invoice (TrelNFVenda.Imprimir): builds and previews it.
    std::function<void(int numero, const QString& serie)> imprimirFormulario;
    // The invoice screen on a new invoice (the search's "Incluir"). True when saved.
    std::function<bool()> novaNota;
};
TelasNFVenda& telasNFVenda();

} // namespace kvo
