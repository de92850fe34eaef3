#pragma once

#include "framework/ui/URepPadrao.h"
#include "restaurant/OperacoesPedido.h"

class QLabel;
class QPushButton;
class QTableView;

namespace kvo {

class RecordSetModel;
class TdmResPedido;

// "Lançamento da Cozinha": one table's order with its items; add, edit,
// cancel and transfer items, change the waiter; OK saves and prints the
// production tickets of what was posted.
class TfrmResPedido : public TrepPadraoGeral {
    Q_OBJECT
public:
    explicit TfrmResPedido(TdmResPedido& dm, QWidget* parent = nullptr);
    ~TfrmResPedido() override;

    // Opens the table's order for the waiter in a mode ("", "TransItem",
    // "FechaParcial") and shows the screen. True when the choice screen that
    // opened it is to close as well (REST.DEIX.AB = "N").
    bool ChamaFormulario(const QString& modo, int mesa, int garcon);
    // Loads the table's order into the screen without showing it.
    void carregar(const QString& modo, int mesa, int garcon);
    // The host's entry: asks to open the cash register when none is open,
    // then the order choice screen.
    static void chamatela();

    // The destination proposed by the item transfer (0: none).
    void setNumeroControleDestino(int mesa) { m_numeroControleDestino = mesa; }

    void btnIncluirClick();
    void btnAlterarClick();
    void btnCancelarItemClick();
    void btnTransferirClick();
    void btnFechamentoParcialClick();
    void btnAlterarGarconClick();
    void btnOkClick();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void mostrarTotais();
    // The grid row follows the item record set's cursor and back.
    void selecionarLinha();
    void voltarFoco();

    TdmResPedido& m_dm;
    OperacoesPedido m_operacoes;
    QString m_modo;
    int m_numeroControleDestino = 0;
    RecordSetModel* m_modelo;
    QTableView* m_grade;
    QLabel* m_pedido;
    QLabel* m_mesa;
    QLabel* m_status;
    QLabel* m_data;
    QLabel* m_pessoa;
    QLabel* m_total;
    QLabel* m_produtos;
    QLabel* m_acrescimo;
    QPushButton* m_btnTransferir;
    QPushButton* m_btnFechamento;
};

// Registers the order, transfer and parameter screens by name and fills
// the restaurant entry table (escolhaPedido, transferenciaMesa).
void registrarTelasPedido();

} // namespace kvo
