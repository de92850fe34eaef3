#pragma once

namespace kvo {

// Registers the invoice screens ("TfrmNFVenda" opens a new invoice) and fills
// the invoice screens' entry table: abrirNota, novaNota, cartaCorrecao and canhoto.
void registrarTelasNFVenda();

} // namespace kvo
