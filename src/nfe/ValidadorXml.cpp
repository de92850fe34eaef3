#include "nfe/ValidadorXml.h"

#include "nfe/XmlLib.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <libxml/xmlschemas.h>

#include <mutex>
#include <stdexcept>

namespace kvo::nfe {

namespace {

std::mutex cacheMutex;
QHash<QString, xmlSchemaPtr>& cache()
{
    static QHash<QString, xmlSchemaPtr> schemas; // kept for the process's lifetime
    return schemas;
}

xmlSchemaPtr loadSchema(const QString& path)
{
    std::lock_guard lock(cacheMutex);
    if (xmlSchemaPtr s = cache().value(path))
        return s;
    if (!QFileInfo::exists(path))
        throw std::runtime_error("Schema não encontrado: " + path.toStdString()
                                 + " (instale os schemas na pasta Schemas)");
    xml::ErrorCapture errors;
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(QFile::encodeName(path).constData());
    xmlSchemaPtr schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    if (!schema)
        throw std::runtime_error("Schema inválido: " + path.toStdString() + ": "
                                 + errors.messages().join(u"; ").toStdString());
    cache().insert(path, schema);
    return schema;
}

// Where the element sits ("infNFe/det[3]/prod/vProd"): the documents are
// written on one line, so a line number would say nothing.
QString path(const xmlNode* node)
{
    QStringList parts;
    for (; node && node->type == XML_ELEMENT_NODE; node = node->parent) {
        QString part = QString::fromUtf8(reinterpret_cast<const char*>(node->name));
        if (xmlChar* item = xmlGetProp(node, xml::xs("nItem"))) {
            part += u'[' + QString::fromUtf8(reinterpret_cast<const char*>(item)) + u']';
            xmlFree(item);
        }
        parts.prepend(part);
    }
    return parts.join(u'/');
}

// libxml2 says "Element '{ns}vProd': [facet 'pattern'] The value '1,00' is not
// accepted..."; the namespace is noise to a reader.
QString phrase(const xmlError* e)
{
    static const QRegularExpression ns(QStringLiteral("\\{[^}]*\\}"));
    QString msg = QString::fromUtf8(e->message).trimmed();
    msg.replace(ns, QString());
    msg.replace(QStringLiteral("Element '"), QStringLiteral("Elemento '"));
    const QString onde = path(static_cast<const xmlNode*>(e->node));
    return onde.isEmpty() ? msg : onde + QStringLiteral(": ") + msg;
}

void collect(void* ctx, const xmlError* error)
{
    static_cast<QStringList*>(ctx)->append(phrase(error));
}

} // namespace

ValidadorXml::ValidadorXml(QString pastaSchemas) : m_pasta(std::move(pastaSchemas)) {}

QStringList ValidadorXml::validar(const QByteArray& bytes, const QString& schema) const
{
    xml::DocPtr doc;
    try {
        doc = xml::parse(bytes);
    } catch (const std::runtime_error& e) {
        return {QString::fromUtf8(e.what())};
    }
    return validar(doc.get(), schema);
}

QStringList ValidadorXml::validar(xmlDoc* doc, const QString& schema) const
{
    xml::ensureInitialised();
    xmlSchemaPtr s = loadSchema(QDir(m_pasta).filePath(schema));
    QStringList problems;
    xmlSchemaValidCtxtPtr ctx = xmlSchemaNewValidCtxt(s);
    xmlSchemaSetValidStructuredErrors(ctx, reinterpret_cast<xmlStructuredErrorFunc>(&collect), &problems);
    const int rc = xmlSchemaValidateDoc(ctx, doc);
    xmlSchemaFreeValidCtxt(ctx);
    if (rc != 0 && problems.isEmpty())
        problems << QStringLiteral("Documento rejeitado pelo schema %1").arg(schema);
    return problems;
}

QString ValidadorXml::schemaPara(const QByteArray& xml)
{
    static const QRegularExpression root(QStringLiteral("<(?:\\w+:)?(\\w+)[\\s>]"));
    const qsizetype start = xml.indexOf('<', xml.startsWith("<?") ? xml.indexOf("?>") : 0);
    const auto m = root.match(QString::fromUtf8(xml.mid(start, 200)));
    const QString name = m.hasMatch() ? m.captured(1) : QString();
    if (name == u"nfeProc")
        return QStringLiteral("procNFe_v4.00.xsd");
    if (name == u"envEvento")
        return QStringLiteral("envEvento_v1.00.xsd");
    if (name == u"inutNFe")
        return QStringLiteral("inutNFe_v4.00.xsd");
    return QStringLiteral("nfe_v4.00.xsd");
}

} // namespace kvo::nfe
