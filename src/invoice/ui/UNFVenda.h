#pragma once

#include "framework/db/RecordSetModel.h"
#include "framework/ui/URepPadraoPesquisa.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace kvo {

class TdmNFVenda;

// "Movimentação: Nota Fiscal de Saída": the invoice header of the invoice
// data module bound to its controls, and below it the items (or, for a
// "Talão" series, the service lines) with add, change, view and delete. Keys:
// F3/F8 search in the code boxes, Enter moves on, Ins adds a line, F2 saves,
// Esc cancels.
class TfrmNFVenda : public TrepPadraoCadastro {
    Q_OBJECT
public:
    explicit TfrmNFVenda(QWidget* parent = nullptr);

    // A new invoice (insert mode, the defaults run).
    void novaNota();
    // An existing invoice, put in edit or only viewed; false when not found.
    bool abrirNota(int numero, const QString& serie, bool editar);

    // Other modules: a new invoice shown modally; true when it was billed
    // while the screen was open. A code above zero (or a non-empty text)
    // makes billing part of the save.
    static bool ChamaForm(int codigo);
    static bool ChamaFormItens(const QString& texto);
    bool faturou() const { return m_faturou; }

    // Whether the lower grid lists service lines (series of type "Talão").
    bool mostraServicos() const { return m_servicos; }

    void btnRefNFeClick();
    void btnNFCompraClick();
    void btnRefECFClick();
    void btnCopiarItensClick();

protected:
    void ValidaDados() override;
    void gravar() override;
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void montarTopo();
    void montarPessoas();
    void montarTotais(QWidget* pai);
    void montarAbas(QWidget* pai);
    void montarFilhos();
    void carregarSeries();
    void carregarFormasPagamento();
    void FormShow();
    // Points the grid and its buttons at items or service lines (step 4).
    void ligarGradeFilhos();
    void ChamaFrmFilho(TrepPadraoPesquisa::Modo modo);
    void excluirFilho();
    void cancelar();
    bool inserindo() const;
    RecordSet& filhos() const;

    TdmNFVenda& m_dm;
    QComboBox* m_serie = nullptr;
    QComboBox* m_forma = nullptr;
    QWidget* m_ajustes = nullptr;
    QWidget* m_vendedor = nullptr;
    QWidget* m_selo = nullptr;
    QWidget* m_baixaEstoque = nullptr;
    QTableView* m_grade = nullptr;
    RecordSetModel* m_modeloItens = nullptr;
    RecordSetModel* m_modeloServicos = nullptr;
    bool m_servicos = false;
    bool m_faturou = false;
    int m_codigoChamada = 0;
    QString m_textoChamada;
};

} // namespace kvo
