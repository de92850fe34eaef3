#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

#include <QPair>
#include <QVariant>

#include <memory>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QTableView;

namespace kvo::cadastro {

using Opcoes = QList<QPair<QString, QString>>; // stored value, text shown

// Widgets bound to a field of the record screen, added to `form` with their
// label; named "edt"/"chk"/"cbx" + field so tests and the simplified screens find them.
QLineEdit* campo(TrepPadraoCadastro& tela, QFormLayout* form, const QString& rotulo, const QString& nomeCampo);
QCheckBox* marcador(TrepPadraoCadastro& tela, QFormLayout* form, const QString& titulo, const QString& nomeCampo);
QComboBox* lista(TrepPadraoCadastro& tela, QFormLayout* form, const QString& rotulo, const QString& nomeCampo,
                 const Opcoes& opcoes);
// A list of the rows of a register table, with a blank first entry for "none".
QComboBox* listaTabela(TrepPadraoCadastro& tela, QFormLayout* form, const QString& rotulo, const QString& nomeCampo,
                       const QString& tabela, const QString& chave, const QString& mostrar);

// The row of `tabela` whose key is `codigo`, in edit; or a new row in insert.
std::unique_ptr<RecordSet> abrirRegistro(Database& db, const QString& tabela, const QString& chave,
                                         const QVariant& codigo, bool novo);
// Shows the record screen in the mode; true when something was written.
bool mostrarCadastro(TrepPadraoCadastro& tela, TrepPadraoPesquisa::Modo modo);

// Deletes the row with its own child rows (tables keyed by the same column);
// a row other documents still point to is deactivated instead when the table
// has an active flag, otherwise refused, and its children stay. A lock
// conflict or a lost connection is reported as such and changes nothing.
void excluirOuDesativar(Database& db, const QString& tabela, const QString& chave, const QVariant& codigo,
                        const QString& campoAtivo, const QStringList& tabelasFilhas = {});

// Column titles (and money formats) of a search grid, kept across searches.
void rotularColunas(TrepPadraoPesquisa& tela, const Opcoes& rotulos, const QStringList& camposMoeda = {});

// A grid editing the listed fields (name, title) of `rs` in place; a refused
// value is told to the user.
QTableView* gradeEditavel(QWidget* pai, const QString& nome, RecordSet& rs, const Opcoes& colunas);
// A column of such a grid chosen from a list (stored value, text shown).
void colunaLista(QTableView* grade, int coluna, const Opcoes& opcoes);
// The rows of a register table as list options (key, description).
Opcoes opcoesTabela(Database& db, const QString& tabela, const QString& chave, const QString& mostrar);

// The text of a field without surrounding blanks.
QString texto(const RecordSet& rs, const QString& nomeCampo);

} // namespace kvo::cadastro
