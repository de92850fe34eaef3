#pragma once

#include "core/Currency.h"
#include "framework/db/RecordSet.h"

#include <memory>

namespace kvo {

// What a counter document looks like in the database: DAV and pre-sale share
// their shape and differ only in names.
struct LayoutDocumentoVenda {
    QString tabela, chave, geradorChave;              // "PREVENDA", "CODPREVENDA", "GEN_PREVENDA"
    QString tabelaItem, chaveItem, geradorItem;       // "PREVENDA_ITEM", "CODPREVENDAITEM", ...
    QString prefixo, prefixoItem;                     // "PREV_", "PREVI_"
    QString statusCancelado;                          // "CANCELADO" / "FINALIZADO"
};

// Header and items of one counter document, loaded by number, with the total
// kept as the sum of the items that are not cancelled.
class TdmDocumentoVenda {
public:
    TdmDocumentoVenda(Database& db, LayoutDocumentoVenda layout);
    virtual ~TdmDocumentoVenda();

    // Opens the document and its items (0 opens an empty header to append
    // to). A new header takes its key from the generator, "ABERTO" and now; a
    // new item its key, the document's key, the next item number and the
    // moment it was entered. Items carry the product's description, tax
    // situation and rate code, shelf location and base unit; the header the
    // customer's name.
    void carregar(int codigo);
    RecordSet& cabecalho() { return *m_cabecalho; }
    RecordSet& itens() { return *m_itens; }
    // Header total of products = sum of the live items' totals; document
    // total = products - discount + surcharge. Leaves the header in edit.
    void calculaTotal();
    // "ABERTO" -> the cancelled status, only when still open (another
    // terminal may have settled it); raises otherwise. The row's integrity
    // digest is stamped again with the new status.
    void cancelar(int codigo);
    // MD5 of the header row's text taken with its digest column empty: what
    // the digest column holds while the row is as it was stamped.
    QString digestCabecalho(const RecordSet& cabecalho);
    const LayoutDocumentoVenda& layout() const { return m_layout; }

protected:
    std::unique_ptr<RecordSet> abrirCabecalho(int codigo);
    QString campo(const char* nome) const { return m_layout.prefixo + QLatin1String(nome); }
    QString campoItem(const char* nome) const { return m_layout.prefixoItem + QLatin1String(nome); }

    Database& m_db;
    LayoutDocumentoVenda m_layout;
    std::unique_ptr<RecordSet> m_cabecalho, m_itens;
    QStringList m_colunasTabela;
};

} // namespace kvo
