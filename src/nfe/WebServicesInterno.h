#pragma once

// Shared by the web-service files: reading answers and writing kept files.
#include "nfe/NotaFiscal.h"
#include "nfe/WebServicesNFe.h"

#include <QByteArray>
#include <QString>

using xmlDoc = struct _xmlDoc;
using xmlNode = struct _xmlNode;

namespace kvo::nfe::ws {

extern const QByteArray Ns; // the layout's namespace declaration

// Throws std::runtime_error "Código: N - Motivo: ..." (what the callers search).
[[noreturn]] void rejeitar(int cStat, const QString& xMotivo);
bool autorizado(int cStat);
ProcNFe lerProtocolo(xmlNode* protNFe);
RetornoEvento lerRetEvento(xmlDoc* doc, xmlNode* retEvento);
// retEvento rebuilt from what a key query reports, for an answer that was lost.
QByteArray retEventoXml(const RetornoEvento& r, int tpAmb, int cOrgao);
// Writes the bytes after an XML declaration; throws when it cannot.
void gravar(const QString& path, const QByteArray& bytes);
// The authorised document with its protocol replaces the copy kept before
// sending. The authorisation stands even if the disk refuses.
void guardarAutorizada(NotaFiscal& n);

} // namespace kvo::nfe::ws
