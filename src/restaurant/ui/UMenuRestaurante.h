#pragma once

#include "framework/ui/URepPadrao.h"
#include "restaurant/MapaMesas.h"

#include <QPointer>

#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;

namespace kvo {

class Database;
class PainelMapaMesas;
class Digest;
class FiscalPrinter;
class RecordSet;
class RecordSetModel;

// "Menu Restaurante": the cashier's paged map of the tables, the items of the
// selected one and the numbered actions. One instance (see
// registrarTelasMenuRestaurante); the map is PainelMapaMesas, the rules
// live in MapaMesas and cancelarItemDoMapa.
class TfrmMenuRestaurante : public TrepPadraoGeral {
    Q_OBJECT
public:
    explicit TfrmMenuRestaurante(QWidget* parent = nullptr);
    ~TfrmMenuRestaurante() override;

    // The caller's fiscal printer and signing component (null: the terminal's).
    void usarECF(FiscalPrinter* ecf, Digest* assinador);
    // Steps 1 to 8 of the refresh: `resize` fits the grid again; `passo` 99
    // recounts, otherwise it moves the page.
    void VerificarControles(bool resize, int passo);
    void atualizarGridFilhos();
    const MapaMesas& mapa() const;
    QTimer* timer() const;
    // The selected cell (the table number, 0 when none).
    int mesaSelecionada() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Acao {
        QString menu; // the rights entry; empty: everyone
        QWidget* painel = nullptr;
        QPushButton* botao = nullptr;
    };
    void montarAcoes(QWidget* lateral);
    QWidget* montarItens(bool inferior);
    void adicionarAcao(QWidget* lateral, int numero, const QString& titulo, const QString& menu);
    void aplicarDireitos();
    void executarAcao(int numero);
    bool caixaLiberado();
    FiscalPrinter* ecf();
    bool avisarECF(bool obrigatoria);

    void btnLancamentoClick();
    void btnTransferenciaClick();
    void btnExtratoClick();
    void btnFechamentoClick();
    void btnMenuFiscalClick();
    void btnDeliveryClick();
    void btnTransItemClick();
    void btnBalcaoClick();
    void btnSairClick();
    void btnCancelarItemClick();

    Database& m_db;
    PainelMapaMesas* m_painelMapa;
    QLabel* m_mesa[2];
    QLabel* m_totProdutos[2];
    QLabel* m_totPedido[2];
    QCheckBox* m_ocultar[2];
    QTableView* m_itensGrid[2];
    QPushButton* m_cancelar[2];
    QWidget* m_painelItens[2];
    std::unique_ptr<RecordSet> m_itens;
    std::unique_ptr<RecordSetModel> m_modelo;
    QList<Acao> m_acoes; // indexed by action number - 1
    FiscalPrinter* m_ecf = nullptr;
    Digest* m_assinador = nullptr;
    bool m_emAcao = false;
    bool m_colunasDefinidas = false;
};

// Registers "TfrmMenuRestaurante" and "TfrmMenuRestaurante.ChamaTelaECF"
// (one instance, brought to the front by a second call) and fills
// telasRestaurante().atualizarMapa.
void registrarTelasMenuRestaurante();
// The open map, if any.
TfrmMenuRestaurante* menuRestauranteAberto();

} // namespace kvo
