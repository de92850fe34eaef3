#include "framework/ui/URepPadrao.h"

#include "framework/db/DatabaseError.h"
#include "framework/ui/FieldBinder.h"
#include "framework/ui/UserInterface.h"

#include <QAbstractButton>
#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvo {

TrepPadraoGeral::TrepPadraoGeral(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    m_corpo = new QVBoxLayout;
    layout->addLayout(m_corpo, 1);
    m_botoes = new QHBoxLayout;
    m_botoes->addStretch();
    layout->addLayout(m_botoes);
}

void TrepPadraoGeral::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    for (QLineEdit* e : findChildren<QLineEdit*>())
        e->installEventFilter(this);
}

namespace {
const char* const EnterProprio = "kvoEnterProprio";

bool teclaEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }
} // namespace

void TrepPadraoGeral::enterProprio(QWidget* widget) { widget->setProperty(EnterProprio, true); }

bool TrepPadraoGeral::event(QEvent* event) {
    // The screen's own handlers (show, keys, close) may reach the database.
    bool tratado = false;
    tratarEvento([&] { tratado = QDialog::event(event); });
    return tratado;
}

bool TrepPadraoGeral::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && teclaEnter(static_cast<QKeyEvent*>(event)) &&
        qobject_cast<QLineEdit*>(watched) && !watched->property(EnterProprio).toBool()) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TrepPadraoGeral::keyPressEvent(QKeyEvent* event) {
    // Buttons do not take Enter themselves (none is a default button, so
    // Enter in a box never presses one by surprise): the focused one is pressed.
    if (teclaEnter(event)) {
        QWidget* foco = focusWidget();
        if ((qobject_cast<QPushButton*>(foco) || qobject_cast<QToolButton*>(foco)) && foco->isEnabled()) {
            static_cast<QAbstractButton*>(foco)->click();
            return;
        }
        if (foco && foco->property(EnterProprio).toBool())
            return; // the box did its own thing with it; not the default button too
    }
    QDialog::keyPressEvent(event);
}

void TrepPadraoGeral::confirmarEdicao() {
    QWidget* foco = focusWidget();
    for (QWidget* w = foco; w && w != this; w = w->parentWidget()) {
        QWidget* viewport = w->parentWidget();
        auto* grade = viewport ? qobject_cast<QAbstractItemView*>(viewport->parentWidget()) : nullptr;
        if (grade && grade->viewport() == viewport) {
            if (QAbstractItemDelegate* delegate = grade->itemDelegateForIndex(grade->currentIndex()))
                Q_EMIT delegate->commitData(w); // what the delegate does when the cell is left
            return;
        }
    }
}

QPushButton* TrepPadraoGeral::adicionarBotao(const QString& nome, const QString& titulo, std::function<void()> acao) {
    auto* b = new QPushButton(titulo, this);
    b->setObjectName(nome);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [acao] { executar(acao); });
    m_botoes->addWidget(b);
    return b;
}

void TrepPadraoGeral::executar(const std::function<void()>& handler) { tratarEvento(handler); }

void TrepPadraoGeral::DeixarReadOnLyWin(bool somenteLeitura) {
    m_somenteLeitura = somenteLeitura;
    for (QLineEdit* e : findChildren<QLineEdit*>())
        e->setReadOnly(somenteLeitura);
    for (QPlainTextEdit* e : findChildren<QPlainTextEdit*>())
        e->setReadOnly(somenteLeitura);
    for (QComboBox* c : findChildren<QComboBox*>())
        c->setEnabled(!somenteLeitura);
    for (QCheckBox* c : findChildren<QCheckBox*>())
        c->setEnabled(!somenteLeitura);
    for (QDateEdit* d : findChildren<QDateEdit*>())
        d->setReadOnly(somenteLeitura);
    for (QAbstractItemView* v : findChildren<QAbstractItemView*>())
        v->setEditTriggers(somenteLeitura ? QAbstractItemView::NoEditTriggers : QAbstractItemView::DoubleClicked |
                                                                                 QAbstractItemView::EditKeyPressed);
    if (auto* ok = findChild<QPushButton*>(QStringLiteral("btnOk")))
        ok->setEnabled(!somenteLeitura);
}

TrepPadraoCadastro::TrepPadraoCadastro(RecordSet& rs, QWidget* parent) : TrepPadraoGeral(parent), m_rs(rs) {
    m_binder = new FieldBinder(rs, this);
    m_campos = new QFormLayout;
    corpo()->addLayout(m_campos);
    QPushButton* ok = adicionarBotao(QStringLiteral("btnOk"), QStringLiteral("&OK"), [this] { AplicaDados(); });
    ok->setShortcut(QKeySequence(QStringLiteral("F2")));
    adicionarBotao(QStringLiteral("btnCancelar"), QStringLiteral("&Cancelar"), [this] { btnCancelarClick(); });
}

void TrepPadraoCadastro::SetGeneretor(const QString& generator) {
    m_generator = generator;
    if (m_rs.state() != RecordSet::State::Insert || m_rs.keyFields().isEmpty() || !m_rs.database())
        return;
    Field& key = m_rs.field(m_rs.keyFields().first());
    if (key.isNull())
        key.setValueSilently(m_rs.database()->getGeneretor(generator));
}

QWidget* TrepPadraoCadastro::adicionarCampo(const QString& rotulo, const QString& campo) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("edt") + campo);
    m_campos->addRow(rotulo, edit);
    m_binder->bind(edit, campo);
    return edit;
}

bool TrepPadraoCadastro::AplicaDados() {
    if (somenteLeitura()) {
        accept();
        return true;
    }
    // F2 or a button's shortcut does not take the focus from the box being typed in.
    confirmarEdicao();
    if (!m_binder->confirmar(focusWidget()))
        throw Abort(); // refused: the user was told, the box keeps the focus
    ValidaDados();
    if (!m_generator.isEmpty())
        SetGeneretor(m_generator);
    m_rs.post();
    gravar();
    accept();
    return true;
}

void TrepPadraoCadastro::gravar() { m_rs.applyUpdates(0); }

void TrepPadraoCadastro::btnCancelarClick() {
    m_rs.cancel();
    if (m_rs.hasPendingUpdates())
        m_rs.cancelUpdates();
    QDialog::reject();
}

} // namespace kvo
