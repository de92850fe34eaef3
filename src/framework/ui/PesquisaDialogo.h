#pragma once

namespace kvo {

// Installs the Qt dialog of the interactive search (TwbtPesquisa::dialogo).
void instalarDialogoPesquisa();

} // namespace kvo
