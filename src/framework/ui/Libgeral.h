#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QComboBox;
class QWidget;

namespace kvo {

class Database;

// General helpers of the screens.
namespace Libgeral {

// The rows of a table as (key, shown column) pairs, ordered by the shown
// column; `condicao` is written by the program, never typed by a user.
QList<QPair<QVariant, QString>> listarTabela(Database& db, const QString& tabela, const QString& chave,
                                             const QString& mostrar, const QString& condicao = {});

// Fills a list with the rows of a table: the shown column as text, the key
// as item data, ordered by the shown column.
void carregarComboBox(QComboBox* lista, Database& db, const QString& tabela, const QString& chave,
                      const QString& mostrar, const QString& condicao = {});

// Refuses (Error) a value already present in the column, ignoring the row
// whose key is `chaveAtual` (the record being edited).
void ValidaCampo(Database& db, const QString& tabela, const QString& campo, const QVariant& valor,
                 const QString& chave, const QVariant& chaveAtual, const QString& mensagem);

// Creates the screen once (kept until the module ends) and shows it.
QWidget& ChamaForm(const QString& nome, const std::function<QWidget*()>& criar);

// Starts an external program; with `esperar`, waits for it to end. Returns
// whether it started (and, when waiting, ended with exit code 0).
bool CreateProcessSimple(const QString& linhaDeComando, bool esperar);

// Hands a message with attachments to the desktop's mail client.
bool EnviarEmailMapi(const QString& para, const QString& assunto, const QString& corpo,
                     const QStringList& anexos);

} // namespace Libgeral
} // namespace kvo
