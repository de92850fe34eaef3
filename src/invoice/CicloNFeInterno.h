#pragma once

// Shared by the NF-e life-cycle files of the invoice data module.
#include <QString>
#include <QVariantMap>

#include <exception>

namespace kvo {
class Database;
namespace nfe {
class NFeComponent;
}
} // namespace kvo

namespace kvo::ciclo {

nfe::NFeComponent& componente();
// The component set from the program folder's NF-e settings (again only when the file changed).
void configurar();
Database& conexao();
// The text of a failure (an Abort's message, else what()).
QString erroDe(const std::exception& e);
// Writes the columns of one invoice (values bound) and commits.
void gravarColunas(int numero, const QString& serie, const QVariantMap& colunas);
void gravarArquivo(const QString& caminho, const QByteArray& bytes);
// The DANFE of every listed document on the printer, items with ICMS-ST
// showing it as insurance for the print only.
void imprimirDanfe(bool cancelada);

} // namespace kvo::ciclo
