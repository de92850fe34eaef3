#pragma once

#include "nfe/EventoNFe.h"
#include "nfe/Lista.h"
#include "nfe/NFeModel.h"
#include "nfe/SoapNFe.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>

#include <memory>

namespace kvo::nfe {

class NFeComponent;
class NotaFiscal;
class TransporteHttps;

// Where and how the authority is reached.
struct ConfiguracoesWebServices {
    QString uf;             // the shop's state ("SP"): picks the published addresses
    QString arquivoCA;      // PEM bundle the authority's server certificate must chain to
    QString urlBase;        // when set, every service is urlBase + "/" + service name
    QHash<QString, QString> urls; // per service name ("NFeAutorizacao4"), over everything else
    // Model 65 (NFC-e) goes to the authority's NFC-e addresses: these when
    // set, else urlBase (one service for both), else the published ones.
    QString urlBaseNFCe;
    QHash<QString, QString> urlsNFCe;
    int timeoutConexaoMs = 10000;
    int timeoutMs = 30000;
    int tentativasRecibo = 10;       // receipt polls of an asynchronous batch
    int intervaloReciboMs = 2000;
    int intervaloMinimoStatusS = 60; // a status answered within this is not asked again
    int bloqueio656S = 3600;         // after rejection 656 nothing is sent for this long
    QString verProc = QStringLiteral("KVO 1.0");
};

// Answer of the batch of events.
struct RetornoEvento {
    int cStat = 0;
    QString xMotivo, nProt, chNFe, xEvento;
    int tpEvento = 0, nSeqEvento = 0;
    QDateTime dhRegEvento;
    QByteArray XML; // retEvento as received
};
struct RetornoLoteEvento {
    qint64 idLote = 0;
    int tpAmb = 0, cOrgao = 0, cStat = 0;
    QString xMotivo;
    Lista<RetornoEvento> retEvento;
};

// The authority's services for the component: authorisation (synchronous or
// with receipt polling), protocol query, status, events and number voiding.
class WebServices {
public:
    explicit WebServices(NFeComponent* owner);
    ~WebServices();

    // Sends every document of the list (signed first if needed; `zipado`
    // sends the batch gzip-compressed). True when the authority answered with
    // a processed batch; false when it did not receive the documents (nothing
    // sent, or a key query says so; Enviar.xMotivo says why). A rejection
    // throws "Código: N - Motivo: ..."; a protocol whose digVal is not the
    // document's is refused. A lost answer is settled by querying the keys;
    // ErroComunicacao (outcome unknown) only when that cannot tell.
    bool Envia(qint64 lote, bool sincrono = true, bool zipado = false);
    struct {
        qint64 lote = 0;
        QString Recibo; // nRec of an asynchronous batch
        int cStat = 0;
        QString xMotivo;
        Lista<ProcNFe> protocolos;
        QByteArray RetWS;       // the last answer's message as received
        bool recuperadoPorConsulta = false;
        QString Protocolo() const { return protocolos.isEmpty() ? QString() : protocolos[0].nProt; }
        QDateTime dhRecbto() const { return protocolos.isEmpty() ? QDateTime() : protocolos[0].dhRecbto; }
    } Enviar;

    // Situation of an access key (NFeConsultaProtocolo4).
    struct EventoConsultado {
        int tpEvento = 0, nSeqEvento = 0, cStat = 0;
        QString nProt, xMotivo, xCorrecao;
        QDateTime dhRegEvento;
    };
    struct Consulta {
        QString NFeChave;
        int cStat = 0;
        QString xMotivo, Protocolo, digVal;
        QDateTime DhRecbto;
        Lista<EventoConsultado> eventos;
        QByteArray RetWS;
    } NFeConsulta;
    // Runs the query for NFeConsulta.NFeChave; true when the authority
    // answered (cStat 100 authorised, 101 cancelled, 217 unknown...).
    bool Consultar();

    struct {
        int cStat = 0, tMed = 0;
        QString xMotivo;
        QDateTime dhRecbto;
        bool daMemoria = false; // answered from the last query (throttled)
        QByteArray RetWS;
    } StatusServico;
    bool ConsultarStatus();

    RetornoLoteEvento EventoRetorno;
    QByteArray EventoEnviado; // the signed envEvento as sent
    QByteArray EventoRetWS;
    // Signs and sends EventoNFe as batch `lote`. False when the batch was
    // refused or the event never reached the authority. A lost answer is
    // settled by a key query; a later "already done" refusal of an event
    // whose answer was lost is replaced by the authority's record of it.
    bool EnviarEvento(qint64 lote);
    // procEventoNFe of event i of the last batch: the signed event and its answer.
    QByteArray ProcEvento(int i) const;

    struct {
        int cStat = 0;
        QString xMotivo, Protocolo;
        QDateTime dhRecbto;
        QByteArray XmlEnviado, RetWS;
    } Inutilizacao;
    // Voids numbers first..last; throws with the code and reason unless 102.
    bool Inutiliza(const QString& cnpj, const QString& justificativa, int ano, int modelo, int serie,
                   int inicial, int final);

    // Forgets the remembered status answers and 656 blocks of every address.
    static void limparControleDeConsumo();

    // The address used for a service, for documents of that model (55 NF-e, 65 NFC-e).
    QString url(soap::Servico s, int modelo = 55) const;

private:
    QByteArray chamar(soap::Servico s, const QByteArray& mensagem, bool zip = false, int modelo = 55);
    void aceitarProtocolos(const QByteArray& resposta, Lista<NotaFiscal*>& notas);
    bool resolverIncerto(Lista<NotaFiscal*>& notas, const QString& motivo, bool loteRecebido);
    bool consultarRecibo(Lista<NotaFiscal*>& notas);
    bool eventosPorConsulta(const QString& motivo);
    // The authority's record of that event, from a key query; false when it
    // has none. Throws when the query fails.
    bool eventoRegistrado(const InfEvento& e, RetornoEvento* r);
    void gravarArquivosEvento();
    QString arquivoEnviado(const NotaFiscal& n) const;
    int modeloDoLote() const;

    NFeComponent* m_owner;
    // Kept between calls so its connection to the authority is reused;
    // rebuilt when the certificate or the CA file changes.
    std::unique_ptr<TransporteHttps> m_transporte;
    QString m_transporteDe;
    // Events whose answer was lost and never settled ("key|type|seq"): a
    // duplicate refusal for them means the earlier request got through.
    QSet<QString> m_eventosIncertos;
};

} // namespace kvo::nfe
