#include "nfe/SoapNFe.h"

#include <QHash>
#include <QXmlStreamReader>

#include <zlib.h>

#include <stdexcept>

namespace kvo::nfe::soap {

namespace {

struct Info {
    const char* nome;
    const char* operacao;
};

Info info(Servico s)
{
    switch (s) {
    case Servico::Autorizacao: return {"NFeAutorizacao4", "nfeAutorizacaoLote"};
    case Servico::RetAutorizacao: return {"NFeRetAutorizacao4", "nfeRetAutorizacaoLote"};
    case Servico::ConsultaProtocolo: return {"NFeConsultaProtocolo4", "nfeConsultaNF"};
    case Servico::StatusServico: return {"NFeStatusServico4", "nfeStatusServicoNF"};
    case Servico::RecepcaoEvento: return {"NFeRecepcaoEvento4", "nfeRecepcaoEvento"};
    case Servico::Inutilizacao: return {"NFeInutilizacao4", "nfeInutilizacaoNF"};
    }
    return {"", ""};
}

const Servico Todos[] = {Servico::Autorizacao,   Servico::RetAutorizacao, Servico::ConsultaProtocolo,
                         Servico::StatusServico, Servico::RecepcaoEvento, Servico::Inutilizacao};

QByteArray montar(Servico s, const char* wrapper, const QByteArray& mensagem)
{
    QByteArray m = mensagem.trimmed();
    if (m.startsWith("<?")) // a declaration inside the body is not well-formed XML
        m = m.mid(m.indexOf("?>") + 2).trimmed();
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                             "<soap12:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                             "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
                             "xmlns:soap12=\"http://www.w3.org/2003/05/soap-envelope\"><soap12:Body><")
        + wrapper + " xmlns=\"" + namespaceWsdl(s).toLatin1() + "\">" + m + "</" + wrapper
        + "></soap12:Body></soap12:Envelope>";
}

// Authorisers by state. States not listed have no default: their addresses
// come from the configuration.
enum class Autorizador { Nenhum, SP, RS, MG, SVRS, SVAN };

Autorizador autorizadorDe(const QString& uf)
{
    static const QHash<QString, Autorizador> porUf = {
        {QStringLiteral("SP"), Autorizador::SP},   {QStringLiteral("RS"), Autorizador::RS},
        {QStringLiteral("MG"), Autorizador::MG},
        {QStringLiteral("MA"), Autorizador::SVAN}, {QStringLiteral("AC"), Autorizador::SVRS},
        {QStringLiteral("AL"), Autorizador::SVRS}, {QStringLiteral("AP"), Autorizador::SVRS},
        {QStringLiteral("DF"), Autorizador::SVRS}, {QStringLiteral("ES"), Autorizador::SVRS},
        {QStringLiteral("PB"), Autorizador::SVRS}, {QStringLiteral("PI"), Autorizador::SVRS},
        {QStringLiteral("RJ"), Autorizador::SVRS}, {QStringLiteral("RN"), Autorizador::SVRS},
        {QStringLiteral("RO"), Autorizador::SVRS}, {QStringLiteral("RR"), Autorizador::SVRS},
        {QStringLiteral("SC"), Autorizador::SVRS}, {QStringLiteral("SE"), Autorizador::SVRS},
        {QStringLiteral("TO"), Autorizador::SVRS},
    };
    return porUf.value(uf.toUpper(), Autorizador::Nenhum);
}

QString caminhoSvrs(Servico s)
{
    switch (s) {
    case Servico::Autorizacao: return QStringLiteral("/ws/NfeAutorizacao/NFeAutorizacao4.asmx");
    case Servico::RetAutorizacao: return QStringLiteral("/ws/NfeRetAutorizacao/NFeRetAutorizacao4.asmx");
    case Servico::ConsultaProtocolo: return QStringLiteral("/ws/NfeConsulta/NfeConsulta4.asmx");
    case Servico::StatusServico: return QStringLiteral("/ws/NfeStatusServico/NfeStatusServico4.asmx");
    case Servico::RecepcaoEvento: return QStringLiteral("/ws/recepcaoevento/recepcaoevento4.asmx");
    case Servico::Inutilizacao: return QStringLiteral("/ws/nfeinutilizacao/nfeinutilizacao4.asmx");
    }
    return {};
}

} // namespace

QString nome(Servico s) { return QLatin1String(info(s).nome); }
QString operacao(Servico s) { return QLatin1String(info(s).operacao); }
QString namespaceWsdl(Servico s) { return QStringLiteral("http://www.portalfiscal.inf.br/nfe/wsdl/") + nome(s); }

bool servicoDoNamespace(const QString& ns, Servico* s)
{
    for (Servico candidato : Todos) {
        if (namespaceWsdl(candidato) == ns) {
            *s = candidato;
            return true;
        }
    }
    return false;
}

QByteArray envelope(Servico s, const QByteArray& mensagem) { return montar(s, "nfeDadosMsg", mensagem); }
QByteArray envelopeResposta(Servico s, const QByteArray& mensagem) { return montar(s, "nfeResultMsg", mensagem); }

QByteArray envelopeZip(Servico s, const QByteArray& mensagem)
{
    QByteArray m = mensagem.trimmed();
    if (m.startsWith("<?"))
        m = m.mid(m.indexOf("?>") + 2).trimmed();
    return montar(s, "nfeDadosMsgZip", gzip(m).toBase64());
}

QByteArray contentType(Servico s, bool zip)
{
    return "application/soap+xml; charset=utf-8; action=\"" + namespaceWsdl(s).toLatin1() + '/'
        + operacao(s).toLatin1() + (zip ? "Zip" : "") + '"';
}

QByteArray gzip(const QByteArray& dados)
{
    z_stream z{};
    // 15 + 16: a gzip header and trailer rather than zlib's.
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("Falha ao compactar a mensagem");
    QByteArray saida(int(deflateBound(&z, uLong(dados.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dados.constData()));
    z.avail_in = uInt(dados.size());
    z.next_out = reinterpret_cast<Bytef*>(saida.data());
    z.avail_out = uInt(saida.size());
    const int rc = deflate(&z, Z_FINISH);
    saida.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("Falha ao compactar a mensagem");
    return saida;
}

QByteArray gunzip(const QByteArray& dados)
{
    z_stream z{};
    if (inflateInit2(&z, 15 + 32) != Z_OK) // gzip or zlib, told by the header
        throw std::runtime_error("Falha ao descompactar a mensagem");
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dados.constData()));
    z.avail_in = uInt(dados.size());
    QByteArray saida;
    char bloco[16384];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(bloco);
        z.avail_out = sizeof bloco;
        rc = inflate(&z, Z_NO_FLUSH);
        saida.append(bloco, qsizetype(sizeof bloco - z.avail_out));
        if (saida.size() > 64 * 1024 * 1024)
            rc = Z_MEM_ERROR; // no message of the layout is this large
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("Mensagem compactada corrompida");
    return saida;
}

QByteArray conteudo(const QByteArray& env, QString* namespaceWrapper)
{
    QXmlStreamReader r(env);
    bool achou = false;
    while (!r.atEnd() && !achou) {
        if (r.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (r.name() == u"nfeDadosMsgZip") {
            if (namespaceWrapper)
                *namespaceWrapper = r.namespaceUri().toString();
            const QByteArray base64 = r.readElementText().trimmed().toLatin1();
            return gunzip(QByteArray::fromBase64(base64)).trimmed();
        }
        if (r.name() == u"nfeDadosMsg" || r.name() == u"nfeResultMsg") {
            achou = true;
            if (namespaceWrapper)
                *namespaceWrapper = r.namespaceUri().toString();
        }
    }
    if (!achou) {
        if (r.hasError())
            throw std::runtime_error("Resposta SOAP mal formada: " + r.errorString().toStdString());
        throw std::runtime_error("Resposta SOAP sem o conteúdo esperado (nfeResultMsg)");
    }
    // The message's bytes as received: signatures must see them unchanged.
    for (const char* wrapper : {"nfeDadosMsg", "nfeResultMsg"}) {
        const qsizetype tag = env.indexOf(wrapper);
        if (tag < 0)
            continue;
        const qsizetype inicio = env.indexOf('>', tag) + 1;
        const qsizetype nome = env.lastIndexOf(wrapper);
        const qsizetype fim = env.lastIndexOf('<', nome);
        if (inicio <= 0 || fim < inicio)
            break;
        return env.mid(inicio, fim - inicio).trimmed();
    }
    throw std::runtime_error("Resposta SOAP sem o conteúdo esperado (nfeResultMsg)");
}

static QString enderecoNFCe(const QString& uf, bool producao, Servico s)
{
    switch (autorizadorDe(uf)) {
    case Autorizador::SP:
        return (producao ? QStringLiteral("https://nfce.fazenda.sp.gov.br/ws/")
                         : QStringLiteral("https://homologacao.nfce.fazenda.sp.gov.br/ws/"))
            + nome(s) + QStringLiteral(".asmx");
    case Autorizador::RS:
        return (producao ? QStringLiteral("https://nfce.sefazrs.rs.gov.br")
                         : QStringLiteral("https://nfce-homologacao.sefazrs.rs.gov.br"))
            + caminhoSvrs(s);
    case Autorizador::MG:
        return (producao ? QStringLiteral("https://nfce.fazenda.mg.gov.br/nfce/services/")
                         : QStringLiteral("https://hnfce.fazenda.mg.gov.br/nfce/services/"))
            + nome(s);
    case Autorizador::SVRS:
    case Autorizador::SVAN: // the virtual authority of these states serves no NFC-e
        return (producao ? QStringLiteral("https://nfce.svrs.rs.gov.br")
                         : QStringLiteral("https://nfce-homologacao.svrs.rs.gov.br"))
            + caminhoSvrs(s);
    case Autorizador::Nenhum:
        break;
    }
    return {};
}

QString enderecoPublicado(const QString& uf, int tpAmb, Servico s, int modelo)
{
    const bool producao = tpAmb == 1;
    if (modelo == 65)
        return enderecoNFCe(uf, producao, s);
    switch (autorizadorDe(uf)) {
    case Autorizador::SP:
        return (producao ? QStringLiteral("https://nfe.fazenda.sp.gov.br/ws/")
                         : QStringLiteral("https://homologacao.nfe.fazenda.sp.gov.br/ws/"))
            + (s == Servico::ConsultaProtocolo ? QStringLiteral("nfeconsultaprotocolo4") : nome(s).toLower())
            + QStringLiteral(".asmx");
    case Autorizador::RS:
        return (producao ? QStringLiteral("https://nfe.sefazrs.rs.gov.br") : QStringLiteral("https://nfe-homologacao.sefazrs.rs.gov.br"))
            + caminhoSvrs(s);
    case Autorizador::MG:
        return (producao ? QStringLiteral("https://nfe.fazenda.mg.gov.br/nfe2/services/")
                         : QStringLiteral("https://hnfe.fazenda.mg.gov.br/nfe2/services/"))
            + nome(s);
    case Autorizador::SVRS:
        return (producao ? QStringLiteral("https://nfe.svrs.rs.gov.br") : QStringLiteral("https://nfe-homologacao.svrs.rs.gov.br"))
            + caminhoSvrs(s);
    case Autorizador::SVAN:
        return (producao ? QStringLiteral("https://www.sefazvirtual.fazenda.gov.br/")
                         : QStringLiteral("https://hom.sefazvirtual.fazenda.gov.br/"))
            + nome(s) + u'/' + nome(s) + QStringLiteral(".asmx");
    case Autorizador::Nenhum:
        break;
    }
    return {};
}

} // namespace kvo::nfe::soap
