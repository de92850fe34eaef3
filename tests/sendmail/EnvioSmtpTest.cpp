#include "LeitorMime.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace t = kvo::sendmail::test;

namespace {

QByteArray ler(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void escrever(const QString& arquivo, const QByteArray& dados)
{
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << arquivo.toStdString();
    f.write(dados);
}

// The mailer, as the invoice module starts it, against the local receiver
// (real TLS with the receiver's own test CA, real SMTP).
class EnvioSmtp : public ::testing::Test {
protected:
    void SetUp() override
    {
        servidor.setProgram(QStringLiteral(KVO_SMTP_LOCAL));
        servidor.setArguments({QStringLiteral("--pasta"), pasta(), QStringLiteral("--usuario"), QStringLiteral("loja"),
                               QStringLiteral("--senha"), QStringLiteral("s3gredo")});
        servidor.start();
        ASSERT_TRUE(servidor.waitForStarted());
        for (int i = 0; i < 200 && !QFile::exists(QDir(pasta()).filePath(QStringLiteral("portas"))); ++i)
            QThread::msleep(25);
        const QByteArray portas = ler(QDir(pasta()).filePath(QStringLiteral("portas")));
        for (const QByteArray& l : portas.split('\n')) {
            if (l.startsWith("starttls="))
                portaStartTls = l.mid(9).toInt();
            if (l.startsWith("tls="))
                portaTls = l.mid(4).toInt();
        }
        ASSERT_GT(portaStartTls, 0) << portas.constData();
        ASSERT_GT(portaTls, 0);
        QDir().mkpath(home());
        configurar(portaStartTls, "starttls", "s3gredo");
        xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><nfeProc><NFe>Açúcar</NFe>\n.ponto no início</nfeProc>";
        for (int i = 0; i < 70000; ++i)
            pdf += char((i * 31 + i / 256) % 256);
        pdf.prepend("%PDF-1.4\n");
        escrever(anexo(QStringLiteral("3526-nfe.xml")), xml);
        escrever(anexo(QStringLiteral("3526.pdf")), pdf);
    }
    void TearDown() override
    {
        servidor.terminate();
        servidor.waitForFinished();
    }
    QString pasta() const { return dir.filePath(QStringLiteral("smtp")); }
    QString home() const { return dir.filePath(QStringLiteral("home")); }
    QString anexo(const QString& nome) const { return QDir(home()).filePath(nome); }
    void configurar(int porta, const char* seguranca, const char* senha, bool confiarNaCa = true)
    {
        QByteArray ini = "[smtp]\nservidor=127.0.0.1\nporta=" + QByteArray::number(porta) + "\nseguranca=" + seguranca
            + "\nusuario=loja\nsenha=" + senha + "\nremetente=nfe@loja.com.br\nnomeRemetente=Loja Demonstração\ntimeout=5\n";
        if (confiarNaCa)
            ini += "ca=" + QDir(pasta()).filePath(QStringLiteral("certificados/ca.pem")).toUtf8() + "\n";
        escrever(QDir(home()).filePath(QStringLiteral("KVOSendMail.ini")), ini);
    }
    // Runs the mailer with the invoice module's line; returns its exit code.
    int enviar(const QString& linha)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KVO_HOME"), home());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KVO_SENDMAIL), {linha});
        EXPECT_TRUE(p.waitForFinished(30000));
        erro = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QString linhaDaNota() const
    {
        return QStringLiteral("cliente@exemplo.com.br, transportes@exemplo.com.br|Nf-e 123 – São Paulo|%1,%2|text|"
                              "Seguem em anexo os arquivos da NF-e.")
            .arg(anexo(QStringLiteral("3526-nfe.xml")), anexo(QStringLiteral("3526.pdf")));
    }
    QStringList recebidas() const
    {
        return QDir(QDir(pasta()).filePath(QStringLiteral("caixa"))).entryList({QStringLiteral("*.eml")}, QDir::Files);
    }
    QString log() const { return QString::fromUtf8(ler(QDir(home()).filePath(QStringLiteral("KVOSendMail.log")))); }
    void conferirRecebida()
    {
        const QStringList emls = recebidas();
        ASSERT_EQ(emls.size(), 1);
        const QByteArray eml = ler(QDir(pasta()).filePath(QStringLiteral("caixa/") + emls[0]));
        EXPECT_TRUE(eml.contains("X-Envelope-To: <cliente@exemplo.com.br>\r\nX-Envelope-To: <transportes@exemplo.com.br>"));
        const t::MensagemLida m = t::lerMensagem(eml);
        EXPECT_EQ(m.assunto, QStringLiteral("Nf-e 123 – São Paulo"));
        ASSERT_EQ(m.partes.size(), 3);
        EXPECT_EQ(QString::fromUtf8(m.partes[0].corpo), QStringLiteral("Seguem em anexo os arquivos da NF-e."));
        EXPECT_EQ(m.partes[1].nomeArquivo, QStringLiteral("3526-nfe.xml"));
        EXPECT_EQ(m.partes[1].corpo, xml);
        EXPECT_EQ(m.partes[2].nomeArquivo, QStringLiteral("3526.pdf"));
        EXPECT_EQ(m.partes[2].corpo, pdf);
    }

    QTemporaryDir dir;
    QProcess servidor;
    int portaStartTls = 0, portaTls = 0;
    QByteArray xml, pdf;
    QString erro;
};

} // namespace

TEST_F(EnvioSmtp, StartTlsDeliversBothAttachmentsIntact)
{
    ASSERT_EQ(enviar(linhaDaNota()), 0) << erro.toStdString();
    conferirRecebida();
    const QString l = log();
    EXPECT_EQ(l.count(u'\n'), 1) << l.toStdString();
    EXPECT_TRUE(l.contains(QStringLiteral("ENVIADO para=cliente@exemplo.com.br,transportes@exemplo.com.br "
                                          "assunto=\"Nf-e 123 – São Paulo\" anexos=3526-nfe.xml,3526.pdf")))
        << l.toStdString();
    EXPECT_TRUE(erro.contains(QStringLiteral("ENVIADO"))) << "the same line on stderr";
}

TEST_F(EnvioSmtp, ImplicitTlsDeliversToo)
{
    configurar(portaTls, "tls", "s3gredo");
    ASSERT_EQ(enviar(linhaDaNota()), 0) << erro.toStdString();
    conferirRecebida();
}

TEST_F(EnvioSmtp, RefusedLoginExitsNonZeroWithTheReasonAndALogLine)
{
    configurar(portaStartTls, "starttls", "errada");
    EXPECT_EQ(enviar(linhaDaNota()), 1);
    EXPECT_TRUE(erro.contains(QStringLiteral("E-mail não enviado"))) << erro.toStdString();
    EXPECT_TRUE(erro.contains(QStringLiteral("535"))) << erro.toStdString();
    EXPECT_TRUE(log().contains(QStringLiteral("FALHA para=cliente@exemplo.com.br"))) << log().toStdString();
    EXPECT_TRUE(recebidas().isEmpty());
}

TEST_F(EnvioSmtp, UnreachableServerExitsNonZeroWithTheReasonAndALogLine)
{
    QTcpServer livre;
    ASSERT_TRUE(livre.listen(QHostAddress::LocalHost));
    const int porta = livre.serverPort();
    livre.close();
    configurar(porta, "starttls", "s3gredo");
    EXPECT_EQ(enviar(linhaDaNota()), 1);
    EXPECT_TRUE(erro.contains(QStringLiteral("Não foi possível conectar ao servidor SMTP 127.0.0.1:%1").arg(porta)))
        << erro.toStdString();
    EXPECT_TRUE(log().contains(QStringLiteral("FALHA"))) << log().toStdString();
}

TEST_F(EnvioSmtp, UntrustedCertificateSendsNothing)
{
    configurar(portaStartTls, "starttls", "s3gredo", false);
    EXPECT_EQ(enviar(linhaDaNota()), 1);
    EXPECT_TRUE(erro.contains(QStringLiteral("TLS"))) << erro.toStdString();
    EXPECT_TRUE(recebidas().isEmpty());
}

TEST_F(EnvioSmtp, MissingAttachmentOrBadLineSendsNothing)
{
    QFile::remove(anexo(QStringLiteral("3526.pdf")));
    EXPECT_EQ(enviar(linhaDaNota()), 1);
    EXPECT_TRUE(erro.contains(QStringLiteral("Anexo não encontrado: ") + anexo(QStringLiteral("3526.pdf"))))
        << erro.toStdString();
    EXPECT_EQ(enviar(QStringLiteral("cliente@exemplo.com.br|Nf-e 1")), 2);
    EXPECT_TRUE(recebidas().isEmpty());
}
