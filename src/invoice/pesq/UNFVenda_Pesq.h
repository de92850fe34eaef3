#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

#include <QColor>

class QCheckBox;
class QLayout;
class QPushButton;
class QTableView;

namespace kvo {

class TdmNFVenda;

// The invoice search ("Pesquisa: Nota Fiscal de Saída"): the invoices with
// their status, and the steps of their life cycle on the selected row. The
// steps are the data module's; this screen asks which row and shows.
class TfrmNFVenda_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmNFVenda_Pesq(QWidget* parent = nullptr);

    // Deleted invoices' rows, and the legend beside the filters.
    static QColor corExcluida() { return QColor(255, 205, 205); }

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
    void imprimir() override;
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* botao(QLayout* barra, const char* nome, const QString& titulo, std::function<void()> acao);
    // The filter from the boxes, then the list again.
    void atualizarFiltro();
    // Enabled states and the print caption for the selected row.
    void habilitarBotoes();
    // Runs a step on the selected row, then lists again when it changed something.
    void naLinha(const std::function<bool(TdmNFVenda&, int numero, const QString& serie)>& passo);
    QString coluna(const char* nome) const;
    void inutilizarCSV();

    QCheckBox* m_ocultarExcluidas;
    QCheckBox* m_ocultarInativas;
    QPushButton *m_alterar, *m_excluir, *m_imprimir, *m_faturar, *m_cancelar, *m_reabrir, *m_carta, *m_carne;
    QString m_tituloImprimir;
    QTableView* m_grade;
};

} // namespace kvo
