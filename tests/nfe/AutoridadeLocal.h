#pragma once

#include <QJsonArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kvo::nfe {
class NFeComponent;
}

namespace kvo::nfe::test {

// The local authority program on a free loopback port with its own state
// folder, stopped when this goes out of scope.
class AutoridadeLocal {
public:
    AutoridadeLocal();
    ~AutoridadeLocal();

    void iniciar(); // throws std::runtime_error when it does not come up
    void parar();

    QString url() const { return m_url; }
    QString pasta() const { return m_pasta.path() + QStringLiteral("/estado"); }
    QString arquivoCA() const { return pasta() + QStringLiteral("/ca.pem"); }
    // Rules of the injection file (see the program's Injecao.h).
    void injetar(const QJsonArray& regras) const;
    // Lines of the request log: "<service>[ derrubada] <cStat,...>".
    QStringList requisicoes() const;

    // Points the component at this service with the demo certificate.
    void configurar(NFeComponent& c) const;

private:
    QTemporaryDir m_pasta;
    QProcess m_processo;
    QString m_url;
};

} // namespace kvo::nfe::test
