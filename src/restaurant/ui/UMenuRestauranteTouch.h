#pragma once

#include "framework/ui/URepPadrao.h"
#include "restaurant/LancamentoTouch.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace kvo {

class Digest;
class FiscalPrinter;
class PainelMapaMesas;
class TdmResPedido;

// "Menu Restaurante" for touch terminals: the table map with a keypad, the
// waiter's identification and the posting panel on the same screen. The
// states and their rules are LancamentoTouch's; this screen only shows the
// state, collects what is typed or touched and keeps the focus where the
// waiter goes on. One instance (registrarTelasMenuRestauranteTouch).
class TfrmMenuRestauranteTouch : public TrepPadraoGeral {
    Q_OBJECT
public:
    explicit TfrmMenuRestauranteTouch(QWidget* parent = nullptr);
    ~TfrmMenuRestauranteTouch() override;

    // The caller's fiscal printer and signing component (null: the terminal's).
    void usarECF(FiscalPrinter* ecf, Digest* assinador);
    void VerificarControles(bool resize, int passo);
    PainelMapaMesas& painelMapa() const { return *m_mapa; }
    LancamentoTouch& lancamento() { return m_regras; }
    // The table the other screens open on: the one typed, else the map's.
    int mesaEscolhida() const;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Acao {
        QString menu; // the rights entry; empty: everyone
        QPushButton* botao = nullptr;
        bool lancamento = false; // part of the posting: stays enabled with unsaved changes
    };
    QWidget* montarTeclado();
    QWidget* montarLancamento();
    QWidget* montarAcoes();
    QPushButton* botao(QWidget* pai, const char* nome, const QString& titulo, int altura = 52);
    QPushButton* acao(QWidget* pai, const char* nome, const QString& titulo, const QString& menu, int tecla,
                      void (TfrmMenuRestauranteTouch::*metodo)(), bool lancamento = false);
    void rodar(void (TfrmMenuRestauranteTouch::*metodo)(), QPushButton* origem);
    void mostrarEstado();
    void focarCampoRecusado();
    QLineEdit* primeiroCampoDoProduto() const;
    void limparProduto();
    void produtoDigitado();
    void recalcularTotal();
    void mostrarTotal();
    void digitar(const QString& tecla);
    bool limparCampoFocado();
    void aplicarDireitos();
    bool caixaLiberado();
    FiscalPrinter* ecf();
    bool avisarECF(bool obrigatoria);

    void btnLancarClick();
    void btnAdItemClick();
    void btnExtratoClick();
    void btnSalvarClick();
    void btnTransferenciaClick();
    void btnFechamentoClick();
    void btnDeliveryClick();
    void btnBalcaoClick();
    void btnCancelamentoClick();
    void btnFechamentoParcialClick();
    void btnTransItemClick();
    void btnSairClick();
    void pesquisarProduto();

    Database& m_db;
    std::unique_ptr<TdmResPedido> m_dm; // its own order: the classic screens keep theirs
    LancamentoTouch m_regras;
    PainelMapaMesas* m_mapa;
    QStackedWidget* m_centro;
    QLabel* m_estado;
    QLabel* m_rotuloMesa;
    QLineEdit* m_edtMesa;
    QLineEdit* m_edtGarcon;
    QLineEdit* m_edtSenha;
    QWidget* m_linhaGarcon[2];
    QLineEdit* m_edtProduto;
    QLineEdit* m_edtDescricao;
    QLineEdit* m_edtQtde;
    QLineEdit* m_edtVlrUnitario;
    QLineEdit* m_edtTotalItem;
    QComboBox* m_cbxGarcon;
    QLabel* m_rotuloGarconItem;
    QTableView* m_itens;
    QLabel* m_total;
    QPushButton* m_lancar;
    QPushButton* m_adItem;
    QList<Acao> m_acoes;
    int m_codproduto = 0;
    bool m_qtdePrimeiro = false;
    FiscalPrinter* m_ecf = nullptr;
    Digest* m_assinador = nullptr;
    bool m_emAcao = false;
};

// Registers "TfrmMenuRestauranteTouch" and
// "TfrmMenuRestauranteTouch.ChamaTelaECF" (one instance, brought to the
// front by a second call) and adds the touch map to the refresh of
// telasRestaurante().atualizarMapa.
void registrarTelasMenuRestauranteTouch();
// The open touch map, if any.
TfrmMenuRestauranteTouch* menuRestauranteTouchAberto();

} // namespace kvo
