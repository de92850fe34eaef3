#pragma once

#include "nfe/EventoNFe.h"
#include "nfe/WebServicesNFe.h"

#include <QString>

namespace kvo::nfe {

// The printed correction letter: the document's key, issuer, sequence, the
// authority's protocol, the correction and its conditions of use, one A4 page.
// Throws std::runtime_error when the file cannot be written.
void gerarCartaCorrecaoPdf(const InfEvento& evento, const RetornoEvento& retorno, const QString& arquivo);

} // namespace kvo::nfe
