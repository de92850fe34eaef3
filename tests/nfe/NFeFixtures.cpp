#include "NFeFixtures.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <stdexcept>

namespace kvo::nfe::test {

namespace {
QString fixtures() { return QStringLiteral(KVO_NFE_FIXTURE_DIR); }
QString script(const char* name) { return QStringLiteral(KVO_SOURCE_DIR "/scripts/") + QLatin1String(name); }
} // namespace

int executar(const QString& programa, const QStringList& argumentos, QString* saida)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, argumentos);
    if (!p.waitForStarted() || !p.waitForFinished(300000))
        return -1;
    if (saida)
        *saida = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool programaDisponivel(const QString& programa)
{
    return !QStandardPaths::findExecutable(programa).isEmpty();
}

void prepararFixtures()
{
    QString saida;
    if (executar(script("install-nfe-schemas"), {pastaSchemas()}, &saida) != 0)
        throw std::runtime_error("install-nfe-schemas falhou: " + saida.toStdString());
    if (executar(script("make-demo-certificate"), {pastaCertificado()}, &saida) != 0)
        throw std::runtime_error("make-demo-certificate falhou: " + saida.toStdString());
}

QString pastaSchemas() { return fixtures() + QStringLiteral("/Schemas"); }
QString pastaCertificado() { return fixtures() + QStringLiteral("/cert"); }
QString arquivoPfx() { return pastaCertificado() + QStringLiteral("/kvo-demo-a1.pfx"); }

} // namespace kvo::nfe::test
