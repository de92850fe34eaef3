#pragma once

#include <QString>
#include <QStringList>

namespace kvo {

class TdmResPedido;

// A product sold with options (PRO_PERSONALIZADO) cannot be posted where the
// options are not chosen: Error naming it and the touch sale instead.
void recusarProdutoComOpcoes(TdmResPedido& dm, qint64 codproduto, const QString& descricao);

// The rules of the order screen on the loaded order (TdmResPedido), with
// their questions asked through the user-interface port. The item acted on
// is the current row of the item record set. Changes stay in memory until
// the order is saved (gravar), except the item transfer, which the database
// carries out at once.
class OperacoesPedido {
public:
    explicit OperacoesPedido(TdmResPedido& dm) : m_dm(dm) {}

    // Before an item is added: a printed bill warns; with REST.SEN.REA a
    // supervisor must reopen it. False: "Não é possível realizar o
    // Lançamento." was shown and the screen closes.
    bool liberarLancamento();
    // Cancels the current item as a whole (confirmation, supervisor, reason).
    void cancelarItem();
    // The waiter of the current item, or of every live item (REST.ALT.TGA).
    void alterarGarcon();
    // Moves part of the current item to another table (the destination
    // prompt proposes `destinoPadrao` when above 0), then reloads the order.
    void transferirItem(int destinoPadrao);
    // Saves the order with its stock movements, prints the production
    // tickets of this save and evaluates the table. Refuses, writing
    // nothing, when another terminal closed or merged the order meanwhile.
    void gravar();

private:
    TdmResPedido& m_dm;
    QStringList m_estoque; // statements built by cancellations
};

} // namespace kvo
