#pragma once

#include <QString>

namespace kvo::autoridade {

// The service's own test CA and its server certificate (for 127.0.0.1 and
// localhost), created in the state folder on first start and kept:
// ca.pem, ca-chave.pem, servidor.pem, servidor-chave.pem.
struct CertificadosServidor {
    QString ca, certificado, chave;
};

// Throws std::runtime_error when they cannot be created.
CertificadosServidor garantirCertificados(const QString& pasta);

} // namespace kvo::autoridade
