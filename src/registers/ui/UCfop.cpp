#include "registers/ui/UCfop.h"

#include "core/Text.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/UserInterface.h"
#include "registers/ui/CadastroComum.h"

#include <QLineEdit>

namespace kvo {

using namespace cadastro;

TfrmCfop::TfrmCfop(RecordSet& cfop, QWidget* parent) : TrepPadraoCadastro(cfop, parent) {
    setObjectName(QStringLiteral("frmCfop"));
    setWindowTitle(QStringLiteral("Cadastro de CFOP"));
    QLineEdit* codigo = campo(*this, campos(), QStringLiteral("&CFOP:"), QStringLiteral("CODCFOP"));
    codigo->setReadOnly(cfop.state() != RecordSet::State::Insert);
    codigo->setPlaceholderText(QStringLiteral("4 dígitos, ex.: 5102"));
    campo(*this, campos(), QStringLiteral("&Descrição:"), QStringLiteral("CFOP_DESCRICAO"));
    campo(*this, campos(), QStringLiteral("C&lassificação:"), QStringLiteral("CFOP_CLASSIFICACAO"));
    lista(*this, campos(), QStringLiteral("&Tipo:"), QStringLiteral("CFOP_TIPO"),
          {{QStringLiteral("S"), QStringLiteral("Saída")}, {QStringLiteral("E"), QStringLiteral("Entrada")}});
    marcador(*this, campos(), QStringLiteral("&Gera contas a receber/pagar"), QStringLiteral("CFOP_GERAFINANCEIRO"));
    // "5.102" is typed as often as "5102"; the register keeps the digits.
    cfop.field(QStringLiteral("CODCFOP")).onChange = [](Field& f) {
        const QString digitos = OnlyNumber(f.asString());
        if (!digitos.isEmpty() && digitos != f.asString())
            f.setValueSilently(digitos);
    };
    resize(480, 240);
}

void TfrmCfop::ValidaDados() {
    RecordSet& rs = registro();
    const QString codigo = texto(rs, QStringLiteral("CODCFOP"));
    if (codigo.size() != 4 || OnlyNumber(codigo) != codigo)
        Error(QStringLiteral("O CFOP deve ter 4 dígitos."));
    if (texto(rs, QStringLiteral("CFOP_DESCRICAO")).isEmpty())
        Error(QStringLiteral("Informe a descrição do CFOP."));
    const QString tipo = texto(rs, QStringLiteral("CFOP_TIPO"));
    const QChar primeiro = codigo.front();
    if (tipo == QLatin1String("E") && (primeiro < u'1' || primeiro > u'3'))
        Error(QStringLiteral("Um CFOP de entrada começa por 1, 2 ou 3."));
    if (tipo == QLatin1String("S") && (primeiro < u'5' || primeiro > u'7'))
        Error(QStringLiteral("Um CFOP de saída começa por 5, 6 ou 7."));
    if (tipo != QLatin1String("E") && tipo != QLatin1String("S"))
        Error(QStringLiteral("Escolha o tipo do CFOP: entrada ou saída."));
    if (rs.state() == RecordSet::State::Insert)
        Libgeral::ValidaCampo(*rs.database(), QStringLiteral("CFOP"), QStringLiteral("CODCFOP"), codigo,
                              QStringLiteral("CODCFOP"), QVariant(), QStringLiteral("O CFOP %1 já está cadastrado.").arg(codigo));
}

TfrmCfop_Pesq::TfrmCfop_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(),
                         QStringLiteral("select CODCFOP, CFOP_DESCRICAO, CFOP_CLASSIFICACAO, CFOP_TIPO, CFOP_GERAFINANCEIRO "
                                        "from CFOP"),
                         parent) {
    setObjectName(QStringLiteral("frmCfop_Pesq"));
    setWindowTitle(QStringLiteral("CFOP"));
    adicionarTipoPesquisa(QStringLiteral("Descrição"), QStringLiteral("CFOP_DESCRICAO"));
    adicionarTipoPesquisa(QStringLiteral("CFOP"), QStringLiteral("CODCFOP"));
    adicionarTipoPesquisa(QStringLiteral("Classificação"), QStringLiteral("CFOP_CLASSIFICACAO"));
    setOrdem(QStringLiteral("CODCFOP"));
    rotularColunas(*this, {{QStringLiteral("CODCFOP"), QStringLiteral("CFOP")},
                           {QStringLiteral("CFOP_DESCRICAO"), QStringLiteral("Descrição")},
                           {QStringLiteral("CFOP_CLASSIFICACAO"), QStringLiteral("Classificação")},
                           {QStringLiteral("CFOP_TIPO"), QStringLiteral("Tipo")},
                           {QStringLiteral("CFOP_GERAFINANCEIRO"), QStringLiteral("Financeiro")}});
}

bool TfrmCfop_Pesq::abrirCadastro(Modo modo) {
    const bool novo = modo == Modo::Incluir;
    auto rs = abrirRegistro(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("CFOP"), QStringLiteral("CODCFOP"),
                            novo ? QVariant() : registros().field(QStringLiteral("CODCFOP")).value(), novo);
    if (novo) {
        rs->field(QStringLiteral("CFOP_TIPO")).setValue(QStringLiteral("S"));
        rs->field(QStringLiteral("CFOP_GERAFINANCEIRO")).setValue(QStringLiteral("S"));
    }
    TfrmCfop tela(*rs, this);
    return mostrarCadastro(tela, modo);
}

void TfrmCfop_Pesq::excluirRegistro() {
    excluirOuDesativar(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("CFOP"), QStringLiteral("CODCFOP"),
                       registros().field(QStringLiteral("CODCFOP")).value(), QString());
}

} // namespace kvo
