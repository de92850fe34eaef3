#include "restaurant/ui/UResPedido_Escolha.h"

#include "framework/services/DConfiguracao.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"
#include "restaurant/DResPedido.h"
#include "restaurant/OperacoesMesa.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "restaurant/ui/UResPedido.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace kvo {

namespace {
// Shown in the person panel until the user types another one.
const QString kDddPadrao = QStringLiteral("11");

QLineEdit* caixa(QWidget* pai, const char* nome) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(QString::fromLatin1(nome));
    return e;
}
bool saida(const QKeyEvent* k) {
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Tab;
}
} // namespace

TfrmResPedido_Escolha::TfrmResPedido_Escolha(TdmResPedido& dm, const QString& modo, QWidget* parent)
    : TrepPadraoGeral(parent), m_dm(dm), m_modo(modo) {
    setObjectName(QStringLiteral("frmResPedido_Escolha"));
    setWindowTitle(QStringLiteral("Escolha"));
    m_usaGarcon = TdmConfiguracao::gerarInstance().getStr(QStringLiteral("REST.GARCON")) == QLatin1String("S");

    m_pnlGarcon = new QWidget(this);
    m_pnlGarcon->setObjectName(QStringLiteral("pnlGarcon"));
    auto* fg = new QFormLayout(m_pnlGarcon);
    m_garcon = caixa(m_pnlGarcon, "edtCodGarcon");
    m_senha = caixa(m_pnlGarcon, "edtSenha");
    m_senha->setEchoMode(QLineEdit::Password);
    fg->addRow(QStringLiteral("Garçon:"), m_garcon);
    fg->addRow(QStringLiteral("Senha:"), m_senha);
    m_pnlGarcon->setVisible(m_usaGarcon);
    corpo()->addWidget(m_pnlGarcon);

    auto* fm = new QFormLayout;
    m_mesa = caixa(this, "edtMesa");
    QFont grande = m_mesa->font();
    grande.setPointSize(grande.pointSize() * 2);
    m_mesa->setFont(grande);
    fm->addRow(QStringLiteral("Mesa:"), m_mesa);
    corpo()->addLayout(fm);
    if (m_modo == QLatin1String("CobrarEntrada"))
        corpo()->addWidget(montarPessoa());

    auto* rodape = new QLabel(QStringLiteral("[F8] - Alterar Desconto/Serviço/Couvert/Divisão"), this);
    rodape->setObjectName(QStringLiteral("lblF8"));
    corpo()->addWidget(rodape);
    auto* f8 = new QShortcut(QKeySequence(Qt::Key_F8), this);
    connect(f8, &QShortcut::activated, this, [this] { executar([this] { alterarAcrescimo(); }); });

    QPushButton* ok = adicionarBotao(QStringLiteral("btnOk"), QStringLiteral("&OK"), [this] { btnOkClick(); });
    ok->setShortcut(QKeySequence(QStringLiteral("F2")));
    adicionarBotao(QStringLiteral("btnCancelar"), QStringLiteral("&Cancelar"), [this] { reject(); });
    resize(420, m_pnlPessoa ? 460 : 220);
}

QWidget* TfrmResPedido_Escolha::montarPessoa() {
    m_pnlPessoa = new QWidget(this);
    m_pnlPessoa->setObjectName(QStringLiteral("pnlPessoa"));
    auto* f = new QFormLayout(m_pnlPessoa);
    m_ddd = caixa(m_pnlPessoa, "edtDDD");
    m_celular = caixa(m_pnlPessoa, "edtCelular");
    auto* linha = new QHBoxLayout;
    linha->addWidget(m_ddd, 1);
    linha->addWidget(m_celular, 3);
    auto* pesquisar = new QPushButton(QStringLiteral("Pesquisar"), m_pnlPessoa);
    pesquisar->setObjectName(QStringLiteral("btnPesquisar"));
    pesquisar->setAutoDefault(false);
    connect(pesquisar, &QPushButton::clicked, this, [this] { executar([this] { btnPesquisarClick(); }); });
    linha->addWidget(pesquisar);
    f->addRow(QStringLiteral("DDD / Celular:"), linha);
    m_nome = caixa(m_pnlPessoa, "edtNome");
    m_rg = caixa(m_pnlPessoa, "edtRG");
    m_sexo = new QComboBox(m_pnlPessoa);
    m_sexo->setObjectName(QStringLiteral("cbSexo"));
    m_sexo->addItem(QStringLiteral("MASCULINO"), QStringLiteral("M"));
    m_sexo->addItem(QStringLiteral("FEMININO"), QStringLiteral("F"));
    m_nascimento = new QDateEdit(m_pnlPessoa);
    m_nascimento->setObjectName(QStringLiteral("edtNascimento"));
    m_nascimento->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_codPessoa = caixa(m_pnlPessoa, "edtCodPessoa");
    m_codPessoa->setReadOnly(true);
    f->addRow(QStringLiteral("Nome:"), m_nome);
    f->addRow(QStringLiteral("RG:"), m_rg);
    f->addRow(QStringLiteral("Sexo:"), m_sexo);
    f->addRow(QStringLiteral("Nascimento:"), m_nascimento);
    f->addRow(QStringLiteral("Cód. Pessoa:"), m_codPessoa);
    limparPessoa();
    return m_pnlPessoa;
}

void TfrmResPedido_Escolha::limparPessoa() {
    m_ddd->setText(kDddPadrao);
    m_celular->clear();
    m_nome->clear();
    m_rg->clear();
    m_sexo->setCurrentIndex(0);
    m_nascimento->setDate(QDate(2000, 1, 1));
    m_codPessoa->setText(QStringLiteral("0"));
    for (QLineEdit* e : {m_nome, m_rg})
        e->setReadOnly(false);
}

void TfrmResPedido_Escolha::setMesa(int mesa) { m_mesa->setText(mesa > 0 ? QString::number(mesa) : QString()); }

void TfrmResPedido_Escolha::showEvent(QShowEvent* event) {
    TrepPadraoGeral::showEvent(event);
    QLineEdit* primeiro = m_usaGarcon ? m_garcon : m_mesa;
    primeiro->setFocus();
    primeiro->selectAll();
}

bool TfrmResPedido_Escolha::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && saida(static_cast<QKeyEvent*>(event)) &&
        (watched == m_mesa || watched == m_senha)) {
        bool passou = false;
        executar([&] { passou = sairDoCampo(watched); });
        if (!passou) {
            static_cast<QWidget*>(watched)->setFocus();
            return true;
        }
    }
    return TrepPadraoGeral::eventFilter(watched, event);
}

bool TfrmResPedido_Escolha::sairDoCampo(QObject* campo) {
    if (campo == m_senha) {
        garconDigitado();
        return true;
    }
    const int mesa = mesaDigitada();
    if (m_modo == QLatin1String("CobrarEntrada") && mesa >= 1000 && m_dm.pedidoAberto(mesa) > 0) {
        const int codpessoa = m_dm.conexao()
                                  .scalar(QStringLiteral("select CODPESSOA from RES_PEDIDO where CODCONTROLE = :C and "
                                                         "PED_STATUS = 'ABERTO'"),
                                          {{QStringLiteral("C"), mesa}})
                                  .toInt();
        m_codPessoa->setText(QString::number(codpessoa));
        m_nome->setText(m_dm.conexao()
                            .scalar(QStringLiteral("select PES_NOME from PESSOA where CODPESSOA = :P"),
                                    {{QStringLiteral("P"), codpessoa}})
                            .toString());
        for (QLineEdit* e : {m_nome, m_rg})
            e->setReadOnly(true);
        Alerta(QStringLiteral("Mesa/Comanda já existe movimentação!"));
    }
    return true;
}

int TfrmResPedido_Escolha::mesaDigitada() { return mesas::conferirMesa(m_dm, m_mesa->text()); }

int TfrmResPedido_Escolha::garconDigitado() {
    return m_usaGarcon ? mesas::conferirGarcon(m_garcon->text(), m_senha->text()) : 0;
}

void TfrmResPedido_Escolha::btnOkClick() {
    const int garcon = garconDigitado();
    const int mesa = mesaDigitada();
    if (m_modo == QLatin1String("CobrarEntrada")) {
        cobrarEntrada(mesa);
        return;
    }
    const int pedido = mesas::pedidoAbertoAvaliado(m_dm, mesa);
    if (m_modo.isEmpty()) {
        mesas::conferirEntradaLancada(m_dm, mesa);
        abrirPedido(mesa, garcon);
        return;
    }
    if (pedido <= 0)
        Error(QStringLiteral("Mesa não está aberta!"));
    if (m_modo == QLatin1String("Extrato")) {
        m_confirmada = mesa;
        accept();
    } else if (m_modo == QLatin1String("CancelamentoTotal")) {
        if (mesas::cancelarMesa(m_dm, mesa)) {
            m_confirmada = mesa;
            if (telasRestaurante().atualizarMapa)
                telasRestaurante().atualizarMapa();
            accept();
        }
    } else {
        abrirPedido(mesa, garcon);
    }
}

void TfrmResPedido_Escolha::abrirPedido(int mesa, int garcon) {
    m_confirmada = mesa;
    TfrmResPedido tela(m_dm, this);
    const bool fecharEscolha = tela.ChamaFormulario(m_modo, mesa, garcon);
    if (telasRestaurante().atualizarMapa)
        telasRestaurante().atualizarMapa();
    if (fecharEscolha) {
        accept();
        return;
    }
    m_mesa->clear();
    m_senha->clear();
    activateWindow(); // the order screen is gone: the next table is typed here
    (m_usaGarcon ? m_garcon : m_mesa)->setFocus();
}

void TfrmResPedido_Escolha::cobrarEntrada(int mesa) {
    mesas::PessoaEntrada p;
    p.codigo = m_codPessoa->text().toInt();
    p.ddd = m_ddd->text();
    p.celular = m_celular->text();
    p.nome = m_nome->text();
    p.rg = m_rg->text();
    p.sexo = m_sexo->currentData().toString();
    p.nascimento = m_nascimento->date();
    mesas::cobrarEntrada(m_dm, mesa, p);
    m_confirmada = mesa;
    limparPessoa();
    m_mesa->clear();
    m_mesa->setFocus();
}

void TfrmResPedido_Escolha::btnPesquisarClick() {
    const auto p = mesas::pesquisarPessoa(m_dm, m_ddd->text(), m_celular->text());
    if (!p)
        return;
    m_nome->setText(p->nome);
    m_rg->setText(p->rg);
    m_sexo->setCurrentIndex(p->sexo == QLatin1String("M") ? 0 : 1);
    if (p->nascimento.isValid())
        m_nascimento->setDate(p->nascimento);
    m_codPessoa->setText(QString::number(p->codigo));
    m_ddd->setText(p->ddd);
    m_celular->setText(p->celular);
}

void TfrmResPedido_Escolha::alterarAcrescimo() { mesas::alterarAcrescimo(m_dm, mesaDigitada()); }

int TfrmResPedido_Escolha::chamaTela(const QString& modo, int mesa) {
    TfrmResPedido_Escolha tela(TdmResPedido::gerarInstance(), modo);
    tela.setMesa(mesa);
    tela.exec();
    return tela.mesaConfirmada();
}

} // namespace kvo
