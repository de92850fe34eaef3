#include "framework/ui/UCaixaAbertura.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/ui/UserInterface.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvo {

TfrmCaixaAbertura::TfrmCaixaAbertura(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCaixaAbertura"));
    setWindowTitle(QStringLiteral("Abertura de Caixa"));
    m_situacao = new QLabel(this);
    m_situacao->setObjectName(QStringLiteral("lblSituacao"));
    QFont f = m_situacao->font();
    f.setBold(true);
    m_situacao->setFont(f);
    m_data = new QDateEdit(Clock::today(), this);
    m_data->setObjectName(QStringLiteral("edtData"));
    m_data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_data->setCalendarPopup(true);
    m_valor = new QLineEdit(QStringLiteral("0,00"), this);
    m_valor->setObjectName(QStringLiteral("edtValor"));
    m_valor->setAlignment(Qt::AlignRight);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Data do movimento:"), m_data);
    form->addRow(QStringLiteral("&Valor (R$):"), m_valor);

    auto* botoes = new QDialogButtonBox(this);
    m_abrir = botoes->addButton(QStringLiteral("&Abrir caixa"), QDialogButtonBox::ActionRole);
    m_abrir->setObjectName(QStringLiteral("btnAbrir"));
    m_fechar = botoes->addButton(QStringLiteral("&Fechar caixa"), QDialogButtonBox::ActionRole);
    m_fechar->setObjectName(QStringLiteral("btnFechar"));
    QPushButton* sair = botoes->addButton(QStringLiteral("&Sair"), QDialogButtonBox::RejectRole);
    connect(m_abrir, &QPushButton::clicked, this, &TfrmCaixaAbertura::btnAbrirClick);
    connect(m_fechar, &QPushButton::clicked, this, &TfrmCaixaAbertura::btnFecharClick);
    connect(sair, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_situacao);
    layout->addLayout(form);
    layout->addWidget(botoes);
    atualizar();
}

void TfrmCaixaAbertura::atualizar() {
    const auto aberto = TdmCaixaAbertura::gerarInstance().caixaAberto();
    if (aberto) {
        m_situacao->setText(QStringLiteral("Caixa aberto em %1 por %2, com %3.")
                                .arg(formatDateTime(u"dd/mm/yyyy", aberto->data), aberto->usuario,
                                     formatFloat(u"R$ ,0.00", aberto->valorInicial)));
        m_data->setDate(aberto->data);
    } else {
        m_situacao->setText(QStringLiteral("Nenhum caixa aberto."));
    }
    m_data->setEnabled(!aberto);
    m_abrir->setEnabled(!aberto);
    m_fechar->setEnabled(aberto.has_value());
}

void TfrmCaixaAbertura::btnAbrirClick() {
    try {
        TdmCaixaAbertura::gerarInstance().abrir(m_data->date(), RemChrStrToCurr(m_valor->text()),
                                                TdmAcesso::gerarInstance().usuario().nome);
        m_abriu = true;
        atualizar();
        accept();
    } catch (const Abort&) {
    } catch (const std::exception& e) {
        userInterface().showMessage(MessageKind::Error, QString::fromUtf8(e.what()));
    }
}

void TfrmCaixaAbertura::btnFecharClick() {
    try {
        if (!Confirma(QStringLiteral("Confirma o fechamento do caixa?"), false))
            return;
        TdmCaixaAbertura::gerarInstance().fechar(RemChrStrToCurr(m_valor->text()));
        atualizar();
    } catch (const Abort&) {
    } catch (const std::exception& e) {
        userInterface().showMessage(MessageKind::Error, QString::fromUtf8(e.what()));
    }
}

bool TfrmCaixaAbertura::chamarTela() {
    TfrmCaixaAbertura tela;
    tela.exec();
    return tela.abriu();
}

} // namespace kvo
