#pragma once

#include "framework/db/Database.h"

#include <QString>

namespace kvo {

class TdmNFVenda;

// The rules of the invoice search (TfrmNFVenda_Pesq) that are not a step of
// the data module itself: its rows and filter, which actions a status
// allows, and the checks the search makes before printing, mailing and
// opening a correction letter. The screen binds, asks and shows.
namespace pesquisaNFVenda {

// "select ... from NFVENDA join PESSOA join SERIE" without where: the rows of
// the search, with the invoice's own NFV_TIPO for the billing.
QString selectBase();

struct Filtro {
    bool ocultarExcluidas = false;
    bool ocultarSeriesInativas = false;
};
struct Condicao {
    QString sql; // written here, never typed by a user
    SqlParams params;
};
// " 1 = 1 " and what the ticked boxes add; the current company (bound) when
// "MULTI.EMPRESA" is "S".
Condicao condicao(const Filtro& filtro);

// What the selected row's status allows (an empty list allows none of these).
struct Habilitados {
    bool alterar = false, excluir = false, faturar = false; // "Aberta"
    bool reabrir = false, imprimir = false;                 // "Faturada" or "Cancelada"
    bool cancelar = false, cartaCorrecao = false, carne = false; // "Faturada"
};
Habilitados habilitados(const QString& status);

// The print button's caption for a company that issues NF-e, by the row's
// series type; empty when the caption stays as it is.
QString tituloImprimir(const QString& tipoSerie);

// Billing from the search: the invoice's own type, so an entry invoice skips
// the stock check as it does from the invoice screen.
bool faturar(TdmNFVenda& dm, int numero, const QString& serie, const QString& tipo);
// Print takes the DANFE for an NF-e company's invoice, but the printed form
// for an invoice of a printed-form series ("Formulário"), which was never an NF-e.
bool imprimeDanfe(const QString& tipoSerie);
// The DANFE of an NF-e company (the issuer's city code checked first).
void imprimirNFe(TdmNFVenda& dm, int numero, const QString& serie, int pessoa);
// E-mail of the NF-e: refused for a company that does not issue NF-e.
void enviarEmail(TdmNFVenda& dm, int numero, const QString& serie, int pessoa);
// The checks before the correction-letter screen opens on a new letter:
// the invoice transmitted, and a second letter confirmed. False on "no".
bool podeCartaCorrecao(TdmNFVenda& dm, int numero, const QString& serie);

// "gambinfe.txt" in the program folder shows the NF-e file tools.
bool mostrarFerramentasXML();

} // namespace pesquisaNFVenda
} // namespace kvo

namespace kvo::pesquisaNFVenda {

// The return-invoice search: invoices whose CFOP is classified "Devolução".
QString selectDevolucao();
QString condicaoDevolucao();
// The items of one invoice (parameters :N number, :S series).
QString selectItensDevolucao();
// An item not delivered as invoiced (nothing delivered counts as zero).
bool entregaDifere(const QVariant& qtde, const QVariant& entregue);

} // namespace kvo::pesquisaNFVenda
