#include "nfe/VerificadorAssinatura.h"

#include "nfe/XmlLib.h"

#include <QFile>

#include <libxml/tree.h>
#include <libxml/valid.h>
#include <xmlsec/crypto.h>
#include <xmlsec/keysmngr.h>
#include <xmlsec/xmldsig.h>
#include <xmlsec/xmltree.h>

#include <stdexcept>
#include <vector>

namespace kvo::nfe {

namespace {

xmlSecKeysMngrPtr mngrOf(void* p) { return static_cast<xmlSecKeysMngrPtr>(p); }

QString attr(xmlNode* n, const char* name)
{
    xmlChar* c = xmlGetProp(n, xml::xs(name));
    const QString s = c ? QString::fromUtf8(reinterpret_cast<const char*>(c)) : QString();
    xmlFree(c);
    return s;
}

xmlNode* signatureBeside(xmlNode* target)
{
    for (xmlNode* n = target->parent->children; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE && xmlStrEqual(n->name, xml::xs("Signature")))
            return n;
    return nullptr;
}

} // namespace

VerificadorAssinatura::VerificadorAssinatura(const QStringList& arquivosCA)
{
    xml::ensureInitialised();
    xmlSecKeysMngrPtr mngr = xmlSecKeysMngrCreate();
    if (!mngr || xmlSecCryptoAppDefaultKeysMngrInit(mngr) < 0)
        throw std::runtime_error("xmlsec: falha ao criar o gerenciador de chaves");
    m_manager = mngr;
    for (const QString& ca : arquivosCA) {
        if (xmlSecCryptoAppKeysMngrCertLoad(mngr, QFile::encodeName(ca).constData(), xmlSecKeyDataFormatPem,
                                            xmlSecKeyDataTypeTrusted) < 0) {
            xmlSecKeysMngrDestroy(mngr);
            throw std::runtime_error("Não foi possível carregar a AC confiável: " + ca.toStdString());
        }
    }
}

VerificadorAssinatura::~VerificadorAssinatura()
{
    xmlSecKeysMngrDestroy(mngrOf(m_manager));
}

VerificadorAssinatura::Resultado VerificadorAssinatura::verificar(xmlDoc* doc, const char* elemento,
                                                                  QString* detalhe) const
{
    std::vector<xmlNode*> alvos;
    for (xmlNode* n = xml::findElement(xmlDocGetRootElement(doc), elemento); n;) {
        alvos.push_back(n);
        xmlNode* next = nullptr;
        for (xmlNode* up = n; up && !next; up = up->parent)
            next = up->next ? xml::findElement(up->next, elemento) : nullptr;
        n = next;
    }
    if (alvos.empty())
        return Resultado::Ausente;
    for (xmlNode* alvo : alvos) {
        xmlAttr* idAttr = xmlHasProp(alvo, xml::xs("Id"));
        xmlNode* sig = signatureBeside(alvo);
        if (!idAttr || !sig)
            return Resultado::Ausente;
        const QString id = attr(alvo, "Id");
        // The reference must point at this element, not at some other signed part.
        xmlNode* ref = xml::findElement(sig->children, "Reference");
        if (!ref || attr(ref, "URI") != u'#' + id) {
            if (detalhe)
                *detalhe = QStringLiteral("referência da assinatura não aponta para %1").arg(id);
            return Resultado::Divergente;
        }
        const QByteArray idUtf8 = id.toUtf8();
        if (!xmlGetID(doc, xml::xs(idUtf8.constData())))
            xmlAddID(nullptr, doc, xml::xs(idUtf8.constData()), idAttr);

        xml::ErrorCapture errors;
        xmlSecDSigCtxPtr ctx = xmlSecDSigCtxCreate(mngrOf(m_manager));
        const int rc = xmlSecDSigCtxVerify(ctx, sig);
        const bool ok = rc >= 0 && ctx->status == xmlSecDSigStatusSucceeded;
        xmlSecDSigCtxDestroy(ctx);
        if (ok)
            continue;
        if (detalhe)
            *detalhe = errors.messages().join(u"; ");
        // A failed run means no trusted key was found; a completed one, a changed document.
        return rc < 0 ? Resultado::CertificadoNaoConfiavel : Resultado::Divergente;
    }
    return Resultado::Valida;
}

QString digestValue(const QByteArray& bytes)
{
    const qsizetype start = bytes.indexOf("DigestValue>");
    if (start < 0)
        return {};
    const qsizetype from = start + 12;
    const qsizetype end = bytes.indexOf('<', from);
    return end < 0 ? QString() : QString::fromLatin1(bytes.mid(from, end - from)).trimmed();
}

} // namespace kvo::nfe
