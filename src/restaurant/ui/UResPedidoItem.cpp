#include "restaurant/ui/UResPedidoItem.h"

#include "framework/db/Database.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/FieldBinder.h"
#include "framework/ui/Pesquisa.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"
#include "restaurant/DResPedido.h"
#include "restaurant/OperacoesPedido.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace kvo {

namespace {
bool ligada(const char* nome) {
    return TdmConfiguracao::gerarInstance().getStr(QString::fromLatin1(nome)) == QLatin1String("S");
}
bool saida(const QKeyEvent* k) {
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Tab;
}
bool enter(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }
} // namespace

TfrmResPedidoItem::TfrmResPedidoItem(TdmResPedido& dm, QWidget* parent) : TrepPadraoGeral(parent), m_dm(dm) {
    setObjectName(QStringLiteral("frmResPedidoItem"));
    setWindowTitle(QStringLiteral("Movimentação: Item do Pedido"));
    RecordSet& i = dm.cdsResPedidoItem();
    m_binder = new FieldBinder(i, this);
    auto* f = new QFormLayout;
    auto campo = [&](const char* nome, const QString& rotulo, bool leitura = false) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("edt") + QString::fromLatin1(nome));
        e->setReadOnly(leitura);
        if (leitura)
            e->setFocusPolicy(Qt::NoFocus);
        m_binder->bind(e, QString::fromLatin1(nome));
        f->addRow(rotulo, e);
        return e;
    };
    m_produto = campo("CODPESQUISA", QStringLiteral("Produto [F3]"));
    m_descricao = campo("PRO_DESCRICAO", QStringLiteral("Descrição"), true);
    m_qtde = campo("PEDI_QTDE", QStringLiteral("Qtde"));
    m_vlrUnit = campo("PEDI_VLRUNIT", QStringLiteral("Vlr.Unitário"), true);
    m_total = campo("PEDI_TOTAL", QStringLiteral("Total do Item"), true);
    m_garcon = campo("CODGARCON", QStringLiteral("Garçon"));
    m_obs = campo("PEDI_OBS", QStringLiteral("Observação"));
    m_estoque = new QLabel(this);
    m_estoque->setObjectName(QStringLiteral("lblPRO_ESTQ_ATUAL"));
    f->addRow(QStringLiteral("Estoque Atual"), m_estoque);
    corpo()->addLayout(f);

    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, [this] { executar([this] { pesquisarProduto(); }); });
    m_balanca = adicionarBotao(QStringLiteral("btnLerBalanca"), QStringLiteral("Ler &Balança"), [] {});
    m_balanca->setEnabled(false); // the scale reading comes with the counter sales
    m_balanca->setToolTip(QStringLiteral("Leitura da balança ainda não disponível nesta tela."));
    QPushButton* ok = adicionarBotao(QStringLiteral("btnOk"), QStringLiteral("&OK"), [this] { btnOkClick(); });
    ok->setShortcut(QKeySequence(QStringLiteral("F2")));
    adicionarBotao(QStringLiteral("btnCancelar"), QStringLiteral("&Cancelar"), [this] { btnCancelarClick(); });
    connect(&i, &RecordSet::rowChanged, this, [this](int) { mostrarEstoque(); });
    resize(520, 340);
}

bool TfrmResPedidoItem::incluir() {
    m_dm.cdsResPedidoItem().append();
    m_binder->refresh();
    mostrarEstoque();
    exec();
    return m_gravado;
}

bool TfrmResPedidoItem::alterar() {
    RecordSet& i = m_dm.cdsResPedidoItem();
    m_ultimoProduto = i.field(QStringLiteral("CODPRODUTO")).asInteger();
    i.edit();
    m_binder->refresh();
    mostrarEstoque();
    exec();
    return m_gravado;
}

void TfrmResPedidoItem::showEvent(QShowEvent* event) {
    TrepPadraoGeral::showEvent(event);
    const bool alteraPreco =
        m_dm.cdsResPedidoItem().field(QStringLiteral("PRO_ALT_PRECO")).asString() == QLatin1String("S");
    m_vlrUnit->setReadOnly(!alteraPreco);
    m_vlrUnit->setFocusPolicy(alteraPreco ? Qt::StrongFocus : Qt::NoFocus);
    m_produto->setFocus();
    m_produto->selectAll();
}

void TfrmResPedidoItem::mostrarEstoque() {
    m_estoque->setText(m_dm.cdsResPedidoItem().field(QStringLiteral("PRO_ESTQ_ATUAL")).displayText());
}

bool TfrmResPedidoItem::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (saida(k) && (watched == m_produto || watched == m_garcon)) {
            bool passou = false;
            executar([&] {
                if (!m_binder->confirmar(static_cast<QWidget*>(watched)))
                    return;
                if (watched == m_produto)
                    produtoEscolhido();
                else
                    conferirGarcon();
                passou = true;
            });
            if (!passou)
                return true; // the user stays in the field
        }
        if (enter(k) && watched == m_qtde && ligada("REST.AGIL")) {
            executar([this] { btnOkClick(); });
            return true;
        }
    }
    return TrepPadraoGeral::eventFilter(watched, event);
}

void TfrmResPedidoItem::pesquisarProduto() {
    RecordSet& i = m_dm.cdsResPedidoItem();
    if (Libgeral::AbrirPesquisa(i, QStringLiteral("CODPESQUISA"), TdmProduto::gerarInstance().pesquisa())) {
        m_binder->refresh();
        produtoEscolhido();
        m_qtde->setFocus();
        m_qtde->selectAll();
    }
}

void TfrmResPedidoItem::produtoEscolhido() {
    RecordSet& i = m_dm.cdsResPedidoItem();
    const qint64 produto = i.field(QStringLiteral("CODPRODUTO")).asInteger();
    if (produto <= 0 || produto == m_ultimoProduto)
        return;
    try {
        recusarProdutoComOpcoes(m_dm, produto, i.field(QStringLiteral("PRO_DESCRICAO")).asString());
    } catch (...) {
        i.field(QStringLiteral("CODPESQUISA")).setValue(QString());
        m_binder->refresh();
        throw;
    }
    m_ultimoProduto = produto;
    if (ligada("REST.OBS.VRP")) {
        const auto obs = InputBox(QStringLiteral("Observação"), QStringLiteral("Digite a observação do item"),
                                  i.field(QStringLiteral("PEDI_OBS")).asString());
        if (obs) {
            i.field(QStringLiteral("PEDI_OBS")).setValue(obs->left(100));
            m_binder->refresh();
        }
    }
    mostrarEstoque();
}

void TfrmResPedidoItem::conferirGarcon() {
    if (m_dm.parametros().selecionarGarcon &&
        m_dm.cdsResPedidoItem().field(QStringLiteral("CODGARCON")).asInteger() <= 0)
        Error(QStringLiteral("Selecione o garçon"));
}

void TfrmResPedidoItem::btnOkClick() {
    QWidget* foco = focusWidget();
    if (foco && !m_binder->confirmar(foco))
        return;
    RecordSet& i = m_dm.cdsResPedidoItem();
    produtoEscolhido();
    conferirGarcon();
    if (i.field(QStringLiteral("PEDI_QTDE")).asCurrency() < Currency())
        Error(QStringLiteral("A quantidade está menor que zero!"));
    m_dm.ResPedidoItem_CalculaTotal();
    if (i.field(QStringLiteral("PEDI_TOTAL")).asCurrency() <= Currency())
        Error(QStringLiteral("O Item precisa ter um total maior que \"Zero\""));
    const int produto = int(i.field(QStringLiteral("CODPRODUTO")).asInteger());
    if (!TdmProduto::gerarInstance().validaEstoque(produto, i.field(QStringLiteral("PEDI_QTDE")).asCurrency()))
        throw Abort(); // the stock check told why
    i.post();
    m_gravado = true;
    accept();
}

void TfrmResPedidoItem::btnCancelarClick() {
    RecordSet& i = m_dm.cdsResPedidoItem();
    if (i.state() != RecordSet::State::Browse)
        i.cancel();
    TrepPadraoGeral::reject();
}

} // namespace kvo
