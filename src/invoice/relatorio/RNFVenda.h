#pragma once

#include "invoice/relatorio/PaginaFormulario.h"

#include <QString>

#include <memory>

namespace kvo {

class Field;
class RecordSet;

// Where the form is shown: the host's preview in the program, a PDF file on
// the command line, a scripted double in tests. Returns whether it printed.
class PreviewFormulario {
public:
    virtual ~PreviewFormulario() = default;
    virtual bool mostrar(const QString& titulo, const PaginaFormulario& pagina) = 0;
};
// Installs the preview (not owned); nullptr removes it.
void setPreviewFormulario(PreviewFormulario* preview);

// The printed-form invoice (relNFVenda): one page of free-positioned text
// boxes, each header column, item column and instalment at the character
// cell of the shop's print-layout rows (TdmParametro::layoutImpressao, keyed
// by record-set name "cdsNFVenda", "cdsNFVendaItem" or "cdsPesq_Contas" and
// column name). Nothing is written to the database.
class TrelNFVenda {
public:
    enum class Banda { Principal, Rodape };

    static TrelNFVenda& gerarInstance();
    TrelNFVenda();

    // Builds the page of the invoice and shows it in the preview; true when
    // the user printed it. An unknown invoice is refused with a message.
    bool Imprimir(int numero, const QString& serie);
    // The page of the invoice, not shown (the command line, tests).
    PaginaFormulario montar(int numero, const QString& serie);

    // The boxes, at a column and row in character cells of the band. A width
    // above 0 (cells) fixes the box; otherwise it takes the text's length.
    void CriarLabel(const QString& texto, int coluna, int linha, Banda banda, int largura);
    // Multi-line boxes (from a text file, or a text given directly), wrapped
    // at the width when there is one; each returns its number of lines.
    int CriarBlob(const QString& arquivo, int coluna, int linha, Banda banda, int largura);
    int CriarBlob2(const QString& texto, int coluna, int linha, Banda banda, int largura);
    // The printed text of a column (see README: "Printed-form invoice").
    static QString VerTipo(const Field& campo, int largura);

    // The page being built (tests and the callers of montar).
    const PaginaFormulario& pagina() const { return m_pagina; }
    // Starts a new page with the settings of "nfvenda.ini".
    void iniciarPagina(const ConfigFormulario& config);

    // The three placing steps on the header, the items (one row per item,
    // or as many as its tallest multi-line box) and the instalments, with
    // the layout rows in `layout` (read and closed).
    void colocarCabecalho(RecordSet& cab, RecordSet& layout);
    void colocarItens(RecordSet& itens, RecordSet& layout);
    void colocarParcelas(RecordSet& contas, RecordSet& layout);

private:
    void rodape();
    int campoGrande(const Field& campo, int coluna, int linha, int largura);
    void posicionar(CaixaTexto& caixa, int coluna, int linha, Banda banda) const;

    PaginaFormulario m_pagina;
    int m_rotulos = 0;
    int m_memos = 0;
};

} // namespace kvo
