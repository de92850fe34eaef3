#include "registers/ui/UContasFechamentoRapido_Desc.h"

#include "core/Format.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/USenha.h"
#include "framework/ui/UserInterface.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kvo {

TfrmContasFechamentoRapido_Desc::TfrmContasFechamentoRapido_Desc(Currency total, QWidget* parent)
    : TrepPadraoGeral(parent), m_total(total) {
    setObjectName(QStringLiteral("frmContasFechamentoRapido_Desc"));
    setWindowTitle(QStringLiteral("Fechamento"));
    auto* form = new QFormLayout;
    auto* totalLabel = new QLabel(formatFloat(u"R$ ,0.00", total), this);
    m_valor = new QLineEdit(QStringLiteral("0,00"), this);
    m_valor->setObjectName(QStringLiteral("edtDesconto"));
    m_percentual = new QLineEdit(QStringLiteral("0,00"), this);
    m_percentual->setObjectName(QStringLiteral("edtPercentual"));
    m_aPagar = new QLabel(this);
    m_aPagar->setObjectName(QStringLiteral("lblAPagar"));
    QFont f = m_aPagar->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    m_aPagar->setFont(f);
    form->addRow(QStringLiteral("Total:"), totalLabel);
    form->addRow(QStringLiteral("&Desconto (R$):"), m_valor);
    form->addRow(QStringLiteral("Desconto (&%):"), m_percentual);
    form->addRow(QStringLiteral("A pagar:"), m_aPagar);
    corpo()->addLayout(form);
    connect(m_valor, &QLineEdit::textEdited, this, [this] {
        m_desconto = RemChrStrToCurr(m_valor->text());
        atualizar();
    });
    connect(m_percentual, &QLineEdit::textEdited, this, [this] {
        m_desconto = (m_total * RemChrStrToCurr(m_percentual->text()) / Currency(100)).roundTo2Even();
        atualizar();
    });
    adicionarBotao(QStringLiteral("btnOk"), QStringLiteral("&OK"), [this] { btnOkClick(); })->setDefault(true);
    adicionarBotao(QStringLiteral("btnCancelar"), QStringLiteral("&Cancelar"), [this] { reject(); });
    atualizar();
}

void TfrmContasFechamentoRapido_Desc::atualizar() {
    m_aPagar->setText(formatFloat(u"R$ ,0.00", m_total - m_desconto));
    if (!m_valor->hasFocus())
        m_valor->setText(formatFloat(u",0.00", m_desconto));
    if (!m_percentual->hasFocus() && !m_total.isZero())
        m_percentual->setText(formatFloat(u",0.00", m_desconto * Currency(100) / m_total));
}

bool TfrmContasFechamentoRapido_Desc::btnOkClick() {
    if (m_desconto < Currency())
        Error(QStringLiteral("O desconto não pode ser negativo."));
    if (m_desconto >= m_total && !m_desconto.isZero())
        Error(QStringLiteral("Desconto maior ou igual ao total!"));
    if (!m_desconto.isZero() && !m_total.isZero()) {
        const Currency margem = TdmAcesso::gerarInstance().parVenda().field(QStringLiteral("PARV_DESCONTO_1")).asCurrency();
        const Currency percentual = m_desconto * Currency(100) / m_total;
        if (margem > Currency() && percentual > margem && !TfrmSenha::autorizarDesconto())
            Error(QStringLiteral("Desconto acima de %1% precisa da autorização de um supervisor.")
                      .arg(formatFloat(u",0.00", margem)));
    }
    accept();
    return true;
}

Currency TfrmContasFechamentoRapido_Desc::chamaFechamento(Currency total, bool mostrar) {
    if (!mostrar)
        return Currency();
    TfrmContasFechamentoRapido_Desc tela(total);
    return tela.exec() == QDialog::Accepted ? tela.desconto() : Currency();
}

} // namespace kvo
