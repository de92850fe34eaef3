// Authorisation: sending, receipt polling and settling a lost answer.
#include "nfe/WebServicesNFe.h"

#include "core/Paths.h"
#include "nfe/ChaveAcesso.h"
#include "nfe/NFeComponent.h"
#include "nfe/NFeFormat.h"
#include "nfe/NFeXmlWriter.h"
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

QString WebServices::arquivoEnviado(const NotaFiscal& n) const
{
    const QString pasta = m_owner->Configuracoes.PathEnviadas.isEmpty()
        ? QDir(programFolder()).filePath(QStringLiteral("nfe/enviadas"))
        : m_owner->Configuracoes.PathEnviadas;
    QDir().mkpath(pasta);
    return QDir(pasta).filePath(chaveNumerica(n.NFe) + QStringLiteral("-nfe.xml"));
}

int WebServices::modeloDoLote() const
{
    const NotasFiscais& lista = m_owner->NotasFiscais;
    return lista.Count() > 0 ? lista[0].NFe.Ide.mod : 55;
}

bool WebServices::Envia(qint64 lote, bool sincrono, bool zipado)
{
    Enviar.lote = lote;
    Enviar.Recibo.clear();
    Enviar.cStat = 0;
    Enviar.xMotivo.clear();
    Enviar.protocolos.Clear();
    Enviar.RetWS.clear();
    Enviar.recuperadoPorConsulta = false;
    NotasFiscais& lista = m_owner->NotasFiscais;
    if (lista.Count() == 0)
        throw std::runtime_error("Nenhuma NF-e carregada para enviar.");
    if (sincrono && lista.Count() > 1)
        throw std::runtime_error("O envio síncrono aceita uma única NF-e por lote.");
    for (int i = 0; i < lista.Count(); ++i)
        if (!lista[i].Assinada && !lista[i].Transmitida)
            lista.Assinar();

    Lista<NotaFiscal*> notas;
    QByteArray envi = "<enviNFe " + Ns + " versao=\"4.00\"><idLote>" + QByteArray::number(lote)
        + "</idLote><indSinc>" + (sincrono ? "1" : "0") + "</indSinc>";
    for (int i = 0; i < lista.Count(); ++i) {
        notas.Add() = &lista[i];
        envi += lista[i].XML;
    }
    envi += "</enviNFe>";

    // A durable copy first: whatever happens next, these are the bytes sent.
    for (NotaFiscal* n : notas) {
        gravar(arquivoEnviado(*n), n->XML);
        n->NomeArq = arquivoEnviado(*n);
    }
    for (NotaFiscal* n : notas)
        n->Transmitida = true; // from here the bytes may reach the authority
    QByteArray resposta;
    try {
        resposta = chamar(Servico::Autorizacao, envi, zipado, modeloDoLote());
    } catch (const ErroComunicacao& e) {
        if (!e.podeTerChegado()) {
            for (NotaFiscal* n : notas)
                n->Transmitida = false;
            Enviar.xMotivo = QString::fromUtf8(e.what());
            return false;
        }
        const bool recebida = resolverIncerto(notas, QString::fromUtf8(e.what()), false);
        if (recebida && sincrono)
            Enviar.Recibo = Enviar.Protocolo();
        return recebida;
    }
    Enviar.RetWS = resposta;
    xml::DocPtr doc = xml::parse(resposta);
    xmlNode* raiz = xml::raiz(doc.get());
    Enviar.cStat = xml::texto(raiz, "cStat").toInt();
    Enviar.xMotivo = xml::texto(raiz, "xMotivo");
    if (Enviar.cStat == 104) {
        aceitarProtocolos(resposta, notas);
        // A synchronous batch gets no receipt number of its own; its
        // protocol is what identifies it with the authority.
        Enviar.Recibo = xml::texto(raiz, "nRec");
        if (Enviar.Recibo.isEmpty())
            Enviar.Recibo = Enviar.Protocolo();
        return true;
    }
    if (Enviar.cStat == 103) {
        Enviar.Recibo = xml::texto(raiz, "nRec");
        return consultarRecibo(notas);
    }
    for (NotaFiscal* n : notas)
        n->Transmitida = false; // the whole batch was refused: nothing was authorised
    rejeitar(Enviar.cStat, Enviar.xMotivo);
}

void WebServices::aceitarProtocolos(const QByteArray& resposta, Lista<NotaFiscal*>& notas)
{
    xml::DocPtr doc = xml::parse(resposta);
    QStringList rejeicoes;
    for (xmlNode* no : xml::elementos(xml::raiz(doc.get()), "protNFe", true)) {
        const ProcNFe p = lerProtocolo(no);
        NotaFiscal* nota = nullptr;
        for (NotaFiscal* n : notas)
            if (chaveNumerica(n->NFe) == p.chNFe)
                nota = n;
        if (!nota)
            continue;
        if (autorizado(p.cStat)) {
            if (p.digVal != digestValue(nota->XML))
                throw std::runtime_error(QStringLiteral("O protocolo %1 não corresponde ao XML enviado "
                                                        "(digVal %2, esperado %3).")
                                             .arg(p.nProt, p.digVal, digestValue(nota->XML))
                                             .toStdString());
            nota->NFe.procNFe = p;
            Enviar.protocolos.Add() = p;
            guardarAutorizada(*nota);
            continue;
        }
        if (p.nProt.isEmpty())
            nota->Transmitida = false; // refused without using the number
        else
            Enviar.protocolos.Add() = p; // denied use: the number is spent
        rejeicoes << QStringLiteral("Código: %1 - Motivo: %2").arg(p.cStat).arg(p.xMotivo);
    }
    if (!rejeicoes.isEmpty())
        throw std::runtime_error(rejeicoes.join(u'\n').toStdString());
}

bool WebServices::consultarRecibo(Lista<NotaFiscal*>& notas)
{
    const ConfiguracoesWebServices& c = m_owner->Configuracoes.WebServices;
    const QByteArray pedido = "<consReciNFe " + Ns + " versao=\"4.00\"><tpAmb>"
        + QByteArray::number(m_owner->Configuracoes.tpAmb) + "</tpAmb><nRec>" + Enviar.Recibo.toLatin1()
        + "</nRec></consReciNFe>";
    QString ultimo;
    for (int tentativa = 0; tentativa < qMax(1, c.tentativasRecibo); ++tentativa) {
        QThread::msleep(ulong(qMax(0, c.intervaloReciboMs)));
        QByteArray resposta;
        try {
            resposta = chamar(Servico::RetAutorizacao, pedido, false, modeloDoLote());
        } catch (const ErroComunicacao& e) {
            ultimo = QString::fromUtf8(e.what());
            continue;
        }
        Enviar.RetWS = resposta;
        xml::DocPtr doc = xml::parse(resposta);
        xmlNode* raiz = xml::raiz(doc.get());
        Enviar.cStat = xml::texto(raiz, "cStat").toInt();
        Enviar.xMotivo = xml::texto(raiz, "xMotivo");
        if (Enviar.cStat == 105) {
            ultimo = Enviar.xMotivo;
            continue;
        }
        if (Enviar.cStat == 104) {
            aceitarProtocolos(resposta, notas);
            return true;
        }
        ultimo = QStringLiteral("%1 - %2").arg(Enviar.cStat).arg(Enviar.xMotivo);
        break;
    }
    return resolverIncerto(notas, QStringLiteral("recibo %1 sem resultado: %2").arg(Enviar.Recibo, ultimo), true);
}

bool WebServices::resolverIncerto(Lista<NotaFiscal*>& notas, const QString& motivo, bool loteRecebido)
{
    Lista<ProcNFe> achados;
    QStringList naoRecebidas;
    for (NotaFiscal* n : notas) {
        const QString chave = chaveNumerica(n->NFe);
        NFeConsulta.NFeChave = chave;
        try {
            Consultar();
        } catch (const std::exception& e) {
            throw ErroComunicacao(QStringLiteral("Situação da NF-e %1 desconhecida: %2\nA consulta pela chave também "
                                                 "falhou: %3\nConsulte a NF-e antes de transmiti-la novamente.")
                                      .arg(chave, motivo, QString::fromUtf8(e.what())),
                                  true);
        }
        if (autorizado(NFeConsulta.cStat) || NFeConsulta.cStat == 101) {
            if (NFeConsulta.digVal != digestValue(n->XML))
                throw std::runtime_error(QStringLiteral("A NF-e %1 consta autorizada na SEFAZ com conteúdo diferente do "
                                                        "enviado (digVal %2).")
                                             .arg(chave, NFeConsulta.digVal)
                                             .toStdString());
            ProcNFe p;
            p.tpAmb = m_owner->Configuracoes.tpAmb;
            p.verAplic = QStringLiteral("CONSULTA");
            p.chNFe = chave;
            p.dhRecbto = NFeConsulta.DhRecbto;
            p.nProt = NFeConsulta.Protocolo;
            p.digVal = NFeConsulta.digVal;
            p.cStat = 100;
            p.xMotivo = QStringLiteral("Autorizado o uso da NF-e");
            n->NFe.procNFe = p;
            achados.Add() = p;
            guardarAutorizada(*n);
        } else if (NFeConsulta.cStat == 217 && !loteRecebido) {
            naoRecebidas << chave;
        } else {
            throw ErroComunicacao(QStringLiteral("Situação da NF-e %1 desconhecida: %2\nConsulta: %3 - %4\n"
                                                 "Consulte a NF-e antes de transmiti-la novamente.")
                                      .arg(chave, motivo)
                                      .arg(NFeConsulta.cStat)
                                      .arg(NFeConsulta.xMotivo),
                                  true);
        }
    }
    Enviar.protocolos = achados;
    Enviar.recuperadoPorConsulta = true;
    if (!naoRecebidas.isEmpty()) {
        // The authority has no record of them: they can be sent again.
        for (NotaFiscal* n : notas)
            if (naoRecebidas.contains(chaveNumerica(n->NFe)))
                n->Transmitida = false;
        Enviar.xMotivo = QStringLiteral("%1\nA SEFAZ não recebeu a NF-e %2.").arg(motivo, naoRecebidas.join(u", "));
        return false;
    }
    Enviar.cStat = 104;
    Enviar.xMotivo = QStringLiteral("Resposta perdida; protocolo obtido pela consulta da chave");
    return true;
}

} // namespace kvo::nfe
