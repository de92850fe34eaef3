#pragma once

#include "Injecao.h"
#include "nfe/SoapNFe.h"
#include "nfe/ValidadorXml.h"
#include "nfe/VerificadorAssinatura.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <memory>

using xmlDoc = struct _xmlDoc;
using xmlNode = struct _xmlNode;

namespace kvo::autoridade {

// The authority's rules behind the web services: schema and signature
// checks, authorisation with protocols, duplicates, queries, events, voided
// ranges and status. Its state lives in "estado.json" in the state folder and
// is written after every change.
class Autoridade {
public:
    struct Opcoes {
        QString pasta;        // state folder
        QString pastaSchemas;
        QStringList casAssinatura; // CAs trusted for the documents' signatures
        int tpAmb = 2;
    };
    explicit Autoridade(Opcoes opcoes);

    // The answer message (without envelope) to a request message.
    // `cnpjTransmissor` comes from the client certificate ("NAME:CNPJ" in its
    // CN); documents of another company root are refused with 213.
    QByteArray processar(nfe::soap::Servico s, const QByteArray& mensagem, const Injecao& injecao,
                         const QString& cnpjTransmissor = {});
    // The service's answer with a chosen code, nothing processed.
    QByteArray responderCom(nfe::soap::Servico s, int cStat, const QString& xMotivo);

private:
    QByteArray autorizar(xmlDoc* doc, const Injecao& inj);
    QByteArray protocoloDaNota(xmlNode* nfe, xmlDoc* doc, int cUF, const QString& digValInjetado);
    QByteArray consultarRecibo(xmlDoc* doc);
    QByteArray consultarSituacao(xmlDoc* doc);
    QByteArray status(xmlDoc* doc);
    QByteArray eventos(xmlDoc* doc, const QByteArray& mensagem, const Injecao& inj);
    QByteArray evento(xmlNode* ev, xmlDoc* doc, int cStatEvento, const QString& xMotivoEvento);
    QByteArray inutilizar(xmlDoc* doc, const QByteArray& mensagem);

    QString novoProtocolo(int cUF);
    QString chaveDoNumero(const QString& cnpj, int mod, int serie, int nNF) const;
    bool numeroInutilizado(const QString& cnpj, int mod, int serie, int nNF) const;
    void salvar();
    // "225"-style rejections for a broken schema; empty when valid.
    QStringList problemasDeSchema(xmlDoc* doc, const QString& schema) const;

    Opcoes m_opcoes;
    nfe::ValidadorXml m_validador;
    std::unique_ptr<nfe::VerificadorAssinatura> m_verificador;
    QJsonObject m_estado;
    QString m_cnpjTransmissor; // of the request being processed
};

} // namespace kvo::autoridade
