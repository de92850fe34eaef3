#include "nfe/XmlLib.h"

#include <libxml/parser.h>
#include <libxml/xmlsave.h>
#include <xmlsec/base64.h>
#include <xmlsec/crypto.h>
#include <xmlsec/errors.h>
#include <xmlsec/xmlsec.h>
#include <xmlsec/xmltree.h>

#include <mutex>
#include <stdexcept>

namespace kvo::nfe::xml {

namespace {

thread_local ErrorCapture* currentCapture = nullptr;

void structuredError(void*, const xmlError* error)
{
    if (currentCapture && error && error->message)
        currentCapture->add(QString::fromUtf8(error->message).trimmed());
}

void xmlsecError(const char* file, int line, const char* func, const char* errorObject,
                 const char* errorSubject, int reason, const char* msg)
{
    Q_UNUSED(file);
    Q_UNUSED(line);
    Q_UNUSED(func);
    Q_UNUSED(errorObject);
    if (!currentCapture)
        return;
    QString text = QString::fromUtf8(msg ? msg : "");
    if (errorSubject)
        text = QString::fromUtf8(errorSubject) + u": " + text;
    currentCapture->add(QStringLiteral("xmlsec (%1): %2").arg(reason).arg(text));
}

} // namespace

void ensureInitialised()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetStructuredErrorFunc(nullptr, reinterpret_cast<xmlStructuredErrorFunc>(&structuredError));
        if (xmlSecInit() < 0 || xmlSecCryptoAppInit(nullptr) < 0 || xmlSecCryptoInit() < 0)
            throw std::runtime_error("xmlsec: falha ao inicializar a biblioteca");
        xmlSecErrorsSetCallback(&xmlsecError);
        // The authority refuses line breaks between tags (and in the base64
        // values): the signature is written compact from the start.
        xmlSecSetDefaultLineFeed(xs(""));
        xmlSecBase64SetDefaultLineSize(1 << 20); // 0 is refused for certificates
    });
}

void DocDeleter::operator()(xmlDoc* doc) const
{
    xmlFreeDoc(doc);
}

ErrorCapture::ErrorCapture() : m_previous(currentCapture)
{
    currentCapture = this;
    xmlSetStructuredErrorFunc(nullptr, reinterpret_cast<xmlStructuredErrorFunc>(&structuredError));
}

ErrorCapture::~ErrorCapture()
{
    currentCapture = m_previous;
}

DocPtr parse(const QByteArray& bytes)
{
    ensureInitialised();
    ErrorCapture errors;
    DocPtr doc(xmlReadMemory(bytes.constData(), int(bytes.size()), "nfe.xml", "UTF-8",
                             XML_PARSE_NONET | XML_PARSE_HUGE));
    if (!doc)
        throw std::runtime_error("XML mal formado: " + errors.messages().join(u"; ").toStdString());
    return doc;
}

QByteArray dumpRoot(xmlDoc* doc, bool indent)
{
    xmlBufferPtr buffer = xmlBufferCreate();
    xmlNodeDump(buffer, doc, xmlDocGetRootElement(doc), 0, indent ? 1 : 0);
    QByteArray out(reinterpret_cast<const char*>(xmlBufferContent(buffer)), xmlBufferLength(buffer));
    xmlBufferFree(buffer);
    return out;
}

xmlNode* findElement(xmlNode* from, const char* name)
{
    for (xmlNode* n = from; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE)
            continue;
        if (xmlStrEqual(n->name, xs(name)))
            return n;
        if (xmlNode* found = findElement(n->children, name))
            return found;
    }
    return nullptr;
}

} // namespace kvo::nfe::xml
