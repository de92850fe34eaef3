#include "invoice/ui/UObsAdd.h"

#include "invoice/ValidacaoObservacaoSimples.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kvo {

namespace {

// The texts as the issuers know them (their spacing included), in screen order.
// clang-format off
const struct {
    int numero;
    const char* texto;
} Opcoes[] = {
    {1, "1. DOCUMENTO EMITIDO POR ME OU EPP OPTANTE PELO SIMPLES NACIONAL;                     NÃO GERA "
         "DIREITO A CRÉDITO FISCAL DE ISS E DE IPI;                                                   PERMITE "
         "O APROVEITAMENTO DO CRÉDITO DE ICMS NO VALOR DE R$ XX,XX;  CORRESPONDENTE À ALÍQUOTA DE XX.XX%, NOS "
         "TERMOS DO ART. 23 DA LC 123/2006"},
    {2, "2. DOCUMENTO EMITIDO POR ME OU EPP OPTANTE PELO SIMPLES NACIONAL;        NÃO GERA DIREITO A CRÉDITO "
         "FISCAL DE IPI."},
    {3, "3. DOCUMENTO EMITIDO POR ME OU EPP OPTANTE PELO SIMPLES NACIONAL;                 NÃO GERA DIREITO "
         "A CRÉDITO FISCAL DE ICMS E DE ISS.;                                                RESOLUÇÃO 10 DO "
         "SIMPLES NACIONAL."},
    {4, "4. DOCUMENTO EMITIDO POR ME OU EPP OPTANTE PELO SIMPLES NACIONAL;      PERMITE O APROVEITAMENTO DO "
         "CRÉDITO DE ICMS NO VALOR DE R$ XX,XX;  CORRESPONDENTE À ALÍQUOTA DE XX.XX%, NOS TERMOS DO ART. 23 "
         "DA LC 123/2006"},
    {7, "7. NENHUMA INFORMAÇÃO DO SIMPLES"},
    {5, "5. PERMITE O APROVEITAMENTO DO CRÉDITO DE ICMS NO VALOR DE R$ XX,XX; CORRESPONDENTE À ALÍQUOTA DE "
         "XX.XX %, NOS TERMOS DO ART. 23 DA LC 123/2006"},
    {6, "6. PERMITE O APROVEITAMENTO DO CRÉDITO DE ICMS NO VALOR DE R$ XX,XX; CORRESPONDENTE À ALÍQUOTA DE "
         "XX.XX    %, NOS TERMOS DO ART. 23 DA LC 123/2006"},
};
// clang-format on

QLineEdit* caixa(QWidget* pai, const char* nome) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(QString::fromLatin1(nome));
    e->setAlignment(Qt::AlignRight);
    return e;
}

} // namespace

TfrmObsAdd::TfrmObsAdd(QWidget* parent) : TrepPadraoGeral(parent) {
    setObjectName(QStringLiteral("frmObsAdd"));
    setWindowTitle(QStringLiteral("Observação Adicional do Simples"));
    resize(760, 520);
    m_opcoes = new QListWidget(this);
    m_opcoes->setObjectName(QStringLiteral("rgOpcoes"));
    m_opcoes->setWordWrap(true);
    m_opcoes->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const auto& o : Opcoes) {
        auto* item = new QListWidgetItem(QString::fromUtf8(o.texto), m_opcoes);
        item->setData(Qt::UserRole, o.numero);
    }
    m_opcoes->installEventFilter(this);
    corpo()->addWidget(m_opcoes, 1);

    m_valor = caixa(this, "edtValor");
    m_aliquota = caixa(this, "edtAliquota");
    // The last box: Enter confirms instead of moving on.
    enterProprio(m_aliquota);
    connect(m_aliquota, &QLineEdit::returnPressed, this, [this] { executar([this] { btnOkClick(); }); });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Valor do crédito (R$):"), m_valor);
    form->addRow(QStringLiteral("Alíquota (%):"), m_aliquota);
    corpo()->addLayout(form);

    QPushButton* ok =
        adicionarBotao(QStringLiteral("btnOk"), QStringLiteral("&OK"), [this] { btnOkClick(); });
    ok->setShortcut(QKeySequence(QStringLiteral("F2")));
    // Enter on an option (or a double click) confirms it.
    connect(m_opcoes, &QListWidget::activated, this, [this] { executar([this] { btnOkClick(); }); });
}

void TfrmObsAdd::preSelecionar(int opcao) {
    m_preSelecionada = opcao;
}

QString TfrmObsAdd::valor() const {
    return m_valor->text();
}
QString TfrmObsAdd::aliquota() const {
    return m_aliquota->text();
}

int TfrmObsAdd::opcaoSelecionada() const {
    const QList<QListWidgetItem*> sel = m_opcoes->selectedItems();
    return sel.isEmpty() ? 0 : sel.first()->data(Qt::UserRole).toInt();
}

void TfrmObsAdd::showEvent(QShowEvent* event) {
    TrepPadraoGeral::showEvent(event);
    m_retorno = 0;
    m_opcoes->clearSelection();
    m_opcoes->setCurrentItem(nullptr);
    for (int i = 0; i < m_opcoes->count(); ++i) {
        if (m_opcoes->item(i)->data(Qt::UserRole).toInt() == m_preSelecionada)
            m_opcoes->setCurrentRow(i);
    }
    m_opcoes->setFocus();
}

bool TfrmObsAdd::eventFilter(QObject* watched, QEvent* event) {
    // The option's number picks it, wherever it is listed.
    if (watched == m_opcoes && event->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(event);
        const int numero = tecla->key() - Qt::Key_0;
        if ((tecla->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && numero >= 1 && numero <= 7) {
            for (int i = 0; i < m_opcoes->count(); ++i) {
                if (m_opcoes->item(i)->data(Qt::UserRole).toInt() == numero)
                    m_opcoes->setCurrentRow(i);
            }
            return true;
        }
    }
    return TrepPadraoGeral::eventFilter(watched, event);
}

void TfrmObsAdd::btnOkClick() {
    const int opcao = opcaoSelecionada();                   // none chosen: closes as none
    validarObservacaoSimples({opcao, valor(), aliquota()}); // a refusal keeps the screen open
    m_retorno = opcao;
    accept();
}

TelaObservacaoSimples::TelaObservacaoSimples() {
    setEscolhaObservacaoSimples(this);
}

TelaObservacaoSimples::~TelaObservacaoSimples() {
    setEscolhaObservacaoSimples(nullptr);
}

std::optional<ObservacaoSimples> TelaObservacaoSimples::escolher(int preSelecionada) {
    TfrmObsAdd tela;
    tela.preSelecionar(preSelecionada);
    tela.exec();
    if (tela.retorno() == 0)
        return std::nullopt;
    return ObservacaoSimples{tela.retorno(), tela.valor(), tela.aliquota()};
}

} // namespace kvo
