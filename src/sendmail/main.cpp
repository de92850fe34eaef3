// kvo-sendmail (started as "KVOSendMail" from the program folder):
//   KVOSendMail destinatarios|assunto|anexo1,anexo2|text|mensagem
// Sends one message through the SMTP server of "KVOSendMail.ini" in the
// program folder ($KVO_HOME, else the folder of the program as started).
#include "core/Paths.h"
#include "sendmail/ConfiguracaoSmtp.h"
#include "sendmail/EnvioEmail.h"

#include <QCoreApplication>
#include <QFileInfo>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("KVO_HOME")) {
        // Started through the program folder's link: that folder, not the build's.
        const QString chamado = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
        kvo::setProgramFolder(chamado);
    }
    return kvo::sendmail::executarEnvio(app.arguments().mid(1), kvo::sendmail::arquivoConfiguracaoPadrao());
}
