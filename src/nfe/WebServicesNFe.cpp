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
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>
#include <QThread>
#include <QUrl>
#include <QXmlStreamWriter>

#include <libxml/tree.h>

#include <stdexcept>

namespace kvo::nfe {

namespace ws {

const QByteArray Ns = QByteArrayLiteral("xmlns=\"http://www.portalfiscal.inf.br/nfe\"");

[[noreturn]] void rejeitar(int cStat, const QString& xMotivo)
{
    throw std::runtime_error(QStringLiteral("Código: %1 - Motivo: %2").arg(cStat).arg(xMotivo).toStdString());
}

bool autorizado(int cStat) { return cStat == 100 || cStat == 150; }

ProcNFe lerProtocolo(xmlNode* protNFe)
{
    ProcNFe p;
    xmlNode* inf = xml::elementos(protNFe, "infProt").value(0, protNFe);
    p.tpAmb = xml::texto(inf, "tpAmb").toInt();
    p.verAplic = xml::texto(inf, "verAplic");
    p.chNFe = xml::texto(inf, "chNFe");
    p.dhRecbto = fmt::parseDateTime(xml::texto(inf, "dhRecbto"));
    p.nProt = xml::texto(inf, "nProt");
    p.digVal = xml::texto(inf, "digVal");
    p.cStat = xml::texto(inf, "cStat").toInt();
    p.xMotivo = xml::texto(inf, "xMotivo");
    return p;
}

RetornoEvento lerRetEvento(xmlDoc* doc, xmlNode* retEvento)
{
    xmlNode* inf = xml::elementos(retEvento, "infEvento").value(0, retEvento);
    RetornoEvento r;
    r.cStat = xml::texto(inf, "cStat").toInt();
    r.xMotivo = xml::texto(inf, "xMotivo");
    r.nProt = xml::texto(inf, "nProt");
    r.chNFe = xml::texto(inf, "chNFe");
    r.xEvento = xml::texto(inf, "xEvento");
    r.tpEvento = xml::texto(inf, "tpEvento").toInt();
    r.nSeqEvento = xml::texto(inf, "nSeqEvento").toInt();
    r.dhRegEvento = fmt::parseDateTime(xml::texto(inf, "dhRegEvento"));
    r.XML = xml::bytesDe(doc, retEvento);
    return r;
}

QByteArray retEventoXml(const RetornoEvento& r, int tpAmb, int cOrgao)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartElement(QStringLiteral("retEvento"));
    w.writeDefaultNamespace(QStringLiteral("http://www.portalfiscal.inf.br/nfe"));
    w.writeAttribute(QStringLiteral("versao"), QStringLiteral("1.00"));
    w.writeStartElement(QStringLiteral("infEvento"));
    w.writeTextElement(QStringLiteral("tpAmb"), QString::number(tpAmb));
    w.writeTextElement(QStringLiteral("verAplic"), QStringLiteral("CONSULTA"));
    w.writeTextElement(QStringLiteral("cOrgao"), QString::number(cOrgao));
    w.writeTextElement(QStringLiteral("cStat"), QString::number(r.cStat));
    w.writeTextElement(QStringLiteral("xMotivo"), r.xMotivo);
    w.writeTextElement(QStringLiteral("chNFe"), r.chNFe);
    w.writeTextElement(QStringLiteral("tpEvento"), QString::number(r.tpEvento));
    w.writeTextElement(QStringLiteral("nSeqEvento"), QString::number(r.nSeqEvento));
    w.writeTextElement(QStringLiteral("dhRegEvento"), fmt::dateTime(r.dhRegEvento));
    w.writeTextElement(QStringLiteral("nProt"), r.nProt);
    w.writeEndElement();
    w.writeEndElement();
    return out;
}

void gravar(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") < 0
        || f.write(bytes) != bytes.size() || !f.commit())
        throw std::runtime_error("Não foi possível gravar " + path.toStdString());
}

void guardarAutorizada(NotaFiscal& n)
{
    if (n.NomeArq.isEmpty())
        return;
    try {
        gravar(n.NomeArq, n.XMLOriginal());
    } catch (const std::exception&) {
    }
}

} // namespace ws

using namespace ws;
using soap::Servico;

namespace {

// Per authority address: the last status answer and a block after 656.
struct Guarda {
    QDateTime bloqueadoAte;
    QDateTime ultimoStatus;
    int statusCStat = 0, statusTMed = 0;
    QString statusMotivo;
    QDateTime statusDh;
    QByteArray statusRetWS;
};
QMutex guardasMutex;
QHash<QString, Guarda>& guardas()
{
    static QHash<QString, Guarda> g;
    return g;
}
QString chaveGuarda(const QString& url)
{
    const QUrl u(url);
    return u.host() + u':' + QString::number(u.port(443));
}
} // namespace

WebServices::WebServices(NFeComponent* owner) : m_owner(owner) {}

WebServices::~WebServices() = default;

void WebServices::limparControleDeConsumo()
{
    QMutexLocker lock(&guardasMutex);
    guardas().clear();
}

QString WebServices::url(Servico s, int modelo) const
{
    const ConfiguracoesNFe& c = m_owner->Configuracoes;
    const ConfiguracoesWebServices& w = c.WebServices;
    const QString nome = soap::nome(s);
    const auto juntar = [&nome](QString base) -> QString {
        while (base.endsWith(u'/'))
            base.chop(1);
        return base + u'/' + nome;
    };
    const bool nfce = modelo == 65;
    if (nfce && w.urlsNFCe.contains(nome))
        return w.urlsNFCe.value(nome);
    if (nfce && !w.urlBaseNFCe.isEmpty())
        return juntar(w.urlBaseNFCe);
    if (!nfce && w.urls.contains(nome))
        return w.urls.value(nome);
    if (!w.urlBase.isEmpty())
        return juntar(w.urlBase);
    return soap::enderecoPublicado(w.uf, c.tpAmb, s, modelo);
}

QByteArray WebServices::chamar(Servico s, const QByteArray& mensagem, bool zip, int modelo)
{
    const ConfiguracoesWebServices& c = m_owner->Configuracoes.WebServices;
    const QString endereco = url(s, modelo);
    if (endereco.isEmpty())
        throw std::runtime_error(QStringLiteral("Endereço do webservice %1 não configurado para a UF \"%2\".")
                                     .arg(soap::nome(s), c.uf)
                                     .toStdString());
    const QString guarda = chaveGuarda(endereco);
    {
        QMutexLocker lock(&guardasMutex);
        const QDateTime ate = guardas().value(guarda).bloqueadoAte;
        if (ate.isValid() && ate > QDateTime::currentDateTime())
            throw ErroComunicacao(QStringLiteral("A SEFAZ bloqueou o acesso por consumo indevido (656). "
                                                 "Aguarde até %1 para tentar de novo.")
                                      .arg(ate.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))),
                                  false);
    }
    const CertificadoA1& certificado = m_owner->certificado();
    const QFileInfo ca(c.arquivoCA);
    const QString de = QString::fromLatin1(certificado.certificadoDer().toBase64()) + u'|' + ca.absoluteFilePath()
        + u'|' + ca.lastModified().toString(Qt::ISODateWithMs) + u'|' + QString::number(ca.size());
    if (!m_transporte || m_transporteDe != de) {
        m_transporte.reset();
        m_transporte = std::make_unique<TransporteHttps>(certificado, c.arquivoCA);
        m_transporteDe = de;
    }
    TransporteHttps& transporte = *m_transporte;
    transporte.timeoutConexaoMs = c.timeoutConexaoMs;
    transporte.timeoutRespostaMs = c.timeoutMs;
    const RespostaHttp resposta = transporte.post(endereco, soap::contentType(s, zip),
                                                  zip ? soap::envelopeZip(s, mensagem) : soap::envelope(s, mensagem));
    QByteArray conteudo;
    try {
        conteudo = soap::conteudo(resposta.corpo);
    } catch (const std::runtime_error& e) {
        // The authority may have acted: an unreadable answer is not a refusal.
        throw ErroComunicacao(QString::fromUtf8(e.what()), true);
    }
    if (conteudo.contains("<cStat>656</cStat>")) {
        QMutexLocker lock(&guardasMutex);
        guardas()[guarda].bloqueadoAte = QDateTime::currentDateTime().addSecs(c.bloqueio656S);
    }
    return conteudo;
}

bool WebServices::Consultar()
{
    Consulta& c = NFeConsulta;
    c.cStat = 0;
    c.xMotivo.clear();
    c.Protocolo.clear();
    c.digVal.clear();
    c.DhRecbto = {};
    c.eventos.Clear();
    c.RetWS.clear();
    const QString chave = OnlyNumber(c.NFeChave);
    if (!ChaveValida(chave))
        throw std::runtime_error("Chave de acesso inválida: " + c.NFeChave.toStdString());
    const QByteArray pedido = "<consSitNFe " + Ns + " versao=\"4.00\"><tpAmb>"
        + QByteArray::number(m_owner->Configuracoes.tpAmb) + "</tpAmb><xServ>CONSULTAR</xServ><chNFe>"
        + chave.toLatin1() + "</chNFe></consSitNFe>";
    c.RetWS = chamar(Servico::ConsultaProtocolo, pedido, false, chave.mid(20, 2).toInt());
    xml::DocPtr doc = xml::parse(c.RetWS);
    xmlNode* raiz = xml::raiz(doc.get());
    c.cStat = xml::texto(raiz, "cStat").toInt();
    c.xMotivo = xml::texto(raiz, "xMotivo");
    if (xmlNode* prot = xml::elementos(raiz, "protNFe").value(0)) {
        const ProcNFe p = lerProtocolo(prot);
        c.Protocolo = p.nProt;
        c.DhRecbto = p.dhRecbto;
        c.digVal = p.digVal;
    }
    for (xmlNode* proc : xml::elementos(raiz, "procEventoNFe", true)) {
        xmlNode* ret = xml::elementos(proc, "retEvento").value(0);
        if (!ret)
            continue;
        const RetornoEvento r = lerRetEvento(doc.get(), ret);
        EventoConsultado& e = c.eventos.Add();
        e.tpEvento = r.tpEvento;
        e.nSeqEvento = r.nSeqEvento;
        e.cStat = r.cStat;
        e.nProt = r.nProt;
        e.xMotivo = r.xMotivo;
        e.dhRegEvento = r.dhRegEvento;
        e.xCorrecao = xml::texto(xml::elementos(proc, "evento").value(0), "xCorrecao");
    }
    return true;
}

bool WebServices::ConsultarStatus()
{
    const ConfiguracoesNFe& conf = m_owner->Configuracoes;
    const QString guarda = chaveGuarda(url(Servico::StatusServico));
    const QDateTime agora = QDateTime::currentDateTime();
    {
        // Asking again within the interval would only earn rejection 656.
        QMutexLocker lock(&guardasMutex);
        const Guarda& g = guardas()[guarda];
        if (g.ultimoStatus.isValid() && g.ultimoStatus.secsTo(agora) < conf.WebServices.intervaloMinimoStatusS) {
            StatusServico.cStat = g.statusCStat;
            StatusServico.tMed = g.statusTMed;
            StatusServico.xMotivo = g.statusMotivo;
            StatusServico.dhRecbto = g.statusDh;
            StatusServico.RetWS = g.statusRetWS;
            StatusServico.daMemoria = true;
            return true;
        }
    }
    const int cUF = UFparaCodigo(conf.WebServices.uf);
    if (cUF == 0)
        throw std::runtime_error("UF do emitente não configurada para a consulta de status.");
    const QByteArray pedido = "<consStatServ " + Ns + " versao=\"4.00\"><tpAmb>" + QByteArray::number(conf.tpAmb)
        + "</tpAmb><cUF>" + QByteArray::number(cUF) + "</cUF><xServ>STATUS</xServ></consStatServ>";
    StatusServico.RetWS = chamar(Servico::StatusServico, pedido);
    xml::DocPtr doc = xml::parse(StatusServico.RetWS);
    xmlNode* raiz = xml::raiz(doc.get());
    StatusServico.cStat = xml::texto(raiz, "cStat").toInt();
    StatusServico.xMotivo = xml::texto(raiz, "xMotivo");
    StatusServico.tMed = xml::texto(raiz, "tMed").toInt();
    StatusServico.dhRecbto = fmt::parseDateTime(xml::texto(raiz, "dhRecbto"));
    StatusServico.daMemoria = false;
    if (StatusServico.cStat != 656) {
        QMutexLocker lock(&guardasMutex);
        Guarda& g = guardas()[guarda];
        g.ultimoStatus = agora;
        g.statusCStat = StatusServico.cStat;
        g.statusTMed = StatusServico.tMed;
        g.statusMotivo = StatusServico.xMotivo;
        g.statusDh = StatusServico.dhRecbto;
        g.statusRetWS = StatusServico.RetWS;
    }
    return true;
}

} // namespace kvo::nfe
