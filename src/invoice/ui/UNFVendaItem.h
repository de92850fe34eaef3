#pragma once

#include "framework/ui/URepPadrao.h"

#include <QList>
#include <QPair>
#include <QVariant>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTimer;

namespace kvo {

class TdmNFVenda;

// "Movimentação: Nota Fiscal de Venda Item": the current item of the invoice
// data module (appended or put in edit by the caller). OK checks the line in
// the fixed order, leaving the focus on the offending control, and posts it;
// the header's totals are recomputed. Cancel (Esc) drops only this line's edit.
class TfrmNFVendaItem : public TrepPadraoDetalhe {
    Q_OBJECT
public:
    explicit TfrmNFVendaItem(QWidget* parent = nullptr);

    // The category group is offered only when the shop registers services.
    bool categoriaVisivel() const;

protected:
    void ValidaDados() override;
    void gravar() override;
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void montar();
    void FormShow();
    void carregarUnidades();
    void atualizarPaineis();
    void trocarCategoria();
    void servicoEscolhido();
    [[noreturn]] void recusar(QWidget* foco, const QString& mensagem);

    TdmNFVenda& m_dm;
    QWidget* m_categoria = nullptr;
    QWidget* m_produto = nullptr;
    QWidget* m_servico = nullptr;
    QWidget* m_unidade = nullptr;
    QWidget* m_tipoPreco = nullptr;
    QWidget* m_importacao = nullptr;
    QWidget* m_cst = nullptr;
    QWidget* m_fornecedor = nullptr;
    QWidget* m_licitacao = nullptr;
    QComboBox* m_csosn = nullptr;
    QWidget* m_rotuloCsosn = nullptr;
    QComboBox* m_unidades = nullptr;
    QLineEdit* m_ipi = nullptr;
    QCheckBox* m_totalZerado = nullptr;
    QTimer* m_vigiaLicitacao = nullptr;
    QList<QPair<QVariant, QString>> m_listaUnidades;
};

} // namespace kvo
