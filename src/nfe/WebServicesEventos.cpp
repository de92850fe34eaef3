// Events (cancellation, correction letter) and number voiding.
#include "nfe/WebServicesNFe.h"

#include "core/Paths.h"
#include "nfe/ChaveAcesso.h"
#include "nfe/NFeComponent.h"
#include "nfe/NFeFormat.h"
#include "nfe/TransporteHttps.h"
#include "nfe/VerificadorAssinatura.h"
#include "nfe/WebServicesInterno.h"
#include "nfe/XmlLib.h"
#include "nfe/XmlNos.h"

#include <QDir>
#include <QThread>

#include <libxml/tree.h>

#include <stdexcept>

namespace kvo::nfe {

using namespace ws;
using soap::Servico;

namespace {

QString chaveEvento(const InfEvento& e)
{
    return QStringLiteral("%1|%2|%3").arg(OnlyNumber(e.chNFe)).arg(e.tpEvento).arg(e.nSeqEvento);
}

} // namespace

bool WebServices::EnviarEvento(qint64 lote)
{
    EventoRetorno = {};
    EventoEnviado.clear();
    EventoRetWS.clear();
    EventosNFe& eventos = m_owner->EventoNFe;
    eventos.idLote = lote;
    for (InfEvento& e : eventos.Evento) {
        e.tpAmb = m_owner->Configuracoes.tpAmb;
        if (e.cOrgao == 0)
            e.cOrgao = OnlyNumber(e.chNFe).left(2).toInt();
        if (e.CNPJ.isEmpty())
            e.CNPJ = m_owner->certificado().cnpj();
        if (!e.dhEvento.isValid())
            e.dhEvento = QDateTime::currentDateTime();
    }
    EventoEnviado = m_owner->GerarEventoAssinado();
    EventoRetorno.idLote = lote;
    try {
        const int modelo = eventos.Evento.isEmpty() ? 55 : OnlyNumber(eventos.Evento[0].chNFe).mid(20, 2).toInt();
        EventoRetWS = chamar(Servico::RecepcaoEvento, EventoEnviado, false, modelo);
    } catch (const ErroComunicacao& e) {
        if (!e.podeTerChegado()) {
            EventoRetorno.xMotivo = QString::fromUtf8(e.what());
            return false;
        }
        return eventosPorConsulta(QString::fromUtf8(e.what()));
    }
    xml::DocPtr doc = xml::parse(EventoRetWS);
    xmlNode* raiz = xml::raiz(doc.get());
    EventoRetorno.tpAmb = xml::texto(raiz, "tpAmb").toInt();
    EventoRetorno.cOrgao = xml::texto(raiz, "cOrgao").toInt();
    // Document order puts the batch's own cStat before the events'.
    EventoRetorno.cStat = xml::texto(raiz, "cStat").toInt();
    EventoRetorno.xMotivo = xml::texto(raiz, "xMotivo");
    for (xmlNode* ret : xml::elementos(raiz, "retEvento"))
        EventoRetorno.retEvento.Add() = lerRetEvento(doc.get(), ret);
    for (const InfEvento& e : eventos.Evento) {
        const QString chave = chaveEvento(e);
        if (!m_eventosIncertos.contains(chave))
            continue;
        bool resolvido = true;
        for (RetornoEvento& r : EventoRetorno.retEvento) {
            const bool duplicado = r.cStat == 573 || (r.cStat == 218 && e.tpEvento == EventoCancelamento);
            if (r.tpEvento != e.tpEvento || r.nSeqEvento != e.nSeqEvento || !duplicado)
                continue;
            // Refused as already done: the earlier, unanswered request got through.
            RetornoEvento registrado;
            try {
                if (eventoRegistrado(e, &registrado))
                    r = registrado;
            } catch (const std::exception&) {
                resolvido = false; // still unknown; the refusal stands for now
            }
        }
        if (resolvido)
            m_eventosIncertos.remove(chave);
    }
    gravarArquivosEvento();
    return EventoRetorno.cStat == 128;
}

bool WebServices::eventoRegistrado(const InfEvento& e, RetornoEvento* r)
{
    NFeConsulta.NFeChave = e.chNFe;
    Consultar();
    for (const EventoConsultado& c : NFeConsulta.eventos) {
        if (c.tpEvento != e.tpEvento || c.nSeqEvento != e.nSeqEvento)
            continue;
        // A letter with this sequence but another text is not this letter.
        if (e.tpEvento == EventoCartaCorrecao && c.xCorrecao != fmt::text(e.xCorrecao))
            return false;
        r->cStat = c.cStat;
        r->xMotivo = c.xMotivo;
        r->nProt = c.nProt;
        r->chNFe = OnlyNumber(e.chNFe);
        r->tpEvento = c.tpEvento;
        r->nSeqEvento = c.nSeqEvento;
        r->dhRegEvento = c.dhRegEvento;
        r->XML = retEventoXml(*r, e.tpAmb, e.cOrgao);
        return true;
    }
    return false;
}

bool WebServices::eventosPorConsulta(const QString& motivo)
{
    const EventosNFe& eventos = m_owner->EventoNFe;
    for (const InfEvento& e : eventos.Evento) {
        RetornoEvento r;
        bool registrado = false;
        try {
            registrado = eventoRegistrado(e, &r);
        } catch (const std::exception& erro) {
            for (const InfEvento& pendente : eventos.Evento)
                m_eventosIncertos.insert(chaveEvento(pendente));
            throw ErroComunicacao(QStringLiteral("Situação do evento desconhecida: %1\nA consulta pela chave também falhou: "
                                                 "%2\nConsulte a NF-e antes de enviar o evento novamente.")
                                      .arg(motivo, QString::fromUtf8(erro.what())),
                                  true);
        }
        if (!registrado) {
            // The query lists every registered event: this one was not.
            EventoRetorno.retEvento.Clear();
            EventoRetorno.xMotivo = QStringLiteral("%1\nO evento não foi registrado pela SEFAZ.").arg(motivo);
            return false;
        }
        EventoRetorno.retEvento.Add() = r;
        m_eventosIncertos.remove(chaveEvento(e));
    }
    EventoRetorno.tpAmb = m_owner->Configuracoes.tpAmb;
    EventoRetorno.cOrgao = eventos.Evento.isEmpty() ? 0 : eventos.Evento[0].cOrgao;
    EventoRetorno.cStat = 128;
    EventoRetorno.xMotivo = QStringLiteral("Resposta perdida; eventos obtidos pela consulta da chave");
    gravarArquivosEvento();
    return true;
}

QByteArray WebServices::ProcEvento(int i) const
{
    xml::DocPtr doc = xml::parse(EventoEnviado);
    const QList<xmlNode*> enviados = xml::elementos(xml::raiz(doc.get()), "evento");
    if (i < 0 || i >= enviados.size() || i >= EventoRetorno.retEvento.Count())
        return {};
    return "<procEventoNFe " + Ns + " versao=\"1.00\">" + xml::bytesDe(doc.get(), enviados[i])
        + EventoRetorno.retEvento[i].XML + "</procEventoNFe>";
}

void WebServices::gravarArquivosEvento()
{
    const ConfiguracoesNFe& c = m_owner->Configuracoes;
    if (!c.Salvar)
        return;
    const QString pasta = c.PathEvento.isEmpty() ? QDir(programFolder()).filePath(QStringLiteral("evento")) : c.PathEvento;
    QDir().mkpath(pasta);
    gravar(QDir(pasta).filePath(QStringLiteral("%1-ped-eve.xml").arg(EventoRetorno.idLote)), EventoEnviado);
    for (int i = 0; i < EventoRetorno.retEvento.Count(); ++i) {
        const RetornoEvento& r = EventoRetorno.retEvento[i];
        const QString base = QStringLiteral("%1%2%3").arg(r.tpEvento).arg(r.chNFe).arg(r.nSeqEvento, 2, 10, QChar(u'0'));
        const QByteArray proc = ProcEvento(i);
        gravar(QDir(pasta).filePath(base + QStringLiteral("-procEventoNFe.xml")), proc.isEmpty() ? r.XML : proc);
    }
}

bool WebServices::Inutiliza(const QString& cnpj, const QString& justificativa, int ano, int modelo, int serie,
                            int inicial, int final)
{
    const ConfiguracoesNFe& conf = m_owner->Configuracoes;
    InutilizacaoNFe i;
    i.tpAmb = conf.tpAmb;
    i.cUF = UFparaCodigo(conf.WebServices.uf);
    if (i.cUF == 0)
        throw std::runtime_error("UF do emitente não configurada para a inutilização.");
    i.ano = ano % 100;
    i.CNPJ = cnpj;
    i.mod = modelo;
    i.serie = serie;
    i.nNFIni = inicial;
    i.nNFFin = final;
    i.xJust = justificativa;
    Inutilizacao.cStat = 0;
    Inutilizacao.xMotivo.clear();
    Inutilizacao.Protocolo.clear();
    Inutilizacao.dhRecbto = {};
    Inutilizacao.RetWS.clear();
    Inutilizacao.XmlEnviado = m_owner->GerarInutilizacaoAssinada(i);
    try {
        Inutilizacao.RetWS = chamar(Servico::Inutilizacao, Inutilizacao.XmlEnviado, false, modelo);
    } catch (const ErroComunicacao& e) {
        if (!e.podeTerChegado())
            throw;
        throw ErroComunicacao(QStringLiteral("Situação da inutilização desconhecida: %1\nRepita o pedido: se a faixa já "
                                             "estiver inutilizada, a SEFAZ responderá que ela já consta inutilizada.")
                                  .arg(QString::fromUtf8(e.what())),
                              true);
    }
    xml::DocPtr doc = xml::parse(Inutilizacao.RetWS);
    xmlNode* raiz = xml::raiz(doc.get());
    Inutilizacao.cStat = xml::texto(raiz, "cStat").toInt();
    Inutilizacao.xMotivo = xml::texto(raiz, "xMotivo");
    Inutilizacao.Protocolo = xml::texto(raiz, "nProt");
    Inutilizacao.dhRecbto = fmt::parseDateTime(xml::texto(raiz, "dhRecbto"));
    if (Inutilizacao.cStat != 102)
        rejeitar(Inutilizacao.cStat, Inutilizacao.xMotivo);
    return true;
}

} // namespace kvo::nfe
