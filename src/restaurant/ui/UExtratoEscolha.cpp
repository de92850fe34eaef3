#include "restaurant/ui/UExtratoEscolha.h"

#include "core/Format.h"
#include "framework/ui/UPrintPreview.h"
#include "restaurant/extrato/RExtrato.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace kvo {

namespace {

QLineEdit* caixa(QWidget* pai, const char* nome) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(QString::fromLatin1(nome));
    e->setAlignment(Qt::AlignRight);
    return e;
}

int inteiro(const QLineEdit* e) { return int(RemChrStrToCurr(e->text()).trunc()); }

} // namespace

TfrmExtratoEscolha::TfrmExtratoEscolha(QWidget* parent) : TrepPadraoGeral(parent) {
    setObjectName(QStringLiteral("frmExtratoEscolha"));
    setWindowTitle(QStringLiteral("Escolhas"));
    m_desconto = caixa(this, "edtDesconto");
    m_couvert = caixa(this, "edtQtdeCovert");
    m_pessoas = caixa(this, "edtQtdeDividida");
    m_servico = caixa(this, "edtAcrescimo");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Valor de Desconto....: "), m_desconto);
    m_lblCouvert = new QLabel(QStringLiteral("Quantidade Couvert.:"), this);
    form->addRow(m_lblCouvert, m_couvert);
    auto* pessoas = new QHBoxLayout;
    pessoas->addWidget(m_pessoas);
    pessoas->addWidget(new QLabel(QStringLiteral("Pessoa(s)"), this));
    form->addRow(QStringLiteral("Conta dividida por....:"), pessoas);
    form->addRow(QStringLiteral("% de Serviço............:"), m_servico);
    corpo()->addLayout(form);
    QPushButton* ok = adicionarBotao(QStringLiteral("btnOk"), QStringLiteral("&OK"), [this] { btnOkClick(); });
    ok->setShortcut(QKeySequence(QStringLiteral("F2")));
    adicionarBotao(QStringLiteral("btnCancelar"), QStringLiteral("&Cancelar"), [this] { reject(); });
}

void TfrmExtratoEscolha::carregar(const ValoresEscolha& v, bool mostrarCouvert) {
    m_desconto->setText(formatFloat(u",0.00", v.desconto));
    m_couvert->setText(QString::number(v.couverts));
    m_pessoas->setText(QString::number(v.pessoas));
    m_servico->setText(formatFloat(u",0.00", v.servico));
    m_couvert->setVisible(mostrarCouvert);
    m_lblCouvert->setVisible(mostrarCouvert);
}

Currency TfrmExtratoEscolha::getDesconto() const { return RemChrStrToCurr(m_desconto->text()); }
int TfrmExtratoEscolha::getQtdeCovert() const { return inteiro(m_couvert); }
int TfrmExtratoEscolha::getQtdeDividida() const { return inteiro(m_pessoas); }
Currency TfrmExtratoEscolha::getAcrescimo() const { return RemChrStrToCurr(m_servico->text()); }

void TfrmExtratoEscolha::showEvent(QShowEvent* event) {
    TrepPadraoGeral::showEvent(event);
    m_aceito = false;
    m_desconto->setFocus();
    m_desconto->selectAll();
}

void TfrmExtratoEscolha::btnOkClick() {
    TrelExtrato::validarEscolha(getDesconto()); // a refusal keeps the screen open
    m_aceito = true;
    accept();
}

TelasExtrato::TelasExtrato() {
    setPreviewExtrato(this);
    setEscolhaExtrato(this);
}

TelasExtrato::~TelasExtrato() {
    setPreviewExtrato(nullptr);
    setEscolhaExtrato(nullptr);
}

ResultadoPreview TelasExtrato::mostrar(const QString& titulo, const QStringList& linhas, bool permiteAlterar,
                                       const std::function<void(const QStringList&)>& imprimir) {
    TfrmPrintPreview preview;
    preview.iniciar(titulo, QString());
    preview.setImpressao(imprimir);
    preview.setPermiteAlterar(permiteAlterar);
    for (const QString& l : linhas)
        preview.addLine(l);
    preview.mostrar();
    return {preview.imprimiu(), preview.alterarEscolhas()};
}

bool TelasExtrato::escolher(ValoresEscolha& valores, bool mostrarCouvert) {
    TfrmExtratoEscolha tela;
    tela.carregar(valores, mostrarCouvert);
    tela.exec();
    valores = {tela.getDesconto(), tela.getQtdeCovert(), tela.getQtdeDividida(), tela.getAcrescimo()};
    return tela.aceito();
}

} // namespace kvo
