#include "registers/ui/UFormaPagamento.h"

#include "framework/services/DAcesso.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/UserInterface.h"
#include "registers/ui/CadastroComum.h"

#include <QLineEdit>

namespace kvo {

using namespace cadastro;

TfrmFormaPagamento::TfrmFormaPagamento(RecordSet& forma, QWidget* parent) : TrepPadraoCadastro(forma, parent) {
    setObjectName(QStringLiteral("frmFormaPagamento"));
    setWindowTitle(QStringLiteral("Cadastro de Forma de Pagamento"));
    campo(*this, campos(), QStringLiteral("Código:"), QStringLiteral("CODFORMAPAGAMENTO"))->setReadOnly(true);
    campo(*this, campos(), QStringLiteral("&Descrição:"), QStringLiteral("FPG_DESCRICAO"));
    campo(*this, campos(), QStringLiteral("&Parcelas:"), QStringLiteral("FPG_PARCELAS"));
    campo(*this, campos(), QStringLiteral("Dias até a p&rimeira parcela:"), QStringLiteral("FPG_DIAS_PRIMEIRA"));
    campo(*this, campos(), QStringLiteral("Dias entre as parcelas:"), QStringLiteral("FPG_INTERVALO"));
    listaTabela(*this, campos(), QStringLiteral("&Moeda:"), QStringLiteral("CODMOEDA"), QStringLiteral("MOEDA"),
                QStringLiteral("CODMOEDA"), QStringLiteral("MOE_DESCRICAO"));
    SetGeneretor(QStringLiteral("GEN_FORMAPAGAMENTO"));
    resize(460, 260);
}

void TfrmFormaPagamento::ValidaDados() {
    RecordSet& rs = registro();
    const QString descricao = texto(rs, QStringLiteral("FPG_DESCRICAO"));
    if (descricao.isEmpty())
        Error(QStringLiteral("Informe a descrição da forma de pagamento."));
    const qint64 parcelas = rs.field(QStringLiteral("FPG_PARCELAS")).asInteger();
    if (parcelas < 1)
        Error(QStringLiteral("A forma de pagamento deve ter pelo menos 1 parcela."));
    if (parcelas > 120)
        Error(QStringLiteral("A forma de pagamento pode ter no máximo 120 parcelas."));
    if (rs.field(QStringLiteral("FPG_DIAS_PRIMEIRA")).asInteger() < 0)
        Error(QStringLiteral("Os dias até a primeira parcela não podem ser negativos."));
    if (parcelas > 1 && rs.field(QStringLiteral("FPG_INTERVALO")).asInteger() < 1)
        Error(QStringLiteral("Informe quantos dias há entre as parcelas."));
    Libgeral::ValidaCampo(*rs.database(), QStringLiteral("FORMAPAGAMENTO"), QStringLiteral("FPG_DESCRICAO"), descricao,
                          QStringLiteral("CODFORMAPAGAMENTO"), rs.field(QStringLiteral("CODFORMAPAGAMENTO")).value(),
                          QStringLiteral("Já existe uma forma de pagamento chamada %1.").arg(descricao));
}

TfrmFormaPagamento_Pesq::TfrmFormaPagamento_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(),
                         QStringLiteral("select f.CODFORMAPAGAMENTO, f.FPG_DESCRICAO, f.FPG_PARCELAS, f.FPG_DIAS_PRIMEIRA, "
                                        "f.FPG_INTERVALO, m.MOE_DESCRICAO from FORMAPAGAMENTO f "
                                        "left join MOEDA m on m.CODMOEDA = f.CODMOEDA"),
                         parent) {
    setObjectName(QStringLiteral("frmFormaPagamento_Pesq"));
    setWindowTitle(QStringLiteral("Formas de Pagamento"));
    adicionarTipoPesquisa(QStringLiteral("Descrição"), QStringLiteral("f.FPG_DESCRICAO"));
    adicionarTipoPesquisa(QStringLiteral("Código"), QStringLiteral("f.CODFORMAPAGAMENTO"));
    setOrdem(QStringLiteral("f.FPG_DESCRICAO"));
    rotularColunas(*this, {{QStringLiteral("CODFORMAPAGAMENTO"), QStringLiteral("Código")},
                           {QStringLiteral("FPG_DESCRICAO"), QStringLiteral("Descrição")},
                           {QStringLiteral("FPG_PARCELAS"), QStringLiteral("Parcelas")},
                           {QStringLiteral("FPG_DIAS_PRIMEIRA"), QStringLiteral("1ª parcela (dias)")},
                           {QStringLiteral("FPG_INTERVALO"), QStringLiteral("Intervalo (dias)")},
                           {QStringLiteral("MOE_DESCRICAO"), QStringLiteral("Moeda")}});
}

bool TfrmFormaPagamento_Pesq::abrirCadastro(Modo modo) {
    const bool novo = modo == Modo::Incluir;
    auto rs = abrirRegistro(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("FORMAPAGAMENTO"),
                            QStringLiteral("CODFORMAPAGAMENTO"),
                            novo ? QVariant() : registros().field(QStringLiteral("CODFORMAPAGAMENTO")).value(), novo);
    if (novo) { // cash until told otherwise
        rs->field(QStringLiteral("FPG_PARCELAS")).setValue(1);
        rs->field(QStringLiteral("FPG_DIAS_PRIMEIRA")).setValue(0);
        rs->field(QStringLiteral("FPG_INTERVALO")).setValue(30);
    }
    TfrmFormaPagamento tela(*rs, this);
    return mostrarCadastro(tela, modo);
}

void TfrmFormaPagamento_Pesq::excluirRegistro() {
    excluirOuDesativar(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("FORMAPAGAMENTO"),
                       QStringLiteral("CODFORMAPAGAMENTO"), registros().field(QStringLiteral("CODFORMAPAGAMENTO")).value(),
                       QString());
}

} // namespace kvo
