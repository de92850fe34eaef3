#include "AutoridadeLocal.h"

#include "NFeFixtures.h"

#include "nfe/NFeComponent.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>

#include <stdexcept>

namespace kvo::nfe::test {

AutoridadeLocal::AutoridadeLocal() { iniciar(); }

AutoridadeLocal::~AutoridadeLocal() { parar(); }

void AutoridadeLocal::iniciar()
{
    m_processo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_processo.start(QStringLiteral(KVO_AUTORIDADE_LOCAL),
                     {QStringLiteral("--pasta"), pasta(), QStringLiteral("--schemas"), pastaSchemas(),
                      QStringLiteral("--ca-clientes"), pastaCertificado() + QStringLiteral("/kvo-demo-ca.pem")});
    const QDeadlineTimer prazo(20000);
    QByteArray linha;
    while (!linha.contains('\n') && !prazo.hasExpired()) {
        if (!m_processo.waitForReadyRead(int(prazo.remainingTime())) && m_processo.state() != QProcess::Running)
            break;
        linha += m_processo.readAllStandardOutput();
    }
    m_url = QString::fromUtf8(linha).trimmed();
    if (!m_url.startsWith(QStringLiteral("https://127.0.0.1:")))
        throw std::runtime_error("a autoridade local não iniciou: " + linha.toStdString());
}

void AutoridadeLocal::parar()
{
    if (m_processo.state() == QProcess::NotRunning)
        return;
    m_processo.terminate();
    if (!m_processo.waitForFinished(5000)) {
        m_processo.kill();
        m_processo.waitForFinished(5000);
    }
}

void AutoridadeLocal::injetar(const QJsonArray& regras) const
{
    QFile f(pasta() + QStringLiteral("/injecao.json"));
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(regras).toJson()) < 0)
        throw std::runtime_error("não foi possível gravar injecao.json");
}

QStringList AutoridadeLocal::requisicoes() const
{
    QFile f(pasta() + QStringLiteral("/requisicoes.log"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void AutoridadeLocal::configurar(NFeComponent& c) const
{
    c.Configuracoes.arquivoPfx = arquivoPfx();
    c.Configuracoes.senhaPfx = senhaPfx();
    c.Configuracoes.pastaSchemas = pastaSchemas();
    c.Configuracoes.tpAmb = 2;
    c.Configuracoes.WebServices.uf = QStringLiteral("SP");
    c.Configuracoes.WebServices.arquivoCA = arquivoCA();
    c.Configuracoes.WebServices.urlBase = m_url;
    c.Configuracoes.WebServices.timeoutConexaoMs = 5000;
    c.Configuracoes.WebServices.timeoutMs = 5000;
    c.Configuracoes.WebServices.intervaloReciboMs = 20;
    c.Configuracoes.WebServices.tentativasRecibo = 4;
    c.Configuracoes.WebServices.intervaloMinimoStatusS = 0;
    c.Configuracoes.PathEnviadas = m_pasta.path() + QStringLiteral("/enviadas");
}

} // namespace kvo::nfe::test
