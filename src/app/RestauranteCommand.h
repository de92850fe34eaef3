#pragma once

#include "core/Currency.h"

#include <QList>
#include <QStringList>
#include <QTextStream>

namespace kvo {

// True for the `kvo restaurante` actions of the order module.
bool ehComandoRestaurantePedido(const QString& acao);

// "lancar MESA ARQ.json [--garcom N]": posts the file's items on the table as
// the order screen does (the table's open order or a new one, the item
// defaults, stock, the production tickets) and prints the order number;
// "cancelar-item PEDIDO ITEM QTDE [--motivo T]". `args` starts at the action.
// 0 when done, 1 when refused or failed (message on `err`, nothing changed),
// 2 for bad usage.
int runRestaurantePedidoCommand(const QStringList& args, QTextStream& out, QTextStream& err);

struct ItemLancamento {
    QString codPesquisa;
    Currency quantidade;
    QString observacao;
};
// The items of a posting file: {"itens": [{"CODPESQUISA": "1001", "PEDI_QTDE":
// "2", "PEDI_OBS": "sem cebola"}]}, quantities as text with "." or pt-BR
// decimals. Throws DatabaseError naming the file and the item at fault.
QList<ItemLancamento> lerArquivoLancamento(const QString& arquivo);
// "2", "0.5", "1,5", "1.234,5"; nullopt for anything else.
std::optional<Currency> lerQuantidade(const QString& texto);

} // namespace kvo
