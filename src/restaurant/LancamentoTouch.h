#pragma once

#include "core/Currency.h"
#include "restaurant/OperacoesPedido.h"

#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <optional>

namespace kvo {

class TdmResPedido;

// The touch map's posting without its widgets: the screen state (table,
// waiter, posting, cancelling), what "Lançar", "Ad. Item", "[F9]", "[F4]",
// "Sair" and "[F2]" do in each, and which field a refusal concerns. The
// order rules are TdmResPedido's and OperacoesPedido's; questions and
// messages go through the user-interface port. Nothing reaches the database
// before the save except the new order's key (and the table evaluations).
class LancamentoTouch {
public:
    enum class Estado { Mesa = 0, Garcon = 1, Lancando = 2, Cancelando = 3 };
    // The field a refusal points at (the screen gives it the focus).
    enum class Campo { Nenhum, Mesa, Garcon, Senha, Produto, Quantidade, Total };

    explicit LancamentoTouch(TdmResPedido& dm);

    // The touch sale screen (mesa, garçon: 0 without waiters). With
    // RST.LAN.TOUCH = "S" and this set, the posting goes there instead of
    // this screen's panel.
    std::function<void(int mesa, int garcon)> vendaTouch;

    Estado estado() const { return m_estado; }
    // The posting or the cancellations have changes not saved yet.
    bool alterado() const { return m_alterado; }
    int mesa() const { return m_mesa; }
    int garcon() const { return m_garcon; }
    Campo campoRecusado() const { return m_campo; }
    TdmResPedido& pedido() { return m_dm; }
    // REST.GARCON = "S": waiters identify themselves (state 1).
    bool usaGarcon() const;
    // The waiter choice is shown: PARR_SELECIONAR_GARCON, or waiters who do
    // not identify themselves while the order has none.
    bool escolheGarcon() const;
    // The waiters the choice offers (code, name), delivery men left out.
    QList<QPair<int, QString>> garcons();

    // "Lançar" in state 0: "Selecione uma mesa!", "Mesa (N) não está correta,
    // tente novamente", the personal tab's entry; then state 1 or the posting.
    void lancarMesa(const QString& texto);
    // "Lançar" in state 1: the waiter and password; then the posting.
    void lancarGarcon(const QString& codigo, const QString& senha);

    struct Produto {
        QString codigo;
        int codproduto = 0;
        QString descricao;
        Currency vlrUnitario;
    };
    // The product by search code (nullopt: not found, the panel clears).
    std::optional<Produto> localizarProduto(const QString& codigo);

    struct Item {
        QString codigo;
        int codproduto = 0;
        QString descricao;
        std::optional<Currency> qtde; // nullopt: not a number
        Currency vlrUnitario;
        int garcon = 0; // the choice of the waiter box, 0: none
    };
    // quantity x unit price, nullopt when the quantity is not a number.
    static std::optional<Currency> totalItem(const std::optional<Currency>& qtde, Currency vlrUnitario);
    // "Ad. Item": the printed bill, the checks in order, the stock; the item
    // is posted in memory.
    void adicionarItem(const Item& item);

    // "[F9]": state 3 (from the posting).
    void iniciarCancelamento();
    // Enter on an item in state 3: the current item, always the whole of it.
    void cancelarItem();
    // "[F4]": saves (tickets, stock, order) and leaves the posting.
    void salvar();
    // "Sair" by state; true when the screen is to close. Giving up the
    // cancellations reads the order as saved, so items posted and not saved
    // go too; leaving "[F9]" without cancelling anything asks nothing.
    bool sair();
    // "[F2]": the table whose check prints ("Selecione uma mesa!",
    // "Nenhuma movimentação nessa mesa!"); in the posting, its table.
    int mesaDoExtrato(const QString& texto);
    // The order read again as saved (the check marked it printed); a posting
    // without changes only.
    void recarregar();
    // Leaves the posting (state 0): STP_RES_PEDIDO_VERIFICAR, the order
    // closed, the waiter cleared. What was not saved is dropped.
    void encerrar();

private:
    void abrirLancamento();
    [[noreturn]] void recusar(Campo campo, const QString& mensagem, bool erro = false);

    TdmResPedido& m_dm;
    std::optional<OperacoesPedido> m_operacoes; // one per posting: its pending cancellations go with it
    Estado m_estado = Estado::Mesa;
    bool m_alterado = false;
    bool m_cancelou = false; // an item was cancelled since "[F9]"
    int m_mesa = 0, m_garcon = 0;
    Campo m_campo = Campo::Nenhum;
};

} // namespace kvo
