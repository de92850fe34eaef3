#pragma once

#include "nfe/CertificadoA1.h"

#include <QByteArray>

using xmlDoc = struct _xmlDoc;
using xmlNode = struct _xmlNode;

namespace kvo::nfe {

// Enveloped XML-DSig signature as the authority requires it: C14N, RSA-SHA1,
// SHA-1 digest, the holder's certificate in KeyInfo. The key is prepared once
// and reused for every document.
class AssinadorXml {
public:
    explicit AssinadorXml(const CertificadoA1& certificado);
    ~AssinadorXml();
    AssinadorXml(const AssinadorXml&) = delete;
    AssinadorXml& operator=(const AssinadorXml&) = delete;

    // Signs every element named `elemento` (infNFe, infEvento, infInut) by its
    // Id attribute; each Signature goes last inside that element's parent,
    // replacing an earlier one. Returns the root element's bytes.
    QByteArray assinar(const QByteArray& xml, const char* elemento) const;
    // Same on a parsed document, in place.
    void assinar(xmlDoc* doc, const char* elemento) const;

private:
    void assinarElemento(xmlDoc* doc, xmlNode* alvo) const;

    void* m_key; // xmlSecKeyPtr
};

} // namespace kvo::nfe
