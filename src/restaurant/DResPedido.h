#pragma once

#include "core/Currency.h"
#include "framework/db/RecordSet.h"

#include <QDateTime>
#include <QHash>

#include <functional>
#include <memory>
#include <optional>

namespace kvo {

class TdmProduto;

// One restaurant order (dmResPedido): RES_PEDIDO with its items, payment
// splits and item options, the derived order values, the restaurant
// configuration keys, and the tab balance statements.
//
// PED_TOTAL and the order's CODGARCON are kept by the database (see migration
// 0015): here they are computed for display and never written back, so two
// terminals posting on one table never refuse each other's order row.
class TdmResPedido {
public:
    static TdmResPedido& gerarInstance();
    TdmResPedido();
    // On a given connection (another terminal, the command line, tests); the
    // configuration, cash register and user come from the module's services.
    explicit TdmResPedido(Database& db);
    ~TdmResPedido();
    TdmResPedido(const TdmResPedido&) = delete;
    TdmResPedido& operator=(const TdmResPedido&) = delete;

    Database& conexao() { return m_db; }
    RecordSet& cdsResPedido() { return *m_pedido; }
    RecordSet& cdsResPedidoItem() { return *m_item; }
    RecordSet& cdsResPedidoItemPerso() { return *m_perso; }
    RecordSet& cdsResPedidoConta() { return *m_conta; }

    // The table that new orders take, as the screens typed it, and the waiter
    // they preset (0: none).
    void setMesaAtual(const QString& mesa) { m_mesaAtual = mesa; }
    const QString& mesaAtual() const { return m_mesaAtual; }
    void setGarconPredefinido(int codgarcon) { m_garconPredefinido = codgarcon; }
    int garconPredefinido() const { return m_garconPredefinido; }

    // Closes the order and reopens it by number with its items, options and
    // payments (0 opens nothing: ready to append a new order).
    void CarregarResVenda(int codpedido);
    void FecharResVenda();
    // PEDI_TOTAL = PEDI_QTDE x PEDI_VLRUNIT of the item being edited.
    void ResPedidoItem_CalculaTotal();
    // Posts the pending item; PED_TOTAL = sum of the "NORMAL" items.
    void ResPedido_CalculaTotal();
    // "EXECUTE PROCEDURE STP_RES_CONTROLE_MOVIMENTACAO(...)" when REST.SALDO
    // is "S", else empty.
    QString sqlResControleMovimentacao(int mesa, Currency valor, int tipo, const QString& texto);
    // Warns (never stops) when the tab's balance does not cover the value.
    void validaSeTemSaldoParaCompra(int mesa, Currency valor, Currency saldo);

    // --- the table, as the posting screens see it
    // The table exists and is not cancelled.
    bool controleValido(int mesa);
    // The table's "ABERTO" order, 0 when it has none.
    int pedidoAberto(int mesa);
    void avaliaControle(int mesa);                // STP_REST_AVALIA_CONTROLE
    void verificarPedido(int codpedido, int mesa); // STP_RES_PEDIDO_VERIFICAR
    // The posting is opened: the table becomes the current one, is evaluated,
    // and its open order is loaded and put in edit, or a new one appended.
    // A table that does not exist or is cancelled: "Mesa não está correta,
    // tente novamente".
    void abrirMesa(int mesa);

    // Writes the order, items, options and payments and then the statements
    // (stock, balance; built after the order number is final) in one
    // transaction. A save that meets another terminal's lock is done again;
    // an order that another terminal opened for the same table meanwhile is
    // joined (the items go to that order). Rows another terminal changed are
    // reported and nothing is written.
    void gravarPedido(const std::function<QStringList()>& comandos = {});
    void gravarPedido(const QStringList& comandos) {
        gravarPedido([comandos] { return comandos; });
    }
    // How many times gravarPedido tried to write in its last call.
    int tentativasDaUltimaGravacao() const { return m_tentativas; }

    // Cancels QTDE of one item of the loaded order (the whole of it, or the
    // item is reduced and a cancelled line of QTDE added), with the business
    // date, the user and the reason; returns the stock statement that gives
    // the quantity back. Refusals: "Item já CANCELADO!", "Quantidade
    // invalida!", "Item não localizado para CANCELAR!", "Você só pode mexer
    // no produto e não na personalização!".
    QString cancelarItem(int codpedidoitem, Currency quantidade, const QString& motivo);

    // The business date with the time of day (the order's duration is
    // measured from it); nullopt when no cash register is open.
    std::optional<QDateTime> dataMovimento();

    // The restaurant parameters the order reads, as loaded with the order
    // (defaults without a PAR_RESTAURANTE row).
    struct Parametros {
        Currency servico, couvert;
        bool selecionarGarcon = false;
    };
    const Parametros& parametros() const { return m_par; }

private:
    static bool editando(const RecordSet& rs) {
        return rs.state() == RecordSet::State::Edit || rs.state() == RecordSet::State::Insert;
    }
    void definirPedido();
    void definirItens();
    void definirPerso();
    void definirConta();
    void novoPedido(RecordSet& p);
    void novoItem(RecordSet& i);
    void calcularPedido(RecordSet& p);
    void validarCodPesquisa(Field& f);
    void juntarAoPedido(int codpedido);
    QString nomePessoa(int mesa, int codpessoa);
    void lerParametros();
    TdmProduto& produtos();

    Database& m_db;
    std::unique_ptr<RecordSet> m_pedido, m_item, m_perso, m_conta;
    std::unique_ptr<TdmProduto> m_produtos;
    QString m_mesaAtual;
    int m_garconPredefinido = 0;
    int m_tentativas = 0;
    Parametros m_par;
    std::optional<QDateTime> m_dataMovimento; // read with the order
    QHash<qint64, int> m_posicao; // item key -> position in the item list
    QString m_chavePessoa, m_nomePessoa; // last person name read, by table and person
};

} // namespace kvo
