#pragma once

#include <QByteArray>
#include <QString>

namespace kvo {

// Character sets of receipt printers. Control bytes (below 0x80) pass
// through unchanged, so the model's sequences in a ticket keep working.
enum class CodePage { Cp850, Cp860, Latin1, Ascii };

// The code page a printer model expects out of the box: "EPSON" prints the
// Portuguese table (CP860), "DARUMA", "ELGIN" and "BEMATECH" the
// multilingual one (CP850), "GENERICO" only ASCII (accents removed). Any
// other name returns false and leaves `out` alone.
bool codePageForModel(const QString& model, CodePage& out);
// "CP850", "CP860", "ISO-8859-1"/"LATIN1", "ASCII" (any case).
bool codePageByName(const QString& name, CodePage& out);
QString codePageName(CodePage page);

// The text as the printer's bytes; a character the page lacks is written
// without its accent, else as "?".
QByteArray encodeForPrinter(const QString& text, CodePage page);
QString decodeFromPrinter(const QByteArray& bytes, CodePage page);

} // namespace kvo
