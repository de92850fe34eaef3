#include "restaurant/impressao/LancamentoTickets.h"

#include "framework/db/RecordSet.h"
#include "restaurant/impressao/DResPedidoImpressao.h"

namespace kvo {

QString TicketsLancamento::titulo(Estacao e) const {
    return QStringLiteral("LANÇAMENTOS DE ") + QString::number(total(e)) + QStringLiteral(" PRODUTOS");
}

namespace {

const QString Cancelado = QStringLiteral("CANCELADO");

// Whether the item row under the cursor belongs on this posting's tickets.
bool imprimeAgora(const RecordSet& itens) {
    const Field& status = itens.field(QStringLiteral("PEDI_STATUS"));
    switch (itens.updateStatus()) {
    case RecordSet::UpdateStatus::Inserted:
        return status.asString() != Cancelado;
    case RecordSet::UpdateStatus::Modified:
        // Only the change that cancels it: an item already cancelled and
        // edited again (a note, a transfer mark) is not printed twice.
        return status.asString() == Cancelado && status.oldValue().toString().trimmed() != Cancelado;
    default:
        return false;
    }
}

} // namespace

TicketsLancamento montarTicketsLancamento(TdmResPedidoImpressao& dm, RecordSet& itens, const RecordSet* /*pedido*/,
                                          const RecordSet* perso, int mesa, Currency saldo) {
    TicketsLancamento t;
    t.mesa = mesa;
    itens.checkBrowseMode();
    if (itens.isEmpty())
        return t;
    DisableControls guard(itens);
    const Field* person = itens.findField(QStringLiteral("CODPEDIDOITEM_PERSON"));
    for (itens.first(); !itens.eof(); itens.next()) {
        if (person && person->asInteger() != 0)
            continue;
        if (!imprimeAgora(itens))
            continue;
        for (Estacao e : todasEstacoes) {
            const Field* flag = itens.findField(QString::fromLatin1(estacaoInfo(e).flagProduto));
            if (!flag || flag->asString() != u"S")
                continue;
            dm.imprimirItemRestaurante(e, t.de(e), itens, QString::number(mesa), perso, saldo);
            ++t.contagem[size_t(e)];
        }
    }
    return t;
}

void enviarTicketsLancamento(TdmResPedidoImpressao& dm, TicketsLancamento& t) {
    for (Estacao e : todasEstacoes)
        t.enviado[size_t(e)] = dm.imprimirFinal(e, t.de(e), t.mesa, t.titulo(e));
}

TicketsLancamento imprimirLancamento(TdmResPedidoImpressao& dm, RecordSet& itens, const RecordSet* pedido,
                                     const RecordSet* perso, int mesa, Currency saldo) {
    TicketsLancamento t = montarTicketsLancamento(dm, itens, pedido, perso, mesa, saldo);
    enviarTicketsLancamento(dm, t);
    return t;
}

} // namespace kvo
