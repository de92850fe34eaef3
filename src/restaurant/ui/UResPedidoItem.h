#pragma once

#include "framework/ui/URepPadrao.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kvo {

class FieldBinder;
class TdmResPedido;

// "Movimentação: Item do Pedido": one item of the loaded order; F3 searches
// the product. OK checks the waiter, quantity, total and stock and posts the
// item in memory (the order screen saves it).
class TfrmResPedidoItem : public TrepPadraoGeral {
    Q_OBJECT
public:
    explicit TfrmResPedidoItem(TdmResPedido& dm, QWidget* parent = nullptr);

    // A new item; true when it was posted.
    bool incluir();
    // The current item; true when it was posted.
    bool alterar();

    void btnOkClick();
    void btnCancelarClick();
    void pesquisarProduto();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override { btnCancelarClick(); }

private:
    // The product just chosen: personalised products are refused here, the
    // note is asked when REST.OBS.VRP says so.
    void produtoEscolhido();
    void conferirGarcon();
    void mostrarEstoque();

    TdmResPedido& m_dm;
    FieldBinder* m_binder;
    QLineEdit* m_produto;
    QLineEdit* m_descricao;
    QLineEdit* m_qtde;
    QLineEdit* m_vlrUnit;
    QLineEdit* m_total;
    QLineEdit* m_garcon;
    QLineEdit* m_obs;
    QLabel* m_estoque;
    QPushButton* m_balanca;
    bool m_gravado = false;
    qint64 m_ultimoProduto = 0;
};

} // namespace kvo
