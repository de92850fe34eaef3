// Events (cancellation, correction letter) and number voiding.
#include "Autoridade.h"
#include "RespostasXml.h"

#include "nfe/ChaveAcesso.h"
#include "nfe/EventoNFe.h"
#include "nfe/NFeFormat.h"
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

QByteArray Autoridade::eventos(xmlDoc* doc, const QByteArray& mensagem, const Injecao& inj)
{
    Q_UNUSED(mensagem);
    xmlNode* r = xml::raiz(doc);
    const QList<xmlNode*> lista = xml::elementos(r, "evento");
    const QString cOrgao = lista.isEmpty() ? QStringLiteral("35") : xml::texto(lista[0], "cOrgao");
    const auto lote = [&](int cStat, const QString& motivo, const QByteArray& depois) {
        return raiz("retEnvEvento", "1.00",
                    campos({{"idLote", xml::texto(r, "idLote")}, {"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic},
                            {"cOrgao", cOrgao}, {"cStat", n(cStat)}, {"xMotivo", motivo}})
                        + depois);
    };
    const int tipo = lista.isEmpty() ? 0 : xml::texto(lista[0], "tpEvento").toInt();
    if (!problemasDeSchema(doc, nfe::schemaDoEvento(tipo)).isEmpty())
        return lote(225, QStringLiteral("Rejeição: Falha no Schema XML do lote de eventos"), {});
    QByteArray respostas;
    for (xmlNode* ev : lista)
        respostas += evento(ev, doc, inj.cStatEvento, inj.xMotivoEvento);
    salvar();
    return lote(128, QStringLiteral("Lote de Evento Processado"), respostas);
}

QByteArray Autoridade::evento(xmlNode* no, xmlDoc* doc, int cStatEvento, const QString& xMotivoEvento)
{
    const QByteArray bytes = xml::bytesDe(doc, no);
    xml::DocPtr propria = xml::parse(bytes);
    xmlNode* inf = xml::elementos(xml::raiz(propria.get()), "infEvento").value(0);
    const QString chave = xml::texto(inf, "chNFe");
    const int tpEvento = xml::texto(inf, "tpEvento").toInt();
    const int seq = xml::texto(inf, "nSeqEvento").toInt();
    const QString cOrgao = xml::texto(inf, "cOrgao");
    const QString xEvento = tpEvento == nfe::EventoCancelamento ? QStringLiteral("Cancelamento registrado")
                                                                : QStringLiteral("Carta de Correção registrada");
    QString nProt;
    const QString dh = agora();
    const auto resposta = [&](int cStat, const QString& motivo) {
        return raiz("retEvento", "1.00",
                    grupo("infEvento", campos({{"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic}, {"cOrgao", cOrgao},
                                               {"cStat", n(cStat)}, {"xMotivo", motivo}, {"chNFe", chave},
                                               {"tpEvento", n(tpEvento)}, {"xEvento", nProt.isEmpty() ? QString() : xEvento},
                                               {"nSeqEvento", n(seq)}, {"dhRegEvento", dh}, {"nProt", nProt}})));
    };
    const auto r = m_verificador->verificar(propria.get(), "infEvento");
    if (r != nfe::VerificadorAssinatura::Resultado::Valida) {
        const auto [cStat, motivo] = rejeicaoAssinatura(r);
        return resposta(cStat, motivo);
    }
    QJsonObject notas = m_estado.value(QStringLiteral("notas")).toObject();
    if (!notas.contains(chave))
        return resposta(217, QStringLiteral("Rejeição: NF-e não consta na base de dados da SEFAZ"));
    QJsonObject nota = notas.value(chave).toObject();
    if (nota.value(QStringLiteral("cancelada")).toBool())
        return resposta(218, QStringLiteral("Rejeição: NF-e já está cancelada na base de dados da SEFAZ"));
    QJsonArray eventos = nota.value(QStringLiteral("eventos")).toArray();
    for (const QJsonValue& v : eventos) {
        const QJsonObject e = v.toObject();
        if (e.value(QStringLiteral("tpEvento")).toInt() == tpEvento && e.value(QStringLiteral("nSeqEvento")).toInt() == seq)
            return resposta(573, QStringLiteral("Rejeição: Duplicidade de Evento"));
    }
    if (tpEvento == nfe::EventoCancelamento
        && xml::texto(inf, "nProt") != nota.value(QStringLiteral("nProt")).toString())
        return resposta(222, QStringLiteral("Rejeição: Protocolo de Autorização de Uso difere do cadastrado"));

    nProt = novoProtocolo(chave.left(2).toInt());
    const bool vinculado = cStatEvento != 136;
    const QByteArray ret = vinculado
        ? resposta(135, xMotivoEvento.isEmpty() ? QStringLiteral("Evento registrado e vinculado a NF-e") : xMotivoEvento)
        : resposta(136, xMotivoEvento.isEmpty() ? QStringLiteral("Evento registrado, mas não vinculado a NF-e") : xMotivoEvento);
    QJsonObject e;
    e.insert(QStringLiteral("tpEvento"), tpEvento);
    e.insert(QStringLiteral("nSeqEvento"), seq);
    e.insert(QStringLiteral("nProt"), nProt);
    e.insert(QStringLiteral("dhRegEvento"), dh);
    e.insert(QStringLiteral("evento"), QString::fromUtf8(bytes));
    e.insert(QStringLiteral("retEvento"), QString::fromUtf8(ret));
    eventos.append(e);
    nota.insert(QStringLiteral("eventos"), eventos);
    if (tpEvento == nfe::EventoCancelamento)
        nota.insert(QStringLiteral("cancelada"), true);
    notas.insert(chave, nota);
    m_estado.insert(QStringLiteral("notas"), notas);
    return ret;
}

QByteArray Autoridade::inutilizar(xmlDoc* doc, const QByteArray& mensagem)
{
    xmlNode* inf = xml::elementos(xml::raiz(doc), "infInut").value(0);
    const QString cnpj = xml::texto(inf, "CNPJ");
    const int mod = xml::texto(inf, "mod").toInt(), serie = xml::texto(inf, "serie").toInt();
    const int ini = xml::texto(inf, "nNFIni").toInt(), fin = xml::texto(inf, "nNFFin").toInt();
    QString nProt;
    const QString dh = agora();
    const auto resposta = [&](int cStat, const QString& motivo) {
        Campos c = {{"tpAmb", n(m_opcoes.tpAmb)}, {"verAplic", VerAplic}, {"cStat", n(cStat)}, {"xMotivo", motivo},
                    {"cUF", xml::texto(inf, "cUF")}};
        if (!nProt.isEmpty())
            c += Campos{{"ano", xml::texto(inf, "ano")}, {"CNPJ", cnpj},       {"mod", n(mod)},     {"serie", n(serie)},
                        {"nNFIni", n(ini)},               {"nNFFin", n(fin)}, {"dhRecbto", dh}, {"nProt", nProt}};
        return raiz("retInutNFe", "4.00", grupo("infInut", campos(c)));
    };
    if (!problemasDeSchema(doc, QStringLiteral("inutNFe_v4.00.xsd")).isEmpty())
        return resposta(225, QStringLiteral("Rejeição: Falha no Schema XML"));
    xml::DocPtr propria = xml::parse(mensagem);
    const auto r = m_verificador->verificar(propria.get(), "infInut");
    if (r != nfe::VerificadorAssinatura::Resultado::Valida) {
        const auto [cStat, motivo] = rejeicaoAssinatura(r);
        return resposta(cStat, motivo);
    }
    if (ini > fin)
        return resposta(242, QStringLiteral("Rejeição: Número inicial maior que o número final"));
    for (const QJsonValue& v : m_estado.value(QStringLiteral("inutilizacoes")).toArray()) {
        const QJsonObject o = v.toObject();
        if (o.value(QStringLiteral("cnpj")).toString() == cnpj && o.value(QStringLiteral("mod")).toInt() == mod
            && o.value(QStringLiteral("serie")).toInt() == serie && o.value(QStringLiteral("ini")).toInt() <= fin
            && ini <= o.value(QStringLiteral("fin")).toInt())
            return resposta(256, QStringLiteral("Rejeição: Uma NF-e da faixa já está inutilizada na Base de dados da SEFAZ"));
    }
    for (const QJsonValue& v : m_estado.value(QStringLiteral("notas")).toObject()) {
        const QJsonObject o = v.toObject();
        const int nNF = o.value(QStringLiteral("nNF")).toInt();
        if (o.value(QStringLiteral("cnpj")).toString() == cnpj && o.value(QStringLiteral("mod")).toInt() == mod
            && o.value(QStringLiteral("serie")).toInt() == serie && ini <= nNF && nNF <= fin)
            return resposta(241, QStringLiteral("Rejeição: Um número da faixa já foi utilizado"));
    }
    nProt = novoProtocolo(xml::texto(inf, "cUF").toInt());
    QJsonObject o;
    o.insert(QStringLiteral("cnpj"), cnpj);
    o.insert(QStringLiteral("ano"), xml::texto(inf, "ano").toInt());
    o.insert(QStringLiteral("mod"), mod);
    o.insert(QStringLiteral("serie"), serie);
    o.insert(QStringLiteral("ini"), ini);
    o.insert(QStringLiteral("fin"), fin);
    o.insert(QStringLiteral("nProt"), nProt);
    o.insert(QStringLiteral("dhRecbto"), dh);
    QJsonArray lista = m_estado.value(QStringLiteral("inutilizacoes")).toArray();
    lista.append(o);
    m_estado.insert(QStringLiteral("inutilizacoes"), lista);
    salvar();
    return resposta(102, QStringLiteral("Inutilização de número homologado"));
}

} // namespace kvo::autoridade
