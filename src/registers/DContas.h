#pragma once

#include "registers/DFormaDePagamento.h"

namespace kvo {

class Database;

// The document a set of receivables or payables belongs to. A sales invoice
// ("NFVENDA") is known by its number and series, a purchase ("NFCOMPRA") by
// its code; both also land in CODNFVENDA/CODSERIE or CODNFCOMPRA.
struct DocumentoContas {
    QString origem;     // kind, e.g. "NFVENDA"
    int codigo = 0;     // its key (the invoice number)
    QString numero;     // printed number
    int codpessoa = 0;
    int codformapagamento = 0;
    QDate emissao;
    QString serie;      // the invoice's series
    QChar tipo = u'R';  // R receivable, P payable
    int codcentcusto = 0;
};

// Receivables and payables (CONTAS).
class TdmContas {
public:
    static TdmContas& gerarInstance();
    TdmContas();
    explicit TdmContas(Database& db);

    // Writes the instalments of the document (in one transaction); refuses
    // when they do not add up to `total`. With `substituir`, the document's
    // own live instalments (same kind, number and series, not "EXCLUÍDA") are
    // replaced, refused when one of them was already (partly) paid; without
    // it they stay and these are added (a difference billed later).
    void gravarParcelas(const DocumentoContas& doc, Currency total, const QVector<Parcela>& parcelas,
                        bool substituir = true);
    // Refuses instalments that are not all positive and dated or do not add
    // up to `total` (what gravarParcelas checks before writing).
    static void conferirParcelas(Currency total, const QVector<Parcela>& parcelas);
    // The document's live instalments.
    int quantidadeParcelas(const QString& origem, int codigo, const QString& serie = {});

private:
    Database& m_db;
};

} // namespace kvo
