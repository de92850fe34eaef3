// kvo-smtp-local: a local SMTP receiver for tests and the demo.
//   kvo-smtp-local --pasta DIR [--porta N] [--porta-tls N] [--usuario U --senha S]
// Listens on 127.0.0.1 only: --porta with STARTTLS, --porta-tls with TLS from
// the first byte (0: a free port; -1: none). Certificates (a test CA and the
// server's) are made in DIR/certificados on first start; clients trust
// DIR/certificados/ca.pem. Messages go to DIR/caixa/*.eml. The ports are
// written to DIR/portas ("starttls=N" and "tls=N").
#include "CertificadosServidor.h"
#include "ServidorSmtp.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QTextStream>

#include <memory>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    QString pasta, usuario, senha;
    int porta = 0, portaTls = 0;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i + 1 < args.size(); i += 2) {
        const QString& a = args[i];
        const QString& v = args[i + 1];
        if (a == u"--pasta")
            pasta = v;
        else if (a == u"--porta")
            porta = v.toInt();
        else if (a == u"--porta-tls")
            portaTls = v.toInt();
        else if (a == u"--usuario")
            usuario = v;
        else if (a == u"--senha")
            senha = v;
        else {
            err << "Opção desconhecida: " << a << Qt::endl;
            return 2;
        }
    }
    if (pasta.isEmpty() || args.size() % 2 != 0) {
        err << "uso: kvo-smtp-local --pasta DIR [--porta N] [--porta-tls N] [--usuario U --senha S]" << Qt::endl;
        return 2;
    }
    try {
        const QDir dir(pasta);
        const auto certificados = kvo::autoridade::garantirCertificados(dir.filePath(QStringLiteral("certificados")));
        const QString caixa = dir.filePath(QStringLiteral("caixa"));
        std::unique_ptr<kvo::smtplocal::ServidorSmtp> starttls, tls;
        QByteArray portas;
        const auto abrir = [&](int p, bool implicito, const char* nome) {
            auto s = std::make_unique<kvo::smtplocal::ServidorSmtp>(
                certificados, kvo::smtplocal::OpcoesSmtp{caixa, usuario, senha, implicito});
            if (!s->listen(QHostAddress::LocalHost, quint16(p)))
                throw std::runtime_error(QStringLiteral("Não foi possível escutar na porta %1: %2")
                                             .arg(p)
                                             .arg(s->errorString())
                                             .toStdString());
            portas += QByteArray(nome) + '=' + QByteArray::number(s->serverPort()) + '\n';
            out << "smtp " << nome << " 127.0.0.1:" << s->serverPort() << Qt::endl;
            return s;
        };
        if (porta >= 0)
            starttls = abrir(porta, false, "starttls");
        if (portaTls >= 0)
            tls = abrir(portaTls, true, "tls");
        QSaveFile f(dir.filePath(QStringLiteral("portas")));
        if (!f.open(QIODevice::WriteOnly) || f.write(portas) != portas.size() || !f.commit())
            throw std::runtime_error("Não foi possível gravar " + f.fileName().toStdString());
        return app.exec();
    } catch (const std::exception& e) {
        err << "Erro: " << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
}
