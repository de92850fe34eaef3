#pragma once

#include "devices/CodePage.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace kvo::impressao {

// A ticket claimed for printing.
struct Ticket {
    QString id;        // queue: CODRESIMPRESSAO; folder: the file name
    int mesa = 0;
    QString titulo;
    QString texto;     // as posted: UTF-8 text with control bytes, CR LF line ends
    bool reimpressao = false; // an earlier attempt may have printed it
    int tentativas = 0;
    int falhandoHaSegundos = -1; // since the first failed attempt; -1 never failed
};

// The line put on a ticket whose earlier printing outcome is unknown.
QString marcaReimpressao();
// The text with the reprint mark after the printer reset that opens it (or
// first, when there is none).
QString comMarcaReimpressao(const QString& texto);
// What the printer gets: the text (marked when a reprint) in its code page.
QByteArray bytesParaImpressora(const Ticket& ticket, CodePage pagina);
// "MESA n" of a ticket's text, 0 when it names none.
int mesaDoTexto(const QString& texto);

// Where a station's tickets come from. Every operation that changes a
// ticket's state is durable before it returns, so a kill at any point leaves
// each ticket pending, claimed (printed again with the mark) or done.
class FonteTickets {
public:
    virtual ~FonteTickets() = default;
    // Tickets this instance held when it stopped, and those of another
    // instance that has not touched its claim for too long, go back to the
    // queue marked as reprints unless they are known not to have printed.
    virtual void recuperar() = 0;
    // The oldest ticket waiting, now held by this instance alone.
    virtual std::optional<Ticket> reivindicar() = 0;
    // Recorded before the bytes go out: from here a kill means "unknown".
    virtual void enviando(const Ticket&) {}
    virtual void impresso(const Ticket& ticket, const QString& impressora) = 0;
    // Back to waiting; `incerto` when the printer may have printed it.
    virtual void falhou(const Ticket& ticket, const QString& erro, bool incerto) = 0;
};

} // namespace kvo::impressao
