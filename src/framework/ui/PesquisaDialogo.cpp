#include "framework/ui/PesquisaDialogo.h"

#include "framework/db/RecordSetModel.h"
#include "framework/ui/Pesquisa.h"
#include "framework/ui/UserInterface.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kvo {

namespace {

// The dialog of the interactive search: type, Enter searches, Enter or a
// double click on a row chooses it.
class TfrmPesquisaDialogo : public QDialog {
public:
    TfrmPesquisaDialogo(TwbtPesquisa& pesquisa, const QString& titulo) : m_pesquisa(pesquisa) {
        setObjectName(QStringLiteral("frmPesquisa"));
        setWindowTitle(titulo);
        m_texto = new QLineEdit(this);
        m_texto->setObjectName(QStringLiteral("edtPesquisa"));
        m_grade = new QTableView(this);
        m_grade->setObjectName(QStringLiteral("dbgPesquisa"));
        m_grade->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_grade->verticalHeader()->hide();
        m_grade->horizontalHeader()->setStretchLastSection(true);
        auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        botoes->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Selecionar"));
        botoes->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnSelecionar"));
        botoes->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancelar"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_texto);
        layout->addWidget(m_grade, 1);
        layout->addWidget(botoes);
        connect(m_texto, &QLineEdit::returnPressed, this, [this] { tratarEvento([this] { buscar(); }); });
        connect(m_grade, &QTableView::doubleClicked, this, &QDialog::accept);
        connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
        resize(640, 420);
        buscar();
    }
    void keyPressEvent(QKeyEvent* e) override {
        // Enter in the text box searched; it must not also choose a row.
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && focusWidget() == m_texto)
            return;
        QDialog::keyPressEvent(e);
    }
    void buscar() {
        m_grade->setModel(nullptr);
        m_model.reset();
        m_rs = m_pesquisa.pesquisar(m_texto->text().trimmed());
        m_model = std::make_unique<RecordSetModel>(*m_rs);
        m_grade->setModel(m_model.get());
        for (int i = 0; i < m_rs->fieldCount(); ++i)
            m_grade->setColumnHidden(i, m_pesquisa.colunasOcultas().contains(m_rs->field(i).name(), Qt::CaseInsensitive));
        if (!m_rs->isEmpty())
            m_grade->selectRow(0);
    }
    QVariant escolhido() const {
        const int row = m_grade->currentIndex().row();
        if (!m_rs || row < 0 || row >= m_rs->recordCount())
            return {};
        return m_rs->valueAt(row, m_rs->field(m_pesquisa.fieldKey().section(u'.', -1)).index());
    }

private:
    TwbtPesquisa& m_pesquisa;
    QLineEdit* m_texto;
    QTableView* m_grade;
    std::unique_ptr<RecordSet> m_rs;
    std::unique_ptr<RecordSetModel> m_model;
};

} // namespace

void instalarDialogoPesquisa() {
    TwbtPesquisa::dialogo = [](TwbtPesquisa& pesquisa, const QString& titulo) {
        TfrmPesquisaDialogo dlg(pesquisa, titulo);
        return dlg.exec() == QDialog::Accepted ? dlg.escolhido() : QVariant();
    };
}

} // namespace kvo
