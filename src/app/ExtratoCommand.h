#pragma once

#include <QStringList>
#include <QTextStream>

namespace kvo {

// "kvo restaurante extrato MESA [--saida ARQ] [--marcar]" and "kvo pedido
// extrato PEDIDO [--entrega|--balcao N] [--saida ARQ]": the bill built as the
// screens build it, without the preview, its printer bytes written to ARQ or
// to `out`. Only with --marcar does a table's bill save its settings and mark
// the order printed. `args` starts at "extrato". 0 when written, 1 when
// refused (message on `err`), 2 for bad usage.
int runExtratoRestauranteCommand(const QStringList& args, QIODevice& out, QTextStream& err);
int runExtratoPedidoCommand(const QStringList& args, QIODevice& out, QTextStream& err);

} // namespace kvo
