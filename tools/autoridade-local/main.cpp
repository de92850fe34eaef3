// kvo-autoridade-local: a local tax authority for tests and the demo.
//   kvo-autoridade-local --pasta DIR --schemas DIR --ca-clientes PEM [--ca-clientes PEM...]
//                        [--porta N] [--ambiente 1|2]
// Listens on 127.0.0.1 only (port 0: a free one). Writes DIR/url with the
// base address and prints it; the services are BASE/NFeAutorizacao4 etc.
// (any path works: the service is told by the message's namespace).
#include "Autoridade.h"
#include "CertificadosServidor.h"
#include "ServidorHttps.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    QString pasta, schemas;
    QStringList cas;
    int porta = 0, ambiente = 2;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i + 1 < args.size(); i += 2) {
        const QString& a = args[i];
        const QString& v = args[i + 1];
        if (a == u"--pasta")
            pasta = v;
        else if (a == u"--schemas")
            schemas = v;
        else if (a == u"--ca-clientes")
            cas << v;
        else if (a == u"--porta")
            porta = v.toInt();
        else if (a == u"--ambiente")
            ambiente = v.toInt();
        else {
            err << "Opção desconhecida: " << a << Qt::endl;
            return 2;
        }
    }
    if (pasta.isEmpty() || schemas.isEmpty() || cas.isEmpty()) {
        err << "uso: kvo-autoridade-local --pasta DIR --schemas DIR --ca-clientes PEM [--porta N] [--ambiente 1|2]"
            << Qt::endl;
        return 2;
    }
    try {
        QDir().mkpath(pasta);
        const kvo::autoridade::CertificadosServidor certificados = kvo::autoridade::garantirCertificados(pasta);
        kvo::autoridade::Autoridade autoridade({pasta, schemas, cas, ambiente});
        kvo::autoridade::ServidorHttps servidor(autoridade, certificados, cas, pasta);
        if (!servidor.listen(QHostAddress::LocalHost, quint16(porta))) {
            err << "Não foi possível escutar na porta " << porta << ": " << servidor.errorString() << Qt::endl;
            return 1;
        }
        const QString url = QStringLiteral("https://127.0.0.1:%1/ws").arg(servidor.serverPort());
        QSaveFile f(QDir(pasta).filePath(QStringLiteral("url")));
        if (f.open(QIODevice::WriteOnly)) {
            f.write(url.toUtf8() + '\n');
            f.commit();
        }
        out << url << Qt::endl;
        return app.exec();
    } catch (const std::exception& e) {
        err << "Erro: " << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
}
