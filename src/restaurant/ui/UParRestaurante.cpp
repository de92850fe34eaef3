#include "restaurant/ui/UParRestaurante.h"

#include "framework/services/DAcesso.h"
#include "framework/ui/FieldBinder.h"
#include "restaurant/ParametroRestaurante.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace kvo {

TfrmParRestaurante::TfrmParRestaurante(RecordSet& rs, QWidget* parent) : TrepPadraoCadastro(rs, parent) {
    setObjectName(QStringLiteral("frmParRestaurante"));
    setWindowTitle(QStringLiteral("Parametro de Restaurante"));
    adicionarCampo(QStringLiteral("Nome do Controle"), QStringLiteral("PARR_CONTROLE_NOME"));
    adicionarCampo(QStringLiteral("Caminho da Imp. da COZINHA"), QStringLiteral("PARR_IMP_COZINHA"));
    adicionarCampo(QStringLiteral("Caminho da Imp. do BAR"), QStringLiteral("PARR_IMP_BAR"));
    adicionarCampo(QStringLiteral("Caminho da Imp. da PIZZARIA"), QStringLiteral("PARR_IMP_PIZZA"));
    adicionarCampo(QStringLiteral("Caminho da Imp. da CHURRASQUEIRA"), QStringLiteral("PARR_IMP_CHURRASQUEIRA"));
    adicionarCampo(QStringLiteral("Caminho da Imp. do Extrato (e outras impressões)"), QStringLiteral("PARR_IMP_EXTRATO"));
    auto* ajuda = new QLabel(QStringLiteral("1 - Colocar como GERENCIADOR, caso queira usar o gerenciador de extrato\n"
                                            "2 - Colocar como CENTRALIZADOR, para utilizar o novo centralizador de "
                                            "impressão"),
                             this);
    ajuda->setObjectName(QStringLiteral("lblAjudaImpressoras"));
    ajuda->setStyleSheet(QStringLiteral("color: #1f4e8c"));
    campos()->addRow(QString(), ajuda);
    adicionarCampo(QStringLiteral("Valor Couvert"), QStringLiteral("PARR_VLR_COVERT"));
    adicionarCampo(QStringLiteral("Percentual do Serviço"), QStringLiteral("PARR_VLR_SERVICO"));
    const std::pair<const char*, const char*> flags[] = {
        {"PARR_TRABALHAR_REST", "Trabalhar com Restaurante"},
        {"PARR_IMPRIMIR_IEIM", "Imprimir IE e IM no extrato de contas"},
        {"PARR_SELECIONAR_GARCON", "Selecionar sempre o garçon no lançamento"},
        {"PARR_CODPESQ_VENDA", "Cod. de Pesquisa no Extrato"},
        {"PARR_SOMENTE_DURACAO", "Exibir somente duração no extrato"},
    };
    for (const auto& [coluna, rotulo] : flags) {
        auto* c = new QCheckBox(QString::fromUtf8(rotulo), this);
        c->setObjectName(QStringLiteral("chk") + QString::fromLatin1(coluna));
        binder().bind(c, QString::fromLatin1(coluna));
        campos()->addRow(QString(), c);
    }
    resize(640, 520);
}

void TfrmParRestaurante::showEvent(QShowEvent* event) {
    TrepPadraoCadastro::showEvent(event);
    binder().refresh();
    if (auto* primeiro = findChild<QLineEdit*>(QStringLiteral("edtPARR_CONTROLE_NOME"))) {
        primeiro->setFocus();
        primeiro->selectAll();
    }
}

void TfrmParRestaurante::ChamaParametro() {
    TdmAcesso& acesso = TdmAcesso::gerarInstance();
    const auto rs = abrirParRestaurante(acesso.sqlCon());
    TfrmParRestaurante tela(*rs);
    if (tela.exec() == QDialog::Accepted)
        acesso.parRestaurante().refresh();
}

} // namespace kvo
