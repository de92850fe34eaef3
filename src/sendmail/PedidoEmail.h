#pragma once

#include <QString>
#include <QStringList>

namespace kvo::sendmail {

// One message as the invoice module asks for it: the command line
// "recipients|subject|attachment,attachment|text|body".
struct PedidoEmail {
    QStringList destinatarios;
    QString assunto;
    QStringList anexos;
    bool html = false; // body format "html"; anything else is plain text
    QString corpo;
};

// The arguments are joined with blanks first, so the line may come as one
// argument or split at its blanks. Recipients are separated by "," or ";".
// Throws std::invalid_argument (Portuguese) for a line without the fields,
// without a recipient, or with a line break where a header goes.
PedidoEmail lerLinhaDeComando(const QStringList& argumentos);

} // namespace kvo::sendmail
