#include "restaurant/ui/UResTransferencia.h"

#include "restaurant/DResPedido.h"
#include "restaurant/OperacoesMesa.h"
#include "restaurant/ui/TelasRestaurante.h"

#include <QFormLayout>
#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kvo {

TfrmResTransferencia::TfrmResTransferencia(TdmResPedido& dm, QWidget* parent) : TrepPadraoGeral(parent), m_dm(dm) {
    setObjectName(QStringLiteral("frmResTransferencia"));
    setWindowTitle(QStringLiteral("Transferência de Mesa"));
    auto* f = new QFormLayout;
    m_origem = new QLineEdit(this);
    m_origem->setObjectName(QStringLiteral("edtMesaOrigem"));
    m_destino = new QLineEdit(this);
    m_destino->setObjectName(QStringLiteral("edtMesaDestino"));
    for (QLineEdit* e : {m_origem, m_destino}) {
        QFont fonte = e->font();
        fonte.setPointSize(fonte.pointSize() * 2);
        e->setFont(fonte);
    }
    f->addRow(QStringLiteral("Mesa Origem:"), m_origem);
    f->addRow(QStringLiteral("Mesa Destino:"), m_destino);
    corpo()->addLayout(f);
    m_alvo = m_origem;

    auto* teclado = new QGridLayout;
    const QStringList digitos = {QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
                                 QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                                 QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("0")};
    for (int n = 0; n < digitos.size(); ++n) {
        auto* b = new QPushButton(digitos[n], this);
        b->setObjectName(QStringLiteral("btnTecla") + digitos[n]);
        b->setFocusPolicy(Qt::NoFocus); // the table box keeps the focus
        b->setMinimumSize(64, 48);
        const QString d = digitos[n];
        connect(b, &QPushButton::clicked, this, [this, d] { tecla(d); });
        teclado->addWidget(b, n / 3, n % 3);
    }
    corpo()->addLayout(teclado);
    QPushButton* ok = adicionarBotao(QStringLiteral("btnOk"), QStringLiteral("&OK"), [this] { btnOkClick(); });
    ok->setShortcut(QKeySequence(QStringLiteral("F2")));
    adicionarBotao(QStringLiteral("btnLimpar"), QStringLiteral("&Limpar"), [this] { btnLimparClick(); });
    adicionarBotao(QStringLiteral("btnCancelar"), QStringLiteral("&Cancelar"), [this] { reject(); });
}

void TfrmResTransferencia::showEvent(QShowEvent* event) {
    TrepPadraoGeral::showEvent(event);
    m_origem->installEventFilter(this);
    m_destino->installEventFilter(this);
    m_origem->setFocus();
}

bool TfrmResTransferencia::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == m_origem || watched == m_destino))
        m_alvo = static_cast<QLineEdit*>(watched);
    return TrepPadraoGeral::eventFilter(watched, event);
}

void TfrmResTransferencia::tecla(const QString& digito) {
    m_alvo->insert(digito);
    m_alvo->setFocus();
}

void TfrmResTransferencia::btnLimparClick() {
    m_origem->clear();
    m_destino->clear();
    m_origem->setFocus();
}

void TfrmResTransferencia::btnOkClick() {
    mesas::transferirMesa(m_dm, m_origem->text(), m_destino->text());
    if (telasRestaurante().atualizarMapa)
        telasRestaurante().atualizarMapa();
    accept();
}

void TfrmResTransferencia::chamaTransferencia() {
    TfrmResTransferencia tela(TdmResPedido::gerarInstance());
    tela.exec();
}

} // namespace kvo
