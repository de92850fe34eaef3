#include "printservice/PrinterBackend.h"

#include <QFile>
#include <QProcess>
#include <QTcpSocket>

namespace kvo::impressao {

FalhaEnvio::FalhaEnvio(const QString& mensagem, bool incerto)
    : std::runtime_error(mensagem.toStdString()), m_incerto(incerto) {}

namespace {

class ImpressoraTcp : public Impressora {
public:
    ImpressoraTcp(QString host, quint16 porta, int timeoutMs, bool confirmar)
        : m_host(std::move(host)), m_porta(porta), m_timeout(timeoutMs), m_confirmar(confirmar) {}

    void enviar(const QByteArray& bytes) override {
        QTcpSocket s;
        s.connectToHost(m_host, m_porta);
        if (!s.waitForConnected(m_timeout))
            throw FalhaEnvio(QStringLiteral("Impressora %1 não respondeu: %2").arg(descricao(), s.errorString()), false);
        if (m_confirmar) { // paper first: a printer without paper gets nothing
            const int papel = status(s, 4);
            if (papel < 0)
                throw FalhaEnvio(QStringLiteral("Impressora %1 não informou o estado do papel").arg(descricao()), false);
            if (papel & 0x60)
                throw FalhaEnvio(QStringLiteral("Impressora %1 sem papel").arg(descricao()), false);
        }
        // From here on bytes may reach the printer: any failure is uncertain.
        escrever(s, bytes);
        // The answer to a status request sent after the ticket proves the
        // printer received every byte before it.
        if (m_confirmar && status(s, 1) < 0)
            throw FalhaEnvio(QStringLiteral("Impressora %1 não confirmou o recebimento").arg(descricao()), true);
        s.disconnectFromHost();
        if (s.state() != QAbstractSocket::UnconnectedState && !s.waitForDisconnected(m_timeout))
            throw FalhaEnvio(QStringLiteral("Impressora %1 não confirmou o fim do envio").arg(descricao()), true);
        if (s.error() != QAbstractSocket::RemoteHostClosedError && s.error() != QAbstractSocket::UnknownSocketError)
            throw FalhaEnvio(QStringLiteral("Falha ao enviar para %1: %2").arg(descricao(), s.errorString()), true);
    }
    QString descricao() const override { return QStringLiteral("tcp:%1:%2").arg(m_host).arg(m_porta); }

private:
    void escrever(QTcpSocket& s, const QByteArray& bytes) {
        if (s.write(bytes) != bytes.size())
            throw FalhaEnvio(QStringLiteral("Falha ao enviar para %1: %2").arg(descricao(), s.errorString()), true);
        while (s.bytesToWrite() > 0)
            if (!s.waitForBytesWritten(m_timeout))
                throw FalhaEnvio(QStringLiteral("Falha ao enviar para %1: %2").arg(descricao(), s.errorString()), true);
    }
    // DLE EOT n, the real-time status request: the status byte, or -1.
    int status(QTcpSocket& s, char n) {
        escrever(s, QByteArray("\x10\x04", 2) + n);
        while (s.bytesAvailable() < 1)
            if (!s.waitForReadyRead(m_timeout))
                return -1;
        char c = 0;
        s.getChar(&c);
        return static_cast<unsigned char>(c);
    }

    QString m_host;
    quint16 m_porta;
    int m_timeout;
    bool m_confirmar;
};

class ImpressoraDispositivo : public Impressora {
public:
    explicit ImpressoraDispositivo(QString caminho) : m_caminho(std::move(caminho)) {}
    void enviar(const QByteArray& bytes) override {
        QFile f(m_caminho);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
            throw FalhaEnvio(QStringLiteral("Não foi possível abrir %1: %2").arg(m_caminho, f.errorString()), false);
        if (f.write(bytes) != bytes.size() || !f.flush())
            throw FalhaEnvio(QStringLiteral("Falha ao escrever em %1: %2").arg(m_caminho, f.errorString()), true);
    }
    QString descricao() const override { return QStringLiteral("dispositivo:") + m_caminho; }

private:
    QString m_caminho;
};

class ImpressoraCups : public Impressora {
public:
    ImpressoraCups(QString fila, int timeoutMs) : m_fila(std::move(fila)), m_timeout(timeoutMs) {}
    void enviar(const QByteArray& bytes) override {
        QProcess lp;
        lp.start(QStringLiteral("lp"), {QStringLiteral("-d"), m_fila, QStringLiteral("-o"), QStringLiteral("raw")});
        if (!lp.waitForStarted(m_timeout))
            throw FalhaEnvio(QStringLiteral("Não foi possível executar lp para %1").arg(m_fila), false);
        lp.write(bytes);
        lp.closeWriteChannel();
        if (!lp.waitForFinished(m_timeout)) {
            lp.kill();
            lp.waitForFinished();
            throw FalhaEnvio(QStringLiteral("lp não terminou para %1").arg(m_fila), true);
        }
        // lp queues the whole job or nothing.
        if (lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0)
            throw FalhaEnvio(QStringLiteral("lp recusou o trabalho para %1: %2")
                                 .arg(m_fila, QString::fromLocal8Bit(lp.readAllStandardError()).trimmed()),
                             false);
    }
    QString descricao() const override { return QStringLiteral("cups:") + m_fila; }

private:
    QString m_fila;
    int m_timeout;
};

} // namespace

std::unique_ptr<Impressora> criarImpressora(const QString& destino, int timeoutMs, bool confirmar) {
    const QString e = destino.trimmed();
    const qsizetype sep = e.indexOf(u':');
    const QString tipo = e.left(sep).toLower(), resto = sep < 0 ? QString() : e.mid(sep + 1);
    if (tipo == u"tcp" && !resto.isEmpty()) {
        const qsizetype p = resto.lastIndexOf(u':');
        bool ok = true;
        const int porta = p < 0 ? 9100 : resto.mid(p + 1).toInt(&ok);
        if (ok && porta > 0 && porta < 65536)
            return std::make_unique<ImpressoraTcp>(p < 0 ? resto : resto.left(p), static_cast<quint16>(porta), timeoutMs,
                                                   confirmar);
    }
    if (tipo == u"dispositivo" && !resto.isEmpty())
        return std::make_unique<ImpressoraDispositivo>(resto);
    if (tipo == u"cups" && !resto.isEmpty())
        return std::make_unique<ImpressoraCups>(resto, timeoutMs);
    throw std::invalid_argument(
        QStringLiteral("Impressora inválida: \"%1\" (use tcp:HOST[:PORTA], dispositivo:CAMINHO ou cups:FILA)")
            .arg(destino)
            .toStdString());
}

} // namespace kvo::impressao
