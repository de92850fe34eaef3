#pragma once

#include "nfe/Lista.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Requests that change an authorised NF-e afterwards (cancellation, correction
// letter) and the voiding of unused numbers, as XML ready for signing.
namespace kvo::nfe {

inline constexpr int EventoCancelamento = 110111;
inline constexpr int EventoCartaCorrecao = 110110;

struct InfEvento {
    int cOrgao = 0;
    int tpAmb = 2;
    QString CNPJ;
    QString chNFe;
    QDateTime dhEvento;
    int tpEvento = EventoCancelamento;
    int nSeqEvento = 1;
    // detEvento
    QString nProt;     // cancellation
    QString xJust;     // cancellation
    QString xCorrecao; // correction letter
};

struct EventosNFe {
    qint64 idLote = 1;
    Lista<InfEvento> Evento;
};

struct InutilizacaoNFe {
    int tpAmb = 2;
    int cUF = 0;
    int ano = 0; // two digits
    QString CNPJ;
    int mod = 55;
    int serie = 0;
    int nNFIni = 0;
    int nNFFin = 0;
    QString xJust;
};

// The conditions of use every correction letter carries (xCondUso).
QString condicaoDeUsoCCe();

// "ID" + tpEvento + chave + nSeqEvento (two digits).
QString idDoEvento(const InfEvento& e);
// envEvento with every event, unsigned; throws std::invalid_argument for an
// event type it does not write.
QByteArray writeEnvEventoXml(const EventosNFe& eventos);
// The schema that checks an envEvento of that event type.
QString schemaDoEvento(int tpEvento);
// inutNFe, unsigned.
QByteArray writeInutNFeXml(const InutilizacaoNFe& inut);

} // namespace kvo::nfe
