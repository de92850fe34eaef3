#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

// A small reader of what a mail client would show from a received message,
// written apart from the mailer's encoder so that each checks the other.
namespace kvo::sendmail::test {

struct ParteMime {
    QMap<QByteArray, QByteArray> cabecalhos; // lower-case names, unfolded values
    QByteArray corpo;                        // decoded
    QString nomeArquivo;                     // filename or filename*
};

struct MensagemLida {
    QMap<QByteArray, QByteArray> cabecalhos;
    QString assunto; // encoded words decoded
    QList<ParteMime> partes;
};

// Throws std::runtime_error when the structure is broken (no boundary, a
// part without its end, a base64 line longer than 76).
MensagemLida lerMensagem(const QByteArray& eml);
QString decodificarPalavras(const QByteArray& valor);

} // namespace kvo::sendmail::test
