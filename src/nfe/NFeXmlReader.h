#pragma once

#include "nfe/NFeModel.h"

#include <QByteArray>

namespace kvo::nfe {

// Loads an NFe or an nfeProc (NFe with its protNFe) back into the model, so a
// stored document can be printed again. Throws std::runtime_error when the
// bytes are not an NF-e.
NFe readNFeXml(const QByteArray& xml);

// The NFe element of the bytes as they are (signature included), without a
// surrounding nfeProc; empty when there is none.
QByteArray extractNFeElement(const QByteArray& xml);

} // namespace kvo::nfe
