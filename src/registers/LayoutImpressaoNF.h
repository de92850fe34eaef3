#pragma once

#include "framework/db/RecordSet.h"

#include <QStringList>

#include <memory>

namespace kvo {

// Editing the print layout of the invoice form (the rows of
// TdmParametro::layoutImpressao): one row per record-set column with its
// print flag, column, row, width and, for instalments, the row step.
class LayoutImpressaoNF {
public:
    explicit LayoutImpressaoNF(Database& db);

    // Every layout row; the ones of `tabela` shown (filter).
    RecordSet& registros() { return *m_rs; }
    void mostrarTabela(const QString& tabela);
    const QString& tabela() const { return m_tabela; }
    // The columns of `todas` that have no row yet in the table shown.
    QStringList camposLivres(const QStringList& todas) const;
    // A new row for `campo` of the table shown: printed, at 0,0, own width,
    // step 1; its key from GEN_PAR_NFVENDA_IMPRESSAO. Refuses a column that
    // already has one.
    void incluir(const QString& campo);
    void excluir();
    // Writes the pending rows (what is being typed posted first).
    void gravar();

private:
    Database& m_db;
    std::unique_ptr<RecordSet> m_rs;
    QString m_tabela;
};

} // namespace kvo
