#include "registers/ui/UVendedor.h"

#include "framework/services/DAcesso.h"
#include "framework/ui/UserInterface.h"
#include "registers/ui/CadastroComum.h"

#include <QLineEdit>

namespace kvo {

using namespace cadastro;

TfrmVendedor::TfrmVendedor(RecordSet& vendedor, QWidget* parent) : TrepPadraoCadastro(vendedor, parent) {
    setObjectName(QStringLiteral("frmVendedor"));
    setWindowTitle(QStringLiteral("Cadastro de Vendedor"));
    campo(*this, campos(), QStringLiteral("Código:"), QStringLiteral("CODVENDEDOR"))->setReadOnly(true);
    campo(*this, campos(), QStringLiteral("&Nome:"), QStringLiteral("VEN_NOME"));
    campo(*this, campos(), QStringLiteral("&Comissão (%):"), QStringLiteral("VEN_COMISSAO"));
    marcador(*this, campos(), QStringLiteral("&Ativo"), QStringLiteral("VEN_ATIVO"));
    vendedor.field(QStringLiteral("VEN_COMISSAO")).onValidate = [](Field& f) {
        if (f.asCurrency() < Currency() || f.asCurrency() > Currency(100))
            Error(QStringLiteral("A comissão deve estar entre 0 e 100%."));
    };
    SetGeneretor(QStringLiteral("GEN_VENDEDOR"));
    resize(420, 200);
}

void TfrmVendedor::ValidaDados() {
    if (texto(registro(), QStringLiteral("VEN_NOME")).isEmpty())
        Error(QStringLiteral("Informe o nome do vendedor."));
}

TfrmVendedor_Pesq::TfrmVendedor_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(),
                         QStringLiteral("select CODVENDEDOR, VEN_NOME, VEN_COMISSAO, VEN_ATIVO from VENDEDOR"), parent) {
    setObjectName(QStringLiteral("frmVendedor_Pesq"));
    setWindowTitle(QStringLiteral("Vendedores"));
    adicionarTipoPesquisa(QStringLiteral("Nome"), QStringLiteral("VEN_NOME"));
    adicionarTipoPesquisa(QStringLiteral("Código"), QStringLiteral("CODVENDEDOR"));
    setOrdem(QStringLiteral("VEN_NOME"));
    rotularColunas(*this,
                   {{QStringLiteral("CODVENDEDOR"), QStringLiteral("Código")},
                    {QStringLiteral("VEN_NOME"), QStringLiteral("Nome")},
                    {QStringLiteral("VEN_COMISSAO"), QStringLiteral("Comissão (%)")},
                    {QStringLiteral("VEN_ATIVO"), QStringLiteral("Ativo")}},
                   {QStringLiteral("VEN_COMISSAO")});
}

bool TfrmVendedor_Pesq::abrirCadastro(Modo modo) {
    const bool novo = modo == Modo::Incluir;
    auto rs = abrirRegistro(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("VENDEDOR"), QStringLiteral("CODVENDEDOR"),
                            novo ? QVariant() : registros().field(QStringLiteral("CODVENDEDOR")).value(), novo);
    if (novo) {
        rs->field(QStringLiteral("VEN_COMISSAO")).setValue(0);
        rs->field(QStringLiteral("VEN_ATIVO")).setValue(QStringLiteral("S"));
    }
    TfrmVendedor tela(*rs, this);
    return mostrarCadastro(tela, modo);
}

void TfrmVendedor_Pesq::excluirRegistro() {
    excluirOuDesativar(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("VENDEDOR"), QStringLiteral("CODVENDEDOR"),
                       registros().field(QStringLiteral("CODVENDEDOR")).value(), QStringLiteral("VEN_ATIVO"));
}

} // namespace kvo
