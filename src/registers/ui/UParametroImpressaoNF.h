#pragma once

#include "framework/ui/URepPadrao.h"
#include "registers/LayoutImpressaoNF.h"

#include <QList>

class QComboBox;
class QTableView;

namespace kvo {

// "Formulário da Nota Fiscal": places each column of the invoice form.
// Pick the part (header, items, instalments) and a column, Enter (or
// Insert) adds it,
// the grid edits print flag, column, row, width and row step; F2 saves,
// Ctrl+Del removes the row, Esc closes (asking to save what is pending).
class TfrmParametroImpressaoNF : public TrepPadraoGeral {
    Q_OBJECT
public:
    // A part of the form: its caption, the record-set name the rows are
    // keyed by, and the columns that can be placed.
    struct Parte {
        QString titulo;
        QString tabela;
        QStringList campos;
    };
    explicit TfrmParametroImpressaoNF(QList<Parte> partes, QWidget* parent = nullptr);
    ~TfrmParametroImpressaoNF() override;

    void cbxParteChange();
    void btnIncluirClick();
    void btnExcluirClick();
    bool btnSalvarClick();
    LayoutImpressaoNF& layout() { return m_layout; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void carregarCampos();

    QList<Parte> m_partes;
    LayoutImpressaoNF m_layout;
    RecordSetModel* m_model;
    QComboBox* m_parte;
    QComboBox* m_campo;
    QTableView* m_grade;
};

} // namespace kvo
