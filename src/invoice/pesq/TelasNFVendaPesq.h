#pragma once

namespace kvo {

// Registers the invoice search ("TfrmNFVenda_Pesq.ChamaTela", the main menu's
// entry) and the return-invoice search ("TfrmConsultaNFVendaDevolucao").
void registrarTelasNFVendaPesq();

} // namespace kvo
