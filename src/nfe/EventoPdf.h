#pragma once

#include "nfe/EventoNFe.h"
#include "nfe/WebServicesNFe.h"

#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace kvo::nfe {

// The printed correction letter: the document's key, issuer, sequence, the
// authority's protocol, the correction and its conditions of use, one A4 page.
// Throws std::runtime_error when the file cannot be written.
void gerarCartaCorrecaoPdf(const InfEvento& evento, const RetornoEvento& retorno, const QString& arquivo);
// The same page on any paged device (a printer); the page set up first, the
// painter already begun on it.
void prepararPaginaCartaCorrecao(QPagedPaintDevice& device);
void desenharCartaCorrecao(QPainter& painter, QPagedPaintDevice& device, const InfEvento& evento,
                           const RetornoEvento& retorno);

} // namespace kvo::nfe
