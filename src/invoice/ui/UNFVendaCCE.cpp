#include "invoice/ui/UNFVendaCCE.h"

#include "framework/ui/FieldBinder.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/ui/ComponentesNFVenda.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace kvo {

using namespace nfvenda::ui;

TfrmNFVendaCCE::TfrmNFVendaCCE(QWidget* parent)
    : TrepPadraoCadastro(TdmNFVenda::gerarInstance().cdsNFVendaCCE(), parent), m_dm(TdmNFVenda::gerarInstance()) {
    setObjectName(QStringLiteral("frmNFVendaCCE"));
    setWindowTitle(QStringLiteral("Carta de Correção Eletrônica"));
    QFormLayout* f = campos();
    f->addRow(QStringLiteral("Nota Fiscal:"), mostrarCampo(*this, this, QStringLiteral("CODNFVENDA")));
    f->addRow(QStringLiteral("Série:"), mostrarCampo(*this, this, QStringLiteral("CODSERIE")));
    f->addRow(QStringLiteral("Sequencial:"), mostrarCampo(*this, this, QStringLiteral("NFVC_SEQUENCIAL")));
    auto* correcao = new QPlainTextEdit(this);
    correcao->setObjectName(QStringLiteral("memNFVC_CORRECAO"));
    correcao->setTabChangesFocus(true);
    binder().bind(correcao, QStringLiteral("NFVC_CORRECAO"));
    f->addRow(QStringLiteral("&Correção:"), correcao);
    f->addRow(QStringLiteral("Data:"), mostrarCampo(*this, this, QStringLiteral("NFVC_DATA")));
    f->addRow(QStringLiteral("Status:"), mostrarCampo(*this, this, QStringLiteral("NFVC_STATUS")));
    SetGeneretor(QStringLiteral("GEN_NFVENDA_CCE"));
    correcao->setFocus();
    resize(560, 360);
}

void TfrmNFVendaCCE::gravar() {
    if (!m_dm.NFE_EnviarCartaCorrecao())
        throw Abort(); // answered no: the letter stays on the screen
}

void TfrmNFVendaCCE::chamaTela(int numero, const QString& serie) {
    TdmNFVenda& dm = TdmNFVenda::gerarInstance();
    const RecordSet& cab = dm.cdsNFVenda();
    const bool aberta = cab.active() && !cab.isEmpty() && cab.field(QStringLiteral("CODNFVENDA")).asInteger() == numero &&
                        cab.field(QStringLiteral("CODSERIE")).asString().trimmed() == serie.trimmed();
    if (!aberta && !dm.abrirNFVenda(numero, serie))
        Error(QStringLiteral("Nota Fiscal (Cód. %1 - Série %2) não encontrada.").arg(numero).arg(serie));
    dm.novaCCE();
    TfrmNFVendaCCE tela;
    tela.exec();
}

} // namespace kvo
