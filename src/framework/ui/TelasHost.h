#pragma once

namespace kvo {

// Registers the host's own screens with the screen registry and hands the
// cash-register service its opening screen.
void registrarTelasHost();

} // namespace kvo
