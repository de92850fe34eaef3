#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace kvo {

class Database;
class Digest;
class FiscalPrinter;
class TdmConfiguracao;

// What the table check stamped on the order.
struct ConferenciaResultado {
    qint64 codPedido = 0;
    int coo = 0, numEcf = 0, cer = 0;
    QString md5;
    QStringList linhas; // the text handed to the printer
};

// The report printed but its stamps could not be saved: the user must know the
// COO to record it by hand. message() is in Portuguese.
class ConferenciaNaoGravada : public std::runtime_error {
public:
    ConferenciaNaoGravada(const QString& message, int coo);
    QString message() const { return QString::fromUtf8(what()); }
    int coo() const { return m_coo; }

private:
    int m_coo;
};

// The table check: the 48-column statement of the table's open order,
// printed on the fiscal printer as a management report of kind "ECF.ID.CONF",
// then the order stamped with PED_COO, PED_NUMECF, PED_CER, PED_MD5 (the digest
// of the RES_PEDIDO row's text with the three counters set),
// PED_IMPRESSO = "S" and PED_DATA_FINAL = now, in one transaction after the
// report printed. Refusals go through Error (kvo::Abort); a printer failure
// stops before anything is stamped; a printed report whose stamps fail raises
// ConferenciaNaoGravada.
ConferenciaResultado ConferenciaMesa(Database& db, TdmConfiguracao& cfg, int mesa, Digest& ead,
                                     FiscalPrinter& ecf);

// The text alone (steps 1 to 4), for the order of `mesa` at moment `agora`.
// Refuses like ConferenciaMesa; `codPedido` receives the order.
// hh:mm:ss from the opening to now, as a clock reads it (the check and the bill).
QString duracaoNaMesa(const QDateTime& inicio, const QDateTime& agora);

QStringList textoConferenciaMesa(Database& db, int mesa, const QDateTime& agora, qint64* codPedido = nullptr);

} // namespace kvo
