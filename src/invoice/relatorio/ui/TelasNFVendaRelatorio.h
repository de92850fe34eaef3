#pragma once

#include "invoice/relatorio/RNFVenda.h"

namespace kvo {

// The form's preview in the program: the host's print preview with the page
// as text; "Imprimir" sends the page to the system's default printer (an
// unavailable printer is an error naming it, the preview stays open).
class PreviewFormularioTela : public PreviewFormulario {
public:
    PreviewFormularioTela() { setPreviewFormulario(this); }
    ~PreviewFormularioTela() override { setPreviewFormulario(nullptr); }
    PreviewFormularioTela(const PreviewFormularioTela&) = delete;
    PreviewFormularioTela& operator=(const PreviewFormularioTela&) = delete;
    bool mostrar(const QString& titulo, const PaginaFormulario& pagina) override;
};

// Installs the preview, fills telasNFVenda().imprimirFormulario and registers
// the layout screen "TfrmParametroImpressaoNF".
void registrarTelasNFVendaRelatorio();
// The layout screen on the columns of the invoice's record sets (modal).
void abrirParametroImpressaoNF();

} // namespace kvo
