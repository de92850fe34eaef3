#include "nfe/EventoNFe.h"

#include "core/Text.h"
#include "nfe/NFeFormat.h"
#include "nfe/NFeXmlWriter.h"

#include <QXmlStreamWriter>

#include <stdexcept>

namespace kvo::nfe {

namespace {

// The conditions of use the layout fixes for every correction letter.
const char* const CondicaoDeUso =
    "A Carta de Correcao e disciplinada pelo paragrafo 1o-A do art. 7o do Convenio S/N, de 15 de dezembro de "
    "1970 e pode ser utilizada para regularizacao de erro ocorrido na emissao de documento fiscal, desde que o "
    "erro nao esteja relacionado com: I - as variaveis que determinam o valor do imposto tais como: base de "
    "calculo, aliquota, diferenca de preco, quantidade, valor da operacao ou da prestacao; II - a correcao de "
    "dados cadastrais que implique mudanca do remetente ou do destinatario; III - a data de emissao ou de saida.";

void text(QXmlStreamWriter& w, const char* name, const QString& value)
{
    w.writeTextElement(QLatin1String(name), value);
}

} // namespace

QString condicaoDeUsoCCe() { return QString::fromLatin1(CondicaoDeUso); }

QString idDoEvento(const InfEvento& e)
{
    return QStringLiteral("ID%1%2%3").arg(e.tpEvento).arg(OnlyNumber(e.chNFe)).arg(e.nSeqEvento, 2, 10, QChar(u'0'));
}

QString schemaDoEvento(int tpEvento)
{
    if (tpEvento == EventoCancelamento)
        return QStringLiteral("envEventoCancNFe_v1.00.xsd");
    if (tpEvento == EventoCartaCorrecao)
        return QStringLiteral("envCCe_v1.00.xsd");
    return QStringLiteral("envEvento_v1.00.xsd");
}

QByteArray writeEnvEventoXml(const EventosNFe& eventos)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartElement(QStringLiteral("envEvento"));
    w.writeDefaultNamespace(QLatin1String(NFeNamespace));
    w.writeAttribute(QStringLiteral("versao"), QStringLiteral("1.00"));
    text(w, "idLote", QString::number(eventos.idLote));
    for (const InfEvento& e : eventos.Evento) {
        if (e.tpEvento != EventoCancelamento && e.tpEvento != EventoCartaCorrecao)
            throw std::invalid_argument("Tipo de evento não suportado: " + std::to_string(e.tpEvento));
        w.writeStartElement(QStringLiteral("evento"));
        w.writeAttribute(QStringLiteral("versao"), QStringLiteral("1.00"));
        w.writeStartElement(QStringLiteral("infEvento"));
        w.writeAttribute(QStringLiteral("Id"), idDoEvento(e));
        text(w, "cOrgao", QString::number(e.cOrgao));
        text(w, "tpAmb", QString::number(e.tpAmb));
        const QString doc = OnlyNumber(e.CNPJ);
        text(w, doc.size() == 11 ? "CPF" : "CNPJ", doc);
        text(w, "chNFe", OnlyNumber(e.chNFe));
        text(w, "dhEvento", fmt::dateTime(e.dhEvento));
        text(w, "tpEvento", QString::number(e.tpEvento));
        text(w, "nSeqEvento", QString::number(e.nSeqEvento));
        text(w, "verEvento", QStringLiteral("1.00"));
        w.writeStartElement(QStringLiteral("detEvento"));
        w.writeAttribute(QStringLiteral("versao"), QStringLiteral("1.00"));
        if (e.tpEvento == EventoCancelamento) {
            text(w, "descEvento", QStringLiteral("Cancelamento"));
            text(w, "nProt", OnlyNumber(e.nProt));
            text(w, "xJust", fmt::text(e.xJust));
        } else {
            text(w, "descEvento", QStringLiteral("Carta de Correcao"));
            text(w, "xCorrecao", fmt::text(e.xCorrecao));
            text(w, "xCondUso", QString::fromLatin1(CondicaoDeUso));
        }
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement();
    return out;
}

QByteArray writeInutNFeXml(const InutilizacaoNFe& i)
{
    const QString cnpj = OnlyNumber(i.CNPJ);
    const QString id = QStringLiteral("ID%1%2%3%4%5%6%7")
                           .arg(i.cUF, 2, 10, QChar(u'0'))
                           .arg(i.ano % 100, 2, 10, QChar(u'0'))
                           .arg(cnpj.rightJustified(14, u'0'))
                           .arg(i.mod, 2, 10, QChar(u'0'))
                           .arg(i.serie, 3, 10, QChar(u'0'))
                           .arg(i.nNFIni, 9, 10, QChar(u'0'))
                           .arg(i.nNFFin, 9, 10, QChar(u'0'));
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartElement(QStringLiteral("inutNFe"));
    w.writeDefaultNamespace(QLatin1String(NFeNamespace));
    w.writeAttribute(QStringLiteral("versao"), QStringLiteral("4.00"));
    w.writeStartElement(QStringLiteral("infInut"));
    w.writeAttribute(QStringLiteral("Id"), id);
    text(w, "tpAmb", QString::number(i.tpAmb));
    text(w, "xServ", QStringLiteral("INUTILIZAR"));
    text(w, "cUF", QString::number(i.cUF));
    text(w, "ano", QStringLiteral("%1").arg(i.ano % 100, 2, 10, QChar(u'0')));
    text(w, "CNPJ", cnpj);
    text(w, "mod", QString::number(i.mod));
    text(w, "serie", QString::number(i.serie));
    text(w, "nNFIni", QString::number(i.nNFIni));
    text(w, "nNFFin", QString::number(i.nNFFin));
    text(w, "xJust", fmt::text(i.xJust));
    w.writeEndElement();
    w.writeEndElement();
    return out;
}

} // namespace kvo::nfe
