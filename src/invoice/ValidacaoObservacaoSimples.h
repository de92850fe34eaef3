#pragma once

#include "invoice/PortasNFe.h"

namespace kvo {

// Option 6 prints the two typed texts unchanged in the invoice's additional
// information: blank or non-numeric ones would put a credit "R$ ;...%" on a
// fiscal document. Refuses them with Error(...); the other options take the
// amounts from the configuration and accept anything.
void validarObservacaoSimples(const ObservacaoSimples& obs);

} // namespace kvo
