#pragma once

#include "devices/CodePage.h"

#include <QList>
#include <QString>

namespace kvo::impressao {

// One station the service serves: where its tickets come from (a print-manager
// folder or a centraliser name of the queue) and where they print.
struct EstacaoServico {
    QString nome;           // the section name, e.g. "COZINHA"
    QString pasta;          // manager folder, as a local path (empty: none)
    QString centralizador;  // IMP_CENTRALIZADOR served (empty: none)
    QString impressora;     // "tcp:HOST[:PORTA]", "dispositivo:CAMINHO", "cups:FILA"
    QString modelo = QStringLiteral("DARUMA");
    CodePage codePage = CodePage::Cp850;
    bool confirmar = false; // ask the printer's status before and after (DLE EOT)
    QString reserva;        // fallback printer of the station (may be empty)
    QString modeloReserva;
    CodePage codePageReserva = CodePage::Cp850;
    bool confirmarReserva = false;
    int reservaAposSegundos = 120; // failing this long, the ticket goes to the fallback
};

struct ConfigImpressao {
    QString instancia;            // unique per running service; the host name by default
    int intervaloMs = 200;        // between looks at empty folders and queue
    int tentativaInicialMs = 1000; // first wait after a failure, doubled each time
    int tentativaMaximaMs = 30000;
    int timeoutMs = 10000;        // connect and write, per ticket
    int expiraReivindicacaoSegundos = 120; // another instance's ticket untouched this long is taken over
    QList<EstacaoServico> estacoes;

    // "impressao.ini" in the program folder.
    static QString arquivoPadrao();
    // Throws std::runtime_error (Portuguese message) naming the file and the
    // section for a missing file, an unknown model or code page, a station
    // with neither folder nor centraliser, or an invalid printer.
    static ConfigImpressao ler(const QString& arquivo);
};

// Whether a model answers the real-time status request by default: EPSON,
// ELGIN and BEMATECH do.
bool confirmaPorPadrao(const QString& modelo);

// The wait before the next attempt after `tentativas` failures in a row.
int esperaAposFalhas(const ConfigImpressao& cfg, int tentativas);

} // namespace kvo::impressao
