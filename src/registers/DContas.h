#pragma once

#include "registers/DFormaDePagamento.h"

namespace kvo {

class Database;

// The document a set of receivables belongs to.
struct DocumentoContas {
    QString origem;     // kind, e.g. "NFVENDA"
    int codigo = 0;     // its key
    QString numero;     // printed number
    int codpessoa = 0;
    int codformapagamento = 0;
    QDate emissao;
};

// Receivables and payables (CONTAS).
class TdmContas {
public:
    static TdmContas& gerarInstance();
    TdmContas();
    explicit TdmContas(Database& db);

    // Writes the instalments of the document (in one transaction), replacing
    // the open ones it had; refuses when they do not add up to `total` or
    // when one of the document's instalments was already (partly) paid.
    void gravarParcelas(const DocumentoContas& doc, Currency total, const QVector<Parcela>& parcelas);
    int quantidadeParcelas(const QString& origem, int codigo);

private:
    Database& m_db;
};

} // namespace kvo
