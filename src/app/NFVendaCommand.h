#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

namespace kvo {

class TdmNFVenda;

// "kvo nfvenda importar ARQ.json [ARQ.json ...] [--nao-alterar-cfop]",
// "kvo nfvenda mostrar NUMERO SERIE [--json]" and
// "kvo nfvenda recalcular NUMERO SERIE".
int runNFVendaCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// A value the data module refused, with where it stood in the file
// ("item 2, NFVI_QTDE_UND = \"abc\"").
struct NFVendaRecusada {
    QString onde;
    QString mensagem; // empty when the reaction already showed its error dialog
};

// Types a draft invoice into the open data module exactly as the screens
// would: the new-invoice defaults, then each pair through its field's
// reaction, each item and service line posted. Nothing is saved. Throws
// NFVendaRecusada.
void digitarNFVenda(TdmNFVenda& dm, const QJsonDocument& documento);

// Every stored column of the open invoice, its items and its service lines:
// {"cabecalho": {...}, "itens": [...], "servicos": [...]}; numeric columns
// as text with four decimals.
QJsonObject nfvendaComoJson(TdmNFVenda& dm);

} // namespace kvo
