#include "registers/ui/USerie.h"

#include "core/Text.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/UserInterface.h"
#include "registers/ui/CadastroComum.h"

#include <QLineEdit>

namespace kvo {

using namespace cadastro;

TfrmSerie::TfrmSerie(RecordSet& serie, QWidget* parent) : TrepPadraoCadastro(serie, parent) {
    setObjectName(QStringLiteral("frmSerie"));
    setWindowTitle(QStringLiteral("Cadastro de Série"));
    campo(*this, campos(), QStringLiteral("&Série:"), QStringLiteral("CODSERIE"))
        ->setReadOnly(serie.state() != RecordSet::State::Insert);
    campo(*this, campos(), QStringLiteral("&Descrição:"), QStringLiteral("SER_DESCRICAO"));
    lista(*this, campos(), QStringLiteral("&Tipo:"), QStringLiteral("SER_TIPO"),
          {{QStringLiteral("NF-e"), QStringLiteral("NF-e")},
           {QStringLiteral("Formulário"), QStringLiteral("Formulário")},
           {QStringLiteral("Talão"), QStringLiteral("Talão")}});
    campo(*this, campos(), QStringLiteral("Ú&ltimo número usado:"), QStringLiteral("SER_SEQ"));
    campo(*this, campos(), QStringLiteral("Série da &NF-e:"), QStringLiteral("SER_SERIE_NFE"))
        ->setPlaceholderText(QStringLiteral("0 a 999"));
    marcador(*this, campos(), QStringLiteral("&Ativa"), QStringLiteral("SER_ATIVO"));
    resize(460, 260);
}

void TfrmSerie::ValidaDados() {
    RecordSet& rs = registro();
    const QString codigo = texto(rs, QStringLiteral("CODSERIE"));
    if (codigo.isEmpty())
        Error(QStringLiteral("Informe o código da série."));
    const QString tipo = texto(rs, QStringLiteral("SER_TIPO"));
    if (tipo != QLatin1String("NF-e") && tipo != QStringLiteral("Formulário") && tipo != QStringLiteral("Talão"))
        Error(QStringLiteral("Escolha o tipo da série: NF-e, Formulário ou Talão."));
    if (rs.field(QStringLiteral("SER_SEQ")).asInteger() < 0)
        Error(QStringLiteral("O último número usado não pode ser negativo."));
    const Field& seq = rs.field(QStringLiteral("SER_SEQ"));
    if (!seq.oldValue().isNull() && seq.asInteger() < seq.oldValue().toLongLong())
        Error(QStringLiteral("O último número usado não pode diminuir: números já emitidos se repetiriam."));
    const QString serieNFe = texto(rs, QStringLiteral("SER_SERIE_NFE"));
    const bool serieValida = !serieNFe.isEmpty() && OnlyNumber(serieNFe) == serieNFe && serieNFe.toInt() <= 999;
    if (tipo == QLatin1String("NF-e") && !serieValida)
        Error(QStringLiteral("Informe a série da NF-e: um número de 0 a 999."));
    if (rs.state() == RecordSet::State::Insert)
        Libgeral::ValidaCampo(*rs.database(), QStringLiteral("SERIE"), QStringLiteral("CODSERIE"), codigo,
                              QStringLiteral("CODSERIE"), QVariant(), QStringLiteral("A série %1 já está cadastrada.").arg(codigo));
}

TfrmSerie_Pesq::TfrmSerie_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(),
                         QStringLiteral("select CODSERIE, SER_DESCRICAO, SER_TIPO, SER_SEQ, SER_SERIE_NFE, SER_ATIVO from SERIE"),
                         parent) {
    setObjectName(QStringLiteral("frmSerie_Pesq"));
    setWindowTitle(QStringLiteral("Séries"));
    adicionarTipoPesquisa(QStringLiteral("Descrição"), QStringLiteral("SER_DESCRICAO"));
    adicionarTipoPesquisa(QStringLiteral("Série"), QStringLiteral("CODSERIE"));
    adicionarTipoPesquisa(QStringLiteral("Tipo"), QStringLiteral("SER_TIPO"));
    setOrdem(QStringLiteral("CODSERIE"));
    rotularColunas(*this, {{QStringLiteral("CODSERIE"), QStringLiteral("Série")},
                           {QStringLiteral("SER_DESCRICAO"), QStringLiteral("Descrição")},
                           {QStringLiteral("SER_TIPO"), QStringLiteral("Tipo")},
                           {QStringLiteral("SER_SEQ"), QStringLiteral("Último número")},
                           {QStringLiteral("SER_SERIE_NFE"), QStringLiteral("Série NF-e")},
                           {QStringLiteral("SER_ATIVO"), QStringLiteral("Ativa")}});
}

bool TfrmSerie_Pesq::abrirCadastro(Modo modo) {
    const bool novo = modo == Modo::Incluir;
    auto rs = abrirRegistro(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("SERIE"), QStringLiteral("CODSERIE"),
                            novo ? QVariant() : registros().field(QStringLiteral("CODSERIE")).value(), novo);
    if (novo) {
        rs->field(QStringLiteral("SER_TIPO")).setValue(QStringLiteral("NF-e"));
        rs->field(QStringLiteral("SER_SEQ")).setValue(0);
        rs->field(QStringLiteral("SER_ATIVO")).setValue(QStringLiteral("S"));
        rs->field(QStringLiteral("CODEMPRESA")).setValue(1);
        rs->field(QStringLiteral("CODPARGERAL")).setValue(1);
    }
    TfrmSerie tela(*rs, this);
    return mostrarCadastro(tela, modo);
}

void TfrmSerie_Pesq::excluirRegistro() {
    excluirOuDesativar(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("SERIE"), QStringLiteral("CODSERIE"),
                       registros().field(QStringLiteral("CODSERIE")).value(), QStringLiteral("SER_ATIVO"));
}

} // namespace kvo
