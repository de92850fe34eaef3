#include "invoice/ui/UNFVendaCanhoto.h"

#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/ui/ComponentesNFVenda.h"

#include <QFormLayout>
#include <QLineEdit>

namespace kvo {

using namespace nfvenda::ui;

TfrmNFVendaCanhoto::TfrmNFVendaCanhoto(QWidget* parent)
    : TrepPadraoCadastro(TdmNFVenda::gerarInstance().cdsNFVenda(), parent) {
    setObjectName(QStringLiteral("frmNFVendaCanhoto"));
    setWindowTitle(QStringLiteral("Movimentação: Nota Fiscal de Venda Canhoto"));
    QFormLayout* f = campos();
    f->addRow(QStringLiteral("Nota Fiscal:"), mostrarCampo(*this, this, QStringLiteral("CODNFVENDA")));
    f->addRow(QStringLiteral("Série:"), mostrarCampo(*this, this, QStringLiteral("CODSERIE")));
    f->addRow(QStringLiteral("Recebido por"), editarCampo(*this, this, QStringLiteral("NFV_RECEB_NOME")));
    f->addRow(QStringLiteral("Identidade"), editarCampo(*this, this, QStringLiteral("NFV_RECEB_RG")));
    f->addRow(QStringLiteral("Dt.  Recebimento"), editarCampo(*this, this, QStringLiteral("NFV_RECEB_DATA")));
    f->addRow(QStringLiteral("Hora"), editarCampo(*this, this, QStringLiteral("NFV_RECEB_HORA")));
    findChild<QLineEdit*>(QStringLiteral("edtNFV_RECEB_DATA"))->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    findChild<QLineEdit*>(QStringLiteral("edtNFV_RECEB_HORA"))->setPlaceholderText(QStringLiteral("hh:mm:ss"));
    resize(420, sizeHint().height());
}

void TfrmNFVendaCanhoto::showEvent(QShowEvent* event) {
    TrepPadraoCadastro::showEvent(event);
    findChild<QWidget*>(QStringLiteral("edtNFV_RECEB_NOME"))->setFocus();
}

// The header alone changed: the invoice's own saving writes it.
void TfrmNFVendaCanhoto::gravar() { TdmNFVenda::gerarInstance().gravarNFVenda(); }

void TfrmNFVendaCanhoto::chamaTela(int numero, const QString& serie, bool editar) {
    TdmNFVenda& dm = TdmNFVenda::gerarInstance();
    if (!dm.abrirNFVenda(numero, serie))
        Error(QStringLiteral("Nota Fiscal (Cód. %1 - Série %2) não encontrada.").arg(numero).arg(serie));
    TfrmNFVendaCanhoto tela;
    if (editar)
        dm.editarNFVenda();
    else
        tela.DeixarReadOnLyWin(true);
    tela.exec();
}

} // namespace kvo
