#pragma once

#include "printservice/ConfigImpressao.h"

#include <QList>
#include <QString>

namespace kvo {
class Database;
}

namespace kvo::impressao {

// A ticket not printed yet, from a manager folder or the central queue.
struct Pendente {
    QString id;       // queue: CODRESIMPRESSAO; folder: the file name
    QString estacao;  // the station (folder) or the centraliser name (queue)
    int mesa = 0;
    QString titulo;
    qint64 idadeSegundos = 0;
    QString ultimoErro;
    int tentativas = 0;
};

// Queue rows not printed ('PENDENTE' or 'IMPRIMINDO'), oldest first.
QList<Pendente> pendentesFila(Database& db);
// Files waiting in a station's manager folder or claimed and not printed.
QList<Pendente> pendentesPasta(const QString& estacao, const QString& pasta);
// Everything waiting for the configured stations: their folders, and the
// queue when `db` is given.
QList<Pendente> pendentesImpressao(const ConfigImpressao& cfg, Database* db);

// The stations with a ticket waiting longer than `segundos`: what the
// restaurant map warns about.
QStringList estacoesComAtraso(const QList<Pendente>& pendentes, int segundos = 60);
// The same straight from the queue, for screens that have only the database.
QStringList estacoesComAtraso(Database& db, int segundos = 60);

// Prints a ticket again with the reprint mark: a queue row (numeric ID) goes
// back to the queue; a file name is put back in its folder. Returns what was
// done; throws std::runtime_error (Portuguese) for an unknown or unprinted ID.
QString reimprimir(const ConfigImpressao& cfg, Database* db, const QString& id);

} // namespace kvo::impressao
