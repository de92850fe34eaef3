#pragma once

namespace kvo {

// Registers the register screens with the screen registry under the names
// the main menu uses ("TfrmPessoa", "TfrmProduto", "TfrmCfop_Pesq", ...).
void registrarTelasCadastros();

} // namespace kvo
