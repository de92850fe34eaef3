#pragma once

#include <QString>

// Schemas and the demo certificate, made once per test run under the build
// tree by the project's own setup scripts.
namespace kvo::nfe::test {

void prepararFixtures(); // throws std::runtime_error when a script fails
QString pastaSchemas();
QString pastaCertificado();
QString arquivoPfx();
inline QString senhaPfx() { return QStringLiteral("1234"); }
// Runs a program; returns its exit code (-1 when it cannot start) and output.
int executar(const QString& programa, const QStringList& argumentos, QString* saida = nullptr);
bool programaDisponivel(const QString& programa);

} // namespace kvo::nfe::test
