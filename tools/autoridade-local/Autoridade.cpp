#include "Autoridade.h"
#include "RegrasNFe.h"
#include "RespostasXml.h"

#include "nfe/ChaveAcesso.h"
#include "nfe/EventoNFe.h"
#include "nfe/NFeFormat.h"
#include "nfe/NFeXmlReader.h"
#include "nfe/NFeXmlWriter.h"
#include "nfe/XmlLib.h"
#include "nfe/XmlNos.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <stdexcept>
namespace kvo::autoridade {

using nfe::soap::Servico;
namespace xml = nfe::xml;

Autoridade::Autoridade(Opcoes opcoes)
    : m_opcoes(std::move(opcoes)), m_validador(m_opcoes.pastaSchemas),
      m_verificador(std::make_unique<nfe::VerificadorAssinatura>(m_opcoes.casAssinatura))
{
    QFile f(QDir(m_opcoes.pasta).filePath(QStringLiteral("estado.json")));
    if (f.open(QIODevice::ReadOnly)) {
        QJsonParseError erro;
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &erro);
        if (erro.error != QJsonParseError::NoError)
            throw std::runtime_error("estado.json ilegível: " + erro.errorString().toStdString());
        m_estado = doc.object();
    }
}

void Autoridade::salvar()
{
    QSaveFile f(QDir(m_opcoes.pasta).filePath(QStringLiteral("estado.json")));
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(m_estado).toJson()) < 0 || !f.commit())
        throw std::runtime_error("Não foi possível gravar o estado da autoridade");
}

QString Autoridade::novoProtocolo(int cUF)
{
    const qint64 seq = m_estado.value(QStringLiteral("protocolo")).toInteger() + 1;
    m_estado.insert(QStringLiteral("protocolo"), seq);
    return QStringLiteral("1%1%2%3")
        .arg(cUF, 2, 10, QChar(u'0'))
        .arg(QDate::currentDate().year() % 100, 2, 10, QChar(u'0'))
        .arg(seq, 10, 10, QChar(u'0'));
}

QStringList Autoridade::problemasDeSchema(xmlDoc* doc, const QString& schema) const
{
    return m_validador.validar(doc, schema);
}

QString Autoridade::chaveDoNumero(const QString& cnpj, int mod, int serie, int nNF) const
{
    const QJsonObject notas = m_estado.value(QStringLiteral("notas")).toObject();
    for (auto it = notas.begin(); it != notas.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        if (o.value(QStringLiteral("cnpj")).toString() == cnpj && o.value(QStringLiteral("mod")).toInt() == mod
            && o.value(QStringLiteral("serie")).toInt() == serie && o.value(QStringLiteral("nNF")).toInt() == nNF)
            return it.key();
    }
    return {};
}

bool Autoridade::numeroInutilizado(const QString& cnpj, int mod, int serie, int nNF) const
{
    for (const QJsonValue& v : m_estado.value(QStringLiteral("inutilizacoes")).toArray()) {
        const QJsonObject o = v.toObject();
        if (o.value(QStringLiteral("cnpj")).toString() == cnpj && o.value(QStringLiteral("mod")).toInt() == mod
            && o.value(QStringLiteral("serie")).toInt() == serie && o.value(QStringLiteral("ini")).toInt() <= nNF
            && nNF <= o.value(QStringLiteral("fin")).toInt())
            return true;
    }
    return false;
}

QByteArray Autoridade::processar(Servico s, const QByteArray& mensagem, const Injecao& inj,
                                 const QString& cnpjTransmissor)
{
    m_cnpjTransmissor = cnpjTransmissor;
    xml::DocPtr doc;
    try {
        doc = xml::parse(mensagem);
    } catch (const std::exception&) {
        return responderCom(s, 243, QStringLiteral("Rejeição: XML Mal Formado"));
    }
    switch (s) {
    case Servico::Autorizacao: return autorizar(doc.get(), inj);
    case Servico::RetAutorizacao: return consultarRecibo(doc.get());
    case Servico::ConsultaProtocolo: return consultarSituacao(doc.get());
    case Servico::StatusServico: return status(doc.get());
    case Servico::RecepcaoEvento: return eventos(doc.get(), mensagem, inj);
    case Servico::Inutilizacao: return inutilizar(doc.get(), mensagem);
    }
    return {};
}

QByteArray Autoridade::responderCom(Servico s, int cStat, const QString& xMotivo)
{
    const Campos cabecalho = {{"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic}, {"cStat", n(cStat)},
                              {"xMotivo", xMotivo}};
    switch (s) {
    case Servico::Autorizacao:
        return raiz("retEnviNFe", "4.00", campos(cabecalho + Campos{{"cUF", QStringLiteral("35")}, {"dhRecbto", agora()}}));
    case Servico::RetAutorizacao:
        return raiz("retConsReciNFe", "4.00",
                    campos({{"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic}, {"nRec", QStringLiteral("000000000000000")},
                            {"cStat", n(cStat)}, {"xMotivo", xMotivo}, {"cUF", QStringLiteral("35")}, {"dhRecbto", agora()}}));
    case Servico::ConsultaProtocolo:
        return raiz("retConsSitNFe", "4.00", campos(cabecalho + Campos{{"cUF", QStringLiteral("35")}, {"dhRecbto", agora()}}));
    case Servico::StatusServico:
        return raiz("retConsStatServ", "4.00", campos(cabecalho + Campos{{"cUF", QStringLiteral("35")}, {"dhRecbto", agora()}}));
    case Servico::RecepcaoEvento:
        return raiz("retEnvEvento", "1.00",
                    campos({{"idLote", QStringLiteral("0")}, {"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic},
                            {"cOrgao", QStringLiteral("35")}, {"cStat", n(cStat)}, {"xMotivo", xMotivo}}));
    case Servico::Inutilizacao:
        return raiz("retInutNFe", "4.00", grupo("infInut", campos(cabecalho + Campos{{"cUF", QStringLiteral("35")}})));
    }
    return {};
}

QByteArray Autoridade::autorizar(xmlDoc* doc, const Injecao& inj)
{
    xmlNode* r = xml::raiz(doc);
    const QList<xmlNode*> notas = xml::elementos(r, "NFe");
    const int cUF = notas.isEmpty() ? 35 : xml::texto(notas[0], "cUF").toInt();
    const auto lote = [&](int cStat, const QString& motivo, const QByteArray& depois) {
        return raiz("retEnviNFe", "4.00",
                    campos({{"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic}, {"cStat", n(cStat)}, {"xMotivo", motivo},
                            {"cUF", n(cUF)}, {"dhRecbto", agora()}})
                        + depois);
    };
    if (!problemasDeSchema(doc, QStringLiteral("enviNFe_v4.00.xsd")).isEmpty())
        return lote(225, QStringLiteral("Rejeição: Falha no Schema XML do lote de NFe"), {});
    const bool sincrono = xml::texto(r, "indSinc") == u"1";
    if (sincrono && notas.size() > 1)
        return lote(452, QStringLiteral("Rejeição: Solicitada resposta síncrona para Lote com mais de uma NF-e"), {});
    QByteArray protocolos;
    for (xmlNode* nota : notas)
        protocolos += protocoloDaNota(nota, doc, cUF, inj.digVal);
    salvar();
    if (sincrono)
        return lote(104, QStringLiteral("Lote processado"), protocolos);
    const qint64 seq = m_estado.value(QStringLiteral("recibo")).toInteger() + 1;
    m_estado.insert(QStringLiteral("recibo"), seq);
    const QString nRec = QStringLiteral("%1%2").arg(cUF, 2, 10, QChar(u'0')).arg(seq, 13, 10, QChar(u'0'));
    QJsonObject recibos = m_estado.value(QStringLiteral("recibos")).toObject();
    recibos.insert(nRec, QString::fromUtf8(protocolos));
    m_estado.insert(QStringLiteral("recibos"), recibos);
    salvar();
    return lote(103, QStringLiteral("Lote recebido com sucesso"),
                grupo("infRec", campos({{"nRec", nRec}, {"tMed", QStringLiteral("1")}})));
}

QByteArray Autoridade::protocoloDaNota(xmlNode* no, xmlDoc* doc, int cUF, const QString& digValInjetado)
{
    const QByteArray bytes = xml::bytesDe(doc, no);
    xml::DocPtr propria = xml::parse(bytes);
    xmlNode* nfe = xml::raiz(propria.get());
    xmlNode* inf = xml::elementos(nfe, "infNFe").value(0);
    nfe::ProcNFe p;
    p.tpAmb = m_opcoes.tpAmb;
    p.verAplic = QLatin1String(VerAplic);
    p.chNFe = xml::atributo(inf, "Id").mid(3);
    p.dhRecbto = QDateTime::currentDateTime();
    const auto rejeitar = [&](int cStat, const QString& motivo) {
        p.cStat = cStat;
        p.xMotivo = motivo;
        return nfe::writeProtNFeXml(p);
    };
    const auto r = m_verificador->verificar(propria.get(), "infNFe");
    if (r != nfe::VerificadorAssinatura::Resultado::Valida) {
        const auto [cStat, motivo] = rejeicaoAssinatura(r);
        return rejeitar(cStat, motivo);
    }
    xmlNode* ide = xml::elementos(inf, "ide").value(0);
    xmlNode* emit = xml::elementos(inf, "emit").value(0);
    const QString cnpj = xml::texto(emit, "CNPJ") + xml::texto(emit, "CPF");
    const int mod = xml::texto(ide, "mod").toInt(), serie = xml::texto(ide, "serie").toInt();
    const int nNF = xml::texto(ide, "nNF").toInt();
    // The key must be the concatenation of the fields it stands for.
    const QString esperada = QStringLiteral("%1%2%3%4%5%6%7")
                                 .arg(xml::texto(ide, "cUF").toInt(), 2, 10, QChar(u'0'))
                                 .arg(xml::texto(ide, "dhEmi").mid(2, 2) + xml::texto(ide, "dhEmi").mid(5, 2))
                                 .arg(cnpj.rightJustified(14, u'0'))
                                 .arg(mod, 2, 10, QChar(u'0'))
                                 .arg(serie, 3, 10, QChar(u'0'))
                                 .arg(nNF, 9, 10, QChar(u'0'))
                                 .arg(xml::texto(ide, "tpEmis") + xml::texto(ide, "cNF").rightJustified(8, u'0'));
    if (!nfe::ChaveValida(p.chNFe) || p.chNFe.left(43) != esperada)
        return rejeitar(502, QStringLiteral("Rejeição: Erro na Chave de Acesso - Campo Id não corresponde à "
                                            "concatenação dos campos correspondentes"));
    if (!m_cnpjTransmissor.isEmpty() && cnpj.left(8) != m_cnpjTransmissor.left(8))
        return rejeitar(213, QStringLiteral("Rejeição: CNPJ-Base do Emitente difere do CNPJ-Base do Certificado Digital"));
    if (xml::texto(ide, "tpAmb").toInt() != m_opcoes.tpAmb)
        return rejeitar(252, QStringLiteral("Rejeição: Ambiente informado diverge do Ambiente de recebimento"));
    // The cross-field rules, as the authority applies them after the schema.
    if (const auto violacao = autoridade::violacaoDeRegra(nfe::readNFeXml(bytes)))
        return rejeitar(violacao->first, violacao->second);
    QJsonObject notas = m_estado.value(QStringLiteral("notas")).toObject();
    const QString existente = chaveDoNumero(cnpj, mod, serie, nNF);
    if (!existente.isEmpty()) {
        const QJsonObject o = notas.value(existente).toObject();
        const QString prot = o.value(QStringLiteral("nProt")).toString();
        const QString dh = o.value(QStringLiteral("dhRecbto")).toString();
        if (existente == p.chNFe)
            return rejeitar(204, QStringLiteral("Rejeição: Duplicidade de NF-e [nProt:%1][dhAut:%2]").arg(prot, dh));
        return rejeitar(539, QStringLiteral("Rejeição: Duplicidade de NF-e, com diferença na Chave de Acesso "
                                            "[chNFe:%1][nProt:%2][dhAut:%3]")
                                 .arg(existente, prot, dh));
    }
    if (numeroInutilizado(cnpj, mod, serie, nNF))
        return rejeitar(206, QStringLiteral("Rejeição: NF-e já está inutilizada na Base de dados da SEFAZ"));

    p.nProt = novoProtocolo(cUF);
    p.digVal = nfe::digestValue(bytes);
    if (!digValInjetado.isEmpty())
        p.digVal = digValInjetado;
    p.cStat = 100;
    p.xMotivo = QStringLiteral("Autorizado o uso da NF-e");
    QJsonObject o;
    o.insert(QStringLiteral("cnpj"), cnpj);
    o.insert(QStringLiteral("mod"), mod);
    o.insert(QStringLiteral("serie"), serie);
    o.insert(QStringLiteral("nNF"), nNF);
    o.insert(QStringLiteral("nProt"), p.nProt);
    o.insert(QStringLiteral("dhRecbto"), nfe::fmt::dateTime(p.dhRecbto));
    o.insert(QStringLiteral("digVal"), p.digVal);
    o.insert(QStringLiteral("cancelada"), false);
    o.insert(QStringLiteral("eventos"), QJsonArray());
    notas.insert(p.chNFe, o);
    m_estado.insert(QStringLiteral("notas"), notas);
    return nfe::writeProtNFeXml(p);
}

QByteArray Autoridade::consultarRecibo(xmlDoc* doc)
{
    xmlNode* r = xml::raiz(doc);
    const QString nRec = xml::texto(r, "nRec");
    const auto resposta = [&](int cStat, const QString& motivo, const QByteArray& depois) {
        return raiz("retConsReciNFe", "4.00",
                    campos({{"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic}, {"nRec", nRec}, {"cStat", n(cStat)},
                            {"xMotivo", motivo}, {"cUF", nRec.left(2)}, {"dhRecbto", agora()}})
                        + depois);
    };
    if (!problemasDeSchema(doc, QStringLiteral("consReciNFe_v4.00.xsd")).isEmpty())
        return resposta(225, QStringLiteral("Rejeição: Falha no Schema XML"), {});
    const QJsonObject recibos = m_estado.value(QStringLiteral("recibos")).toObject();
    if (!recibos.contains(nRec))
        return resposta(106, QStringLiteral("Rejeição: Lote não localizado"), {});
    return resposta(104, QStringLiteral("Lote processado"), recibos.value(nRec).toString().toUtf8());
}

QByteArray Autoridade::consultarSituacao(xmlDoc* doc)
{
    xmlNode* r = xml::raiz(doc);
    const QString chave = xml::texto(r, "chNFe");
    const auto resposta = [&](int cStat, const QString& motivo, const QByteArray& depois) {
        return raiz("retConsSitNFe", "4.00",
                    campos({{"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic}, {"cStat", n(cStat)}, {"xMotivo", motivo},
                            {"cUF", chave.left(2)}, {"dhRecbto", agora()}, {"chNFe", chave}})
                        + depois);
    };
    if (!problemasDeSchema(doc, QStringLiteral("consSitNFe_v4.00.xsd")).isEmpty())
        return resposta(225, QStringLiteral("Rejeição: Falha no Schema XML"), {});
    const QJsonObject notas = m_estado.value(QStringLiteral("notas")).toObject();
    if (!notas.contains(chave))
        return resposta(217, QStringLiteral("Rejeição: NF-e não consta na base de dados da SEFAZ"), {});
    const QJsonObject o = notas.value(chave).toObject();
    nfe::ProcNFe p;
    p.tpAmb = m_opcoes.tpAmb;
    p.verAplic = QLatin1String(VerAplic);
    p.chNFe = chave;
    p.dhRecbto = nfe::fmt::parseDateTime(o.value(QStringLiteral("dhRecbto")).toString());
    p.nProt = o.value(QStringLiteral("nProt")).toString();
    p.digVal = o.value(QStringLiteral("digVal")).toString();
    p.cStat = 100;
    p.xMotivo = QStringLiteral("Autorizado o uso da NF-e");
    QByteArray depois = nfe::writeProtNFeXml(p);
    for (const QJsonValue& v : o.value(QStringLiteral("eventos")).toArray()) {
        const QJsonObject e = v.toObject();
        depois += raiz("procEventoNFe", "1.00",
                       e.value(QStringLiteral("evento")).toString().toUtf8() + e.value(QStringLiteral("retEvento")).toString().toUtf8());
    }
    if (o.value(QStringLiteral("cancelada")).toBool())
        return resposta(101, QStringLiteral("Cancelamento de NF-e homologado"), depois);
    return resposta(100, QStringLiteral("Autorizado o uso da NF-e"), depois);
}

QByteArray Autoridade::status(xmlDoc* doc)
{
    const int cUF = xml::texto(xml::raiz(doc), "cUF").toInt();
    const auto resposta = [&](int cStat, const QString& motivo, const QByteArray& depois) {
        return raiz("retConsStatServ", "4.00",
                    campos({{"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic}, {"cStat", n(cStat)}, {"xMotivo", motivo},
                            {"cUF", n(cUF)}, {"dhRecbto", agora()}})
                        + depois);
    };
    if (!problemasDeSchema(doc, QStringLiteral("consStatServ_v4.00.xsd")).isEmpty())
        return resposta(225, QStringLiteral("Rejeição: Falha no Schema XML"), {});
    return resposta(107, QStringLiteral("Serviço em Operação"), grupo("tMed", "1"));
}
} // namespace kvo::autoridade
