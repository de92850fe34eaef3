#include "registers/ui/UParametroImpressaoNF.h"

#include "framework/services/DAcesso.h"
#include "framework/ui/UserInterface.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>

namespace kvo {

namespace {
// The cell editors let the screen see their keys (F2 saves from inside a cell).
class DelegateLayout : public QStyledItemDelegate {
public:
    DelegateLayout(QObject* filtro, QObject* parent) : QStyledItemDelegate(parent), m_filtro(filtro) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor)
            editor->installEventFilter(m_filtro);
        return editor;
    }

private:
    QObject* m_filtro;
};
} // namespace

TfrmParametroImpressaoNF::TfrmParametroImpressaoNF(QList<Parte> partes, QWidget* parent)
    : TrepPadraoGeral(parent), m_partes(std::move(partes)), m_layout(TdmAcesso::gerarInstance().sqlCon()) {
    setObjectName(QStringLiteral("frmParametroImpressaoNF"));
    setWindowTitle(QStringLiteral("Formulário da Nota Fiscal"));
    m_parte = new QComboBox(this);
    m_parte->setObjectName(QStringLiteral("cbxParte"));
    for (const Parte& p : m_partes)
        m_parte->addItem(p.titulo);
    m_campo = new QComboBox(this);
    m_campo->setObjectName(QStringLiteral("cbxCampo"));
    m_campo->setEditable(true); // typing the column's name finds it
    m_campo->setInsertPolicy(QComboBox::NoInsert);
    m_campo->setCompleter(nullptr); // what is typed is the name, not a completion of it
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Parte:"), m_parte);
    form->addRow(QStringLiteral("Campo:"), m_campo);
    corpo()->addLayout(form);

    m_model = new RecordSetModel(m_layout.registros(),
                                 {QStringLiteral("PARNI_CAMPO"), QStringLiteral("PARNI_IMPRIMIR"), QStringLiteral("PARNI_COLUNA"),
                                  QStringLiteral("PARNI_LINHA"), QStringLiteral("PARNI_TAMANHO"), QStringLiteral("PARNI_SALTO")},
                                 this);
    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("dbgLayout"));
    m_grade->setModel(m_model);
    m_grade->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_grade->verticalHeader()->hide();
    m_grade->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked);
    connect(m_model, &RecordSetModel::editRefused, this,
            [](const QString& m) { userInterface().showMessage(MessageKind::Error, m); });
    corpo()->addWidget(m_grade, 1);
    m_grade->installEventFilter(this);
    m_grade->setItemDelegate(new DelegateLayout(this, m_grade));

    QPushButton* incluir = adicionarBotao(QStringLiteral("btnIncluir"), QStringLiteral("&Incluir"), [this] { btnIncluirClick(); });
    incluir->setShortcut(QKeySequence(Qt::Key_Insert));
    QPushButton* excluir = adicionarBotao(QStringLiteral("btnExcluir"), QStringLiteral("E&xcluir"), [this] { btnExcluirClick(); });
    excluir->setShortcut(QKeySequence(QStringLiteral("Ctrl+Del")));
    QPushButton* salvar = adicionarBotao(QStringLiteral("btnSalvar"), QStringLiteral("&Salvar"), [this] { btnSalvarClick(); });
    salvar->setShortcut(QKeySequence(QStringLiteral("F2")));
    adicionarBotao(QStringLiteral("btnFechar"), QStringLiteral("&Fechar"), [this] { reject(); });
    // Enter on the column's name adds it, as Insert does.
    TrepPadraoGeral::enterProprio(m_campo);
    TrepPadraoGeral::enterProprio(m_campo->lineEdit());
    connect(m_campo->lineEdit(), &QLineEdit::returnPressed, this, [this] { executar([this] { btnIncluirClick(); }); });
    connect(m_parte, &QComboBox::currentIndexChanged, this, [this] { executar([this] { cbxParteChange(); }); });
    cbxParteChange();
    setTabOrder(m_parte, m_campo);
    setTabOrder(m_campo, m_grade);
    resize(720, 520);
}

TfrmParametroImpressaoNF::~TfrmParametroImpressaoNF() = default;

void TfrmParametroImpressaoNF::cbxParteChange() {
    const int i = m_parte->currentIndex();
    m_layout.mostrarTabela(i >= 0 && i < m_partes.size() ? m_partes[i].tabela : QString());
    carregarCampos();
}

void TfrmParametroImpressaoNF::carregarCampos() {
    const int i = m_parte->currentIndex();
    m_campo->clear();
    if (i >= 0 && i < m_partes.size())
        m_campo->addItems(m_layout.camposLivres(m_partes[i].campos));
}

void TfrmParametroImpressaoNF::btnIncluirClick() {
    confirmarEdicao();
    const int i = m_parte->currentIndex();
    const QString campo = m_campo->currentText().trimmed().toUpper();
    if (i < 0 || !m_partes[i].campos.contains(campo))
        Error(QStringLiteral("Campo %1 não existe em %2.").arg(campo, m_parte->currentText()));
    m_layout.incluir(campo);
    carregarCampos();
    // Straight to the new row's column, to type its position.
    const int linha = m_layout.registros().recNo() - 1;
    m_grade->setFocus();
    m_grade->setCurrentIndex(m_model->index(linha, 2));
}

void TfrmParametroImpressaoNF::btnExcluirClick() {
    confirmarEdicao();
    if (m_layout.registros().isEmpty())
        return;
    const QModelIndex atual = m_grade->currentIndex();
    if (atual.isValid())
        m_layout.registros().setRecNo(atual.row() + 1);
    const QString campo = m_layout.registros().field(QStringLiteral("PARNI_CAMPO")).asString();
    if (!Confirma(QStringLiteral("Retirar o campo %1 do formulário?").arg(campo)))
        return;
    m_layout.excluir();
    carregarCampos();
}

bool TfrmParametroImpressaoNF::btnSalvarClick() {
    confirmarEdicao();
    bool gravou = false;
    executar([&] {
        m_layout.gravar();
        Informacao(QStringLiteral("Formulário da nota fiscal gravado."));
        gravou = true;
    });
    return gravou;
}

// F2 typed in a grid cell does not reach the button's shortcut: the cell
// takes it here and saves, with what is being typed.
bool TfrmParametroImpressaoNF::eventFilter(QObject* watched, QEvent* event) {
    const bool daGrade =
        watched == m_grade || (watched->isWidgetType() && m_grade->isAncestorOf(static_cast<QWidget*>(watched)));
    const bool tipoTecla = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (daGrade && tipoTecla) {
        const auto* tecla = static_cast<QKeyEvent*>(event);
        if (tecla->key() == Qt::Key_F2 && tecla->modifiers() == Qt::NoModifier) {
            if (event->type() == QEvent::ShortcutOverride)
                event->accept(); // the key comes here as a key press
            else
                btnSalvarClick();
            return true;
        }
    }
    return TrepPadraoGeral::eventFilter(watched, event);
}

void TfrmParametroImpressaoNF::reject() {
    confirmarEdicao();
    if (m_layout.registros().hasPendingUpdates() &&
        Confirma(QStringLiteral("Há alterações não gravadas. Deseja gravá-las?")) && !btnSalvarClick())
        return;
    QDialog::reject();
}

} // namespace kvo
