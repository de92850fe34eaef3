#pragma once

#include "nfe/NFeModel.h"

#include <QByteArray>

namespace kvo::nfe {

inline constexpr const char* NFeNamespace = "http://www.portalfiscal.inf.br/nfe";

// The access key the document's Id carries ("NFe" + 44 digits), from Ide and Emit.
QString chaveDoDocumento(const NFe& nfe);
// The 44 digits of the document's key: its Id with or without the "NFe"
// prefix, or computed from Ide and Emit while the Id is empty.
QString chaveNumerica(const NFe& nfe);

// Writes the NFe element (unsigned, no XML declaration, no whitespace) in the
// schema's element order. Throws std::invalid_argument for a code that has no
// group in the layout (e.g. an unknown ICMS CST).
QByteArray writeNFeXml(const NFe& nfe);

// protNFe alone (the authority's answer for one document).
QByteArray writeProtNFeXml(const ProcNFe& prot);

// nfeProc: the signed NFe element followed by protNFe from the protocol group.
QByteArray writeNfeProcXml(const QByteArray& signedNFe, const ProcNFe& prot);

} // namespace kvo::nfe
