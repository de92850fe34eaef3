#pragma once

#include <QString>
#include <QStringList>

namespace kvo::sendmail {

// The whole mailer: reads the request from the arguments and the settings
// file, sends, and writes one line about the message to the log file and to
// stderr. Returns the exit code: 0 sent, 1 not sent (the reason in
// Portuguese on stderr), 2 a malformed command line.
int executarEnvio(const QStringList& argumentos, const QString& arquivoConfiguracao);

} // namespace kvo::sendmail
