#include "nfe/AssinadorXml.h"

#include "nfe/XmlLib.h"

#include <libxml/tree.h>
#include <libxml/valid.h>
#include <openssl/evp.h>
#include <openssl/x509.h>
#include <xmlsec/crypto.h>
#include <xmlsec/openssl/evp.h>
#include <xmlsec/openssl/x509.h>
#include <xmlsec/keys.h>
#include <xmlsec/templates.h>
#include <xmlsec/xmldsig.h>
#include <xmlsec/xmltree.h>

#include <stdexcept>
#include <vector>

namespace kvo::nfe {

namespace {

xmlSecKeyPtr keyOf(void* p) { return static_cast<xmlSecKeyPtr>(p); }

[[noreturn]] void fail(const char* what, const xml::ErrorCapture& errors)
{
    QString text = QString::fromUtf8(what);
    if (!errors.messages().isEmpty())
        text += u": " + errors.messages().join(u"; ");
    throw std::runtime_error(text.toStdString());
}

} // namespace

AssinadorXml::AssinadorXml(const CertificadoA1& certificado)
{
    xml::ensureInitialised();
    xml::ErrorCapture errors;
    EVP_PKEY* pkey = certificado.chavePrivada();
    EVP_PKEY_up_ref(pkey);
    xmlSecKeyDataPtr value = xmlSecOpenSSLEvpKeyAdopt(pkey);
    xmlSecKeyPtr key = xmlSecKeyCreate();
    if (!value || !key || xmlSecKeySetValue(key, value) < 0)
        fail("Não foi possível preparar a chave do certificado", errors);
    // Only the holder's certificate goes into KeyInfo: the layout allows one.
    xmlSecKeyDataPtr x509 = xmlSecKeyEnsureData(key, xmlSecOpenSSLKeyDataX509Id);
    if (!x509 || xmlSecOpenSSLKeyDataX509AdoptKeyCert(x509, X509_dup(certificado.certificado())) < 0
        || xmlSecOpenSSLKeyDataX509AdoptCert(x509, X509_dup(certificado.certificado())) < 0)
        fail("Não foi possível preparar o certificado", errors);
    m_key = key;
}

AssinadorXml::~AssinadorXml()
{
    xmlSecKeyDestroy(keyOf(m_key));
}

QByteArray AssinadorXml::assinar(const QByteArray& bytes, const char* elemento) const
{
    xml::DocPtr doc = xml::parse(bytes);
    assinar(doc.get(), elemento);
    return xml::dumpRoot(doc.get());
}

void AssinadorXml::assinar(xmlDoc* doc, const char* elemento) const
{
    std::vector<xmlNodePtr> alvos;
    for (xmlNodePtr n = xml::findElement(xmlDocGetRootElement(doc), elemento); n;) {
        alvos.push_back(n);
        // The next one is a later sibling of an ancestor (events sit side by side).
        xmlNodePtr next = nullptr;
        for (xmlNodePtr up = n; up && !next; up = up->parent)
            next = up->next ? xml::findElement(up->next, elemento) : nullptr;
        n = next;
    }
    if (alvos.empty())
        throw std::runtime_error(std::string("Elemento a assinar não encontrado: ") + elemento);
    for (xmlNodePtr alvo : alvos)
        assinarElemento(doc, alvo);
}

void AssinadorXml::assinarElemento(xmlDoc* doc, xmlNode* target) const
{
    xml::ErrorCapture errors;
    xmlAttrPtr idAttr = xmlHasProp(target, xml::xs("Id"));
    if (!idAttr)
        throw std::runtime_error(std::string("Elemento sem o atributo Id: ") + reinterpret_cast<const char*>(target->name));
    xmlChar* id = xmlNodeListGetString(doc, idAttr->children, 1);
    const QByteArray uri = "#" + QByteArray(reinterpret_cast<const char*>(id));
    if (!xmlGetID(doc, id))
        xmlAddID(nullptr, doc, id, idAttr);
    xmlFree(id);

    xmlNodePtr parent = target->parent;
    for (xmlNodePtr n = parent->children; n;) {
        xmlNodePtr next = n->next;
        if (n->type == XML_ELEMENT_NODE && xmlStrEqual(n->name, xml::xs("Signature"))) {
            xmlUnlinkNode(n);
            xmlFreeNode(n);
        }
        n = next;
    }

    xmlNodePtr sig = xmlSecTmplSignatureCreate(doc, xmlSecTransformInclC14NId, xmlSecTransformRsaSha1Id, nullptr);
    xmlAddChild(parent, sig);
    xmlNodePtr ref = xmlSecTmplSignatureAddReference(sig, xmlSecTransformSha1Id, nullptr,
                                                     xml::xs(uri.constData()), nullptr);
    if (!ref || !xmlSecTmplReferenceAddTransform(ref, xmlSecTransformEnvelopedId)
        || !xmlSecTmplReferenceAddTransform(ref, xmlSecTransformInclC14NId))
        fail("Falha ao montar o modelo da assinatura", errors);
    xmlNodePtr keyInfo = xmlSecTmplSignatureEnsureKeyInfo(sig, nullptr);
    xmlNodePtr x509 = xmlSecTmplKeyInfoAddX509Data(keyInfo);
    if (!x509 || !xmlSecTmplX509DataAddCertificate(x509))
        fail("Falha ao montar o modelo da assinatura", errors);

    xmlSecDSigCtxPtr ctx = xmlSecDSigCtxCreate(nullptr);
    ctx->signKey = xmlSecKeyDuplicate(keyOf(m_key));
    const int rc = ctx->signKey ? xmlSecDSigCtxSign(ctx, sig) : -1;
    xmlSecDSigCtxDestroy(ctx);
    if (rc < 0)
        fail("Falha ao assinar o XML", errors);
}

} // namespace kvo::nfe
