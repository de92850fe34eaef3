#include "invoice/ui/UNFVendaServico.h"

#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/ui/ComponentesNFVenda.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kvo {

using namespace nfvenda::ui;

TfrmNFVendaServico::TfrmNFVendaServico(QWidget* parent)
    : TrepPadraoDetalhe(TdmNFVenda::gerarInstance().cdsNFVendaServico(), parent), m_dm(TdmNFVenda::gerarInstance()) {
    setObjectName(QStringLiteral("frmNFVendaServico"));
    setWindowTitle(QStringLiteral("Movimentação: Nota Fiscal de Venda Serviço"));
    QFormLayout* f = campos();
    f->addRow(QStringLiteral("&Descrição:"), editarCampo(*this, this, QStringLiteral("NFVS_DESCRICAO")));
    f->addRow(QStringLiteral("&Unidade:"), editarCampo(*this, this, QStringLiteral("NFVS_UNIDADE")));
    f->addRow(QStringLiteral("&Qtde.:"), editarCampo(*this, this, QStringLiteral("NFVS_QTDE")));
    f->addRow(QStringLiteral("&Vlr. Unitário:"), editarCampo(*this, this, QStringLiteral("NFVS_VLR_UNITARIO")));
    f->addRow(QStringLiteral("Total:"), mostrarCampo(*this, this, QStringLiteral("NFVS_TOTAL")));
    auto* cancelar = findChild<QPushButton*>(QStringLiteral("btnCancelar"));
    cancelar->disconnect();
    connect(cancelar, &QPushButton::clicked, this, [this] { reject(); });
    resize(520, sizeHint().height());
}

void TfrmNFVendaServico::ValidaDados() {
    if (registro().field(QStringLiteral("NFVS_DESCRICAO")).asString().trimmed().isEmpty()) {
        findChild<QWidget*>(QStringLiteral("edtNFVS_DESCRICAO"))->setFocus();
        Error(QStringLiteral("Serviço não informado!"));
    }
}

void TfrmNFVendaServico::showEvent(QShowEvent* event) {
    TrepPadraoDetalhe::showEvent(event);
    findChild<QWidget*>(QStringLiteral("edtNFVS_DESCRICAO"))->setFocus();
}

void TfrmNFVendaServico::gravar() { m_dm.gravarServico(); }

void TfrmNFVendaServico::reject() {
    registro().cancel();
    QDialog::reject();
}

} // namespace kvo
