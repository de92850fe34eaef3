#pragma once

#include <QString>

#include <functional>

namespace kvo {

// How the restaurant screens reach one another without linking to each
// other: each screen's library fills its entry when it registers its
// screens, the callers go through here (exigirTela tells the user when an
// entry is not filled).
struct TelasRestaurante {
    // TfrmResPedido_Escolha.chamaTela(modo, mesa): the order choice screen in
    // a mode ("" posting, "Extrato", "TransItem", "FechaParcial",
    // "CancelamentoTotal", "CobrarEntrada") with the table pre-filled (0:
    // none). Returns the table confirmed, 0 when the user gave up.
    std::function<int(const QString& modo, int mesa)> escolhaPedido;
    // TfrmResTransferencia.chamaTransferencia: the table transfer screen.
    std::function<void()> transferenciaMesa;
    // Refreshes the open restaurant map, when there is one.
    std::function<void()> atualizarMapa;
    // The touch sale screen for a table and its waiter (0: none); the touch
    // map hands its posting there when RST.LAN.TOUCH is "S".
    std::function<void(int mesa, int garcon)> vendaTouch;
    // The table chosen on the open map (0: none or no map), which the host's
    // closing screen proposes.
    std::function<int()> mesaSelecionada;
};
TelasRestaurante& telasRestaurante();

} // namespace kvo
