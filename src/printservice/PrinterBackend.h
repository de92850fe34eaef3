#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <stdexcept>

namespace kvo::impressao {

// A send that did not go through. `incerto` says whether the printer may
// have printed some or all of it (the connection broke after bytes left):
// such a ticket is printed again with the reprint mark; a refused
// connection or an unopenable device printed nothing.
class FalhaEnvio : public std::runtime_error {
public:
    FalhaEnvio(const QString& mensagem, bool incerto);
    QString mensagem() const { return QString::fromUtf8(what()); }
    bool incerto() const { return m_incerto; }

private:
    bool m_incerto;
};

// Where the printer's bytes go.
class Impressora {
public:
    virtual ~Impressora() = default;
    // Throws FalhaEnvio.
    virtual void enviar(const QByteArray& bytes) = 0;
    virtual QString descricao() const = 0;
};

// "tcp:HOST[:PORTA]" (raw TCP, port 9100 by default), "dispositivo:CAMINHO"
// (a USB or serial device, or any file), "cups:FILA" (a system printer, sent
// raw through `lp`). Throws std::invalid_argument for anything else.
// `confirmar` (network printers that answer the real-time status request
// DLE EOT): the paper is checked before sending (a printer without paper gets
// nothing and the ticket waits) and a status request after the ticket must be
// answered, or the outcome counts as unknown.
std::unique_ptr<Impressora> criarImpressora(const QString& destino, int timeoutMs = 10000, bool confirmar = false);

} // namespace kvo::impressao
