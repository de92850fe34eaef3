#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

#include <QColor>

#include <memory>

class QTableView;

namespace kvo {

// The read-only search of return invoices ("Consulta de NF. Saída do tipo
// Devolução"), with the items of the selected one below; items not delivered
// as invoiced are highlighted.
class TfrmConsultaNFVendaDevolucao : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmConsultaNFVendaDevolucao(QWidget* parent = nullptr);
    ~TfrmConsultaNFVendaDevolucao() override;

    static QColor corDestaque() { return QColor(255, 236, 150); }
    RecordSet& itens() const { return *m_itens; }

protected:
    bool abrirCadastro(Modo) override { return false; }
    void excluirRegistro() override {}

private:
    // The selected invoice's items, read again only for another invoice.
    void carregarItens();

    std::unique_ptr<RecordSet> m_itens;
    QTableView* m_gradeItens;
    RecordSetModel* m_modeloItens;
    int m_numeroCarregado = -1;
    QString m_serieCarregada;
};

} // namespace kvo
