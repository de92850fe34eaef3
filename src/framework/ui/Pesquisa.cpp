#include "framework/ui/Pesquisa.h"

#include "framework/ui/UserInterface.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
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
        connect(m_texto, &QLineEdit::returnPressed, this, &TfrmPesquisaDialogo::buscar);
        connect(m_grade, &QTableView::doubleClicked, this, &QDialog::accept);
        connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
        resize(640, 420);
        buscar();
    }
    void buscar() {
        m_grade->setModel(nullptr);
        m_model.reset();
        m_rs = m_pesquisa.pesquisar(m_texto->text().trimmed());
        m_model = std::make_unique<RecordSetModel>(*m_rs);
        m_grade->setModel(m_model.get());
        if (!m_rs->isEmpty())
            m_grade->selectRow(0);
    }
    QVariant escolhido() const {
        const int row = m_grade->currentIndex().row();
        if (!m_rs || row < 0 || row >= m_rs->recordCount())
            return {};
        return m_rs->valueAt(row, m_rs->field(m_pesquisa.fieldKey()).index());
    }

private:
    TwbtPesquisa& m_pesquisa;
    QLineEdit* m_texto;
    QTableView* m_grade;
    std::unique_ptr<RecordSet> m_rs;
    std::unique_ptr<RecordSetModel> m_model;
};

} // namespace

TwbtPesquisa::TwbtPesquisa(Database& db) : m_db(db) {}

QString TwbtPesquisa::condicao(const QString& extra) const {
    QStringList partes;
    if (!m_where.isEmpty())
        partes << u'(' + m_where + u')';
    if (!extra.isEmpty())
        partes << extra;
    return partes.isEmpty() ? QString() : QStringLiteral(" where ") + partes.join(QStringLiteral(" and "));
}

bool TwbtPesquisa::Localizar(const QVariant& codigo, bool mostrar) {
    m_encontrado = m_db.query(m_select + condicao(m_chave + QStringLiteral(" = :CODIGO")), {{QStringLiteral("CODIGO"), codigo}});
    if (!m_encontrado->isEmpty())
        return true;
    if (mostrar)
        Alerta(m_naoEncontrado);
    return false;
}

void TwbtPesquisa::Complementar(const QList<Field*>& campos, int ultimo) {
    if (!m_encontrado || m_encontrado->isEmpty())
        return;
    const int n = ultimo < 0 ? int(campos.size()) - 1 : std::min(ultimo, int(campos.size()) - 1);
    for (int i = 0; i <= n && i < m_encontrado->fieldCount(); ++i)
        if (campos[i])
            campos[i]->setValue(m_encontrado->field(i).value());
}

std::unique_ptr<RecordSet> TwbtPesquisa::pesquisar(const QString& texto) {
    auto colunas = m_db.query(m_select + QStringLiteral(" where 1 = 0"));
    if (texto.isEmpty())
        return m_db.query(m_select + condicao({}));
    QStringList ou;
    for (int i = 0; i < colunas->fieldCount(); ++i)
        if (colunas->field(i).type() == FieldType::String)
            ou << QStringLiteral("upper(%1) like upper(:TEXTO)").arg(colunas->field(i).name());
    bool numero = false;
    texto.toLongLong(&numero);
    if (numero)
        ou << m_chave + QStringLiteral(" = :NUMERO");
    if (ou.isEmpty())
        return m_db.query(m_select + condicao({}));
    SqlParams params{{QStringLiteral("TEXTO"), QString(u'%' + texto + u'%')}};
    if (numero)
        params.insert(QStringLiteral("NUMERO"), texto.toLongLong());
    return m_db.query(m_select + condicao(u'(' + ou.join(QStringLiteral(" or ")) + u')'), params);
}

bool TwbtPesquisa::AbrePesquisa(Field& campo) {
    TfrmPesquisaDialogo dialogo(*this, m_titulo);
    if (dialogo.exec() != QDialog::Accepted)
        return false;
    const QVariant chave = dialogo.escolhido();
    if (chave.isNull())
        return false;
    campo.setValue(chave);
    Localizar(chave, false);
    return true;
}

bool Libgeral::AbrirPesquisa(RecordSet& fonte, const QString& campo, TwbtPesquisa& pesquisa) {
    if (fonte.state() == RecordSet::State::Browse)
        fonte.edit();
    return pesquisa.AbrePesquisa(fonte.field(campo));
}

} // namespace kvo
