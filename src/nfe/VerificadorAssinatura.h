#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

using xmlDoc = struct _xmlDoc;

namespace kvo::nfe {

// Checks the enveloped XML-DSig signatures of a received document, as the
// authority does: the signed element's digest, the signature value and the
// signer's certificate chain against trusted CAs.
class VerificadorAssinatura {
public:
    // PEM files with the CA certificates trusted for signers.
    explicit VerificadorAssinatura(const QStringList& arquivosCA);
    ~VerificadorAssinatura();
    VerificadorAssinatura(const VerificadorAssinatura&) = delete;
    VerificadorAssinatura& operator=(const VerificadorAssinatura&) = delete;

    enum class Resultado { Valida, Ausente, Divergente, CertificadoNaoConfiavel };
    // Every element named `elemento` must carry a valid signature.
    Resultado verificar(xmlDoc* doc, const char* elemento, QString* detalhe = nullptr) const;

private:
    void* m_manager; // xmlSecKeysMngrPtr
};

// The base64 DigestValue of the first signature in the bytes (what the
// authority returns as digVal); empty when unsigned.
QString digestValue(const QByteArray& xml);

} // namespace kvo::nfe
