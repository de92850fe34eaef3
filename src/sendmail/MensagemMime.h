#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace kvo::sendmail {

struct Anexo {
    QString nome;       // file name shown to the recipient
    QByteArray conteudo;
};

struct Mensagem {
    QString remetente, nomeRemetente;
    QStringList para;
    QString assunto;
    QString corpo;
    bool html = false;
    QList<Anexo> anexos;
    QDateTime data;     // empty: now
    QString messageId;  // "<...@...>"; empty: none
};

// The message as sent after DATA (before dot-stuffing): headers, a
// multipart/mixed body with the text and each attachment in base64, CR LF
// line ends. Non-ASCII header texts are RFC 2047 encoded words in UTF-8.
QByteArray montarMensagem(const Mensagem& m, const QByteArray& fronteira);
// A header text as one or more encoded words (none when plain ASCII), each
// within the standard's 75 characters and never splitting a character.
QByteArray codificarCabecalho(const QString& texto);
// Base64 in lines of 76 characters, each ended by CR LF.
QByteArray base64EmLinhas(const QByteArray& dados);
// The MIME type given to an attachment by its extension.
QByteArray tipoDoAnexo(const QString& nome);

} // namespace kvo::sendmail
