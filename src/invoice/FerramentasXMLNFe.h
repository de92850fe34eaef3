#pragma once

#include <QString>

namespace kvo {

class TdmNFVenda;

// The NF-e file tools of the invoice search (shown when "gambinfe.txt" is in
// the program folder): the XML of an invoice with its authorisation, and a
// DANFE printed from the document assembled again.
namespace ferramentasXML {

// "NFE" + number "00000" + ".XML" in the folder "XML" of the program folder.
QString arquivoPadrao(int numero);
// Writes the invoice's XML (the stored one, else assembled again) with its
// authorisation to `arquivo` (empty: arquivoPadrao); returns the path.
QString exportarXML(TdmNFVenda& dm, int numero, const QString& serie, const QString& arquivo);
// Assembles the document into "nfe.xml" and prints its DANFE; asks for the
// protocol number when the invoice has none. False when that is given up.
bool imprimirDANFE(TdmNFVenda& dm, int numero, const QString& serie);

} // namespace ferramentasXML
} // namespace kvo
