#pragma once

#include "framework/db/RecordSet.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace kvo {

// The search component (TwbtPesquisa): a select over a register, a key
// column, and two ways in: by code (Localizar, then Complementar copies the
// found row into the caller's fields) and interactively (AbrePesquisa).
class TwbtPesquisa {
public:
    explicit TwbtPesquisa(Database& db);

    // The usual four settings at once.
    void configurar(const QString& select, const QString& chave, const QString& titulo, const QString& naoEncontrado) {
        SetDataSet(select);
        SetFieldKey(chave);
        setCaption(titulo);
        setTextoNaoEncontrado(naoEncontrado);
    }
    // "select KEY, COL1, COL2 ... from TABLE" (no where: see SetSQL4Where).
    void SetDataSet(const QString& select) { m_select = select; }
    // A fixed condition written by the program (never text typed by a user).
    void SetSQL4Where(const QString& condicao) { m_where = condicao; }
    void SetFieldKey(const QString& coluna) { m_chave = coluna; }
    void setCaption(const QString& titulo) { m_titulo = titulo; }
    void setTextoNaoEncontrado(const QString& texto) { m_naoEncontrado = texto; }
    const QString& fieldKey() const { return m_chave; }
    // Column headings the user reads in the search, by column name; a
    // column without one shows its name.
    void setRotulos(QHash<QString, QString> rotulos) { m_rotulos = std::move(rotulos); }
    // Columns read but not shown to the user (by column name).
    void setColunasOcultas(QStringList colunas) { m_ocultas = std::move(colunas); }
    const QStringList& colunasOcultas() const { return m_ocultas; }

    // Positions on the row whose key equals the code; true when found. When
    // not found and `mostrar`, tells the user.
    bool Localizar(const QVariant& codigo, bool mostrar = true);
    // Copies the found row's columns, in order, into the listed fields (up to
    // index `ultimo`, all when negative), through their hooks.
    void Complementar(const QList<Field*>& campos, int ultimo = -1);
    // The interactive search; the chosen row's key goes into `campo`.
    bool AbrePesquisa(Field& campo);
    // Shows the interactive search and returns the chosen key (null when
    // given up); installed by the screen layer.
    static std::function<QVariant(TwbtPesquisa&, const QString& titulo)> dialogo;
    // The rows for a typed text (any text column containing it).
    std::unique_ptr<RecordSet> pesquisar(const QString& texto);
    RecordSet* encontrado() const { return m_encontrado.get(); }

private:
    QString condicao(const QString& extra) const;
    std::unique_ptr<RecordSet> rotular(std::unique_ptr<RecordSet> rs) const;

    Database& m_db;
    QString m_select, m_where, m_chave;
    QString m_titulo = QStringLiteral("Pesquisa");
    QString m_naoEncontrado = QStringLiteral("Registro não encontrado!");
    std::unique_ptr<RecordSet> m_encontrado;
    QHash<QString, QString> m_rotulos;
    QStringList m_ocultas;
};

namespace Libgeral {
// Opens the search for a field of a screen's record (put in edit first).
bool AbrirPesquisa(RecordSet& fonte, const QString& campo, TwbtPesquisa& pesquisa);
} // namespace Libgeral

} // namespace kvo
