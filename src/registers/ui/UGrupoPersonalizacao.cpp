#include "registers/ui/UGrupoPersonalizacao.h"

#include "core/Format.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"
#include "registers/ui/CadastroComum.h"

#include <QLineEdit>

namespace kvo {

using namespace cadastro;

TfrmGrupoPersonalizacao::TfrmGrupoPersonalizacao(RecordSet& grupo, RecordSet& itens, QWidget* parent)
    : TrepPadraoCadastroDetalhe(grupo, itens, parent) {
    setObjectName(QStringLiteral("frmGrupoPersonalizacao"));
    setWindowTitle(QStringLiteral("Cadastro de Grupo de Personalização"));
    SetGeneretor(QStringLiteral("GEN_GRUPO_PERSONALIZACAO"));
    campo(*this, campos(), QStringLiteral("Código:"), QStringLiteral("CODGRUPOPERSONALIZACAO"))->setReadOnly(true);
    campo(*this, campos(), QStringLiteral("&Descrição:"), QStringLiteral("GRPP_DESCRICAO"));
    campo(*this, campos(), QStringLiteral("&Máximo de opções (0 = sem limite):"), QStringLiteral("GRPP_QTDE_MAX"));
    grupo.field(QStringLiteral("GRPP_QTDE_MAX")).onValidate = [](Field& f) {
        if (f.asInteger() < 0)
            Error(QStringLiteral("O máximo de opções não pode ser negativo."));
    };
    itens.field(QStringLiteral("PRO_PRECO01")).setDisplayFormat(QStringLiteral(",0.00"));
    const Opcoes colunas{{QStringLiteral("PRO_CODPESQ_1"), QStringLiteral("Código")},
                         {QStringLiteral("PRO_DESCRICAO"), QStringLiteral("Opção")},
                         {QStringLiteral("PRO_PRECO01"), QStringLiteral("Preço")}};
    QStringList nomes;
    for (const auto& [nome, titulo] : colunas) {
        itens.field(nome).setDisplayLabel(titulo);
        nomes << nome;
    }
    modeloFilhos().setColumns(nomes);
    resize(520, 460);
}

std::unique_ptr<RecordSet> TfrmGrupoPersonalizacao::registroGrupo(Database& db, int codigo) {
    auto rs = abrirRegistro(db, QStringLiteral("GRUPO_PERSONALIZACAO"), QStringLiteral("CODGRUPOPERSONALIZACAO"), codigo,
                            codigo == 0);
    if (codigo == 0)
        rs->field(QStringLiteral("GRPP_QTDE_MAX")).setValue(0);
    return rs;
}

std::unique_ptr<RecordSet> TfrmGrupoPersonalizacao::itensGrupo(Database& db, int codigo) {
    return openEditable(
        db,
        QStringLiteral(
            "select i.CODGRUPOPERSONALIZACAOITEM, i.CODGRUPOPERSONALIZACAO, i.CODPRODUTO, p.PRO_CODPESQ_1, "
            "p.PRO_DESCRICAO, "
            "p.PRO_PRECO01 from GRUPO_PERSONALIZACAO_ITEM i join PRODUTO p on p.CODPRODUTO = i.CODPRODUTO "
            "where i.CODGRUPOPERSONALIZACAO = :G order by p.PRO_DESCRICAO"),
        {{QStringLiteral("G"), codigo}}, QStringLiteral("GRUPO_PERSONALIZACAO_ITEM"),
        QStringLiteral("CODGRUPOPERSONALIZACAOITEM"));
}

void TfrmGrupoPersonalizacao::ValidaDados() {
    RecordSet& rs = registro();
    const QString descricao = texto(rs, QStringLiteral("GRPP_DESCRICAO"));
    if (descricao.isEmpty())
        Error(QStringLiteral("Informe a descrição do grupo."));
    Libgeral::ValidaCampo(*rs.database(), QStringLiteral("GRUPO_PERSONALIZACAO"), QStringLiteral("GRPP_DESCRICAO"), descricao,
                          QStringLiteral("CODGRUPOPERSONALIZACAO"), rs.field(QStringLiteral("CODGRUPOPERSONALIZACAO")).value(),
                          QStringLiteral("Já existe um grupo de personalização com a descrição %1.").arg(descricao));
    if (filhos().isEmpty())
        Error(QStringLiteral("Inclua ao menos um produto como opção do grupo."));
}

void TfrmGrupoPersonalizacao::ChamaFrmFilho(TrepPadraoPesquisa::Modo modo) {
    RecordSet& itens = filhos();
    if (modo == TrepPadraoPesquisa::Modo::Visualizar) {
        Informacao(QStringLiteral("%1\nPreço: %2")
                       .arg(itens.field(QStringLiteral("PRO_DESCRICAO")).asString(),
                            formatFloat(u"R$ ,0.00", itens.field(QStringLiteral("PRO_PRECO01")).asCurrency())));
        return;
    }
    const auto produto = TdmProduto::gerarInstance().pedirProduto(
        modo == TrepPadraoPesquisa::Modo::Incluir ? QStringLiteral("Incluir opção") : QStringLiteral("Trocar opção"));
    if (!produto)
        return;
    const int atual = modo == TrepPadraoPesquisa::Modo::Alterar ? itens.recNo() : 0;
    for (int r = 1; r <= itens.recordCount(); ++r)
        if (r != atual && itens.valueAt(r - 1, itens.field(QStringLiteral("CODPRODUTO")).index()).toLongLong() == produto->codigo)
            Error(QStringLiteral("%1 já é uma opção deste grupo.").arg(produto->descricao));
    const QVariant preco =
        registro().database()->scalar(QStringLiteral("select PRO_PRECO01 from PRODUTO where CODPRODUTO = :P"),
                                      {{QStringLiteral("P"), produto->codigo}});
    if (modo == TrepPadraoPesquisa::Modo::Incluir) {
        itens.append();
        itens.field(QStringLiteral("CODGRUPOPERSONALIZACAOITEM"))
            .setValue(registro().database()->getGeneretor(QStringLiteral("GEN_GRUPO_PERSONALIZACAO_ITEM")));
    } else {
        itens.edit();
    }
    itens.field(QStringLiteral("CODGRUPOPERSONALIZACAO")).setValue(registro().field(QStringLiteral("CODGRUPOPERSONALIZACAO")).value());
    itens.field(QStringLiteral("CODPRODUTO")).setValue(produto->codigo);
    itens.field(QStringLiteral("PRO_CODPESQ_1")).setValueSilently(produto->codpesq);
    itens.field(QStringLiteral("PRO_DESCRICAO")).setValueSilently(produto->descricao);
    itens.field(QStringLiteral("PRO_PRECO01")).setValueSilently(preco);
    itens.post();
}

TfrmGrupoPersonalizacao_Pesq::TfrmGrupoPersonalizacao_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(),
                         QStringLiteral("select g.CODGRUPOPERSONALIZACAO, g.GRPP_DESCRICAO, g.GRPP_QTDE_MAX, "
                                        "(select count(*) from GRUPO_PERSONALIZACAO_ITEM i "
                                        "where i.CODGRUPOPERSONALIZACAO = g.CODGRUPOPERSONALIZACAO) as OPCOES "
                                        "from GRUPO_PERSONALIZACAO g"),
                         parent) {
    setObjectName(QStringLiteral("frmGrupoPersonalizacao_Pesq"));
    setWindowTitle(QStringLiteral("Grupos de Personalização"));
    adicionarTipoPesquisa(QStringLiteral("Descrição"), QStringLiteral("g.GRPP_DESCRICAO"));
    adicionarTipoPesquisa(QStringLiteral("Código"), QStringLiteral("g.CODGRUPOPERSONALIZACAO"));
    setOrdem(QStringLiteral("g.GRPP_DESCRICAO"));
    rotularColunas(*this, {{QStringLiteral("CODGRUPOPERSONALIZACAO"), QStringLiteral("Código")},
                           {QStringLiteral("GRPP_DESCRICAO"), QStringLiteral("Descrição")},
                           {QStringLiteral("GRPP_QTDE_MAX"), QStringLiteral("Máximo")},
                           {QStringLiteral("OPCOES"), QStringLiteral("Opções")}});
}

bool TfrmGrupoPersonalizacao_Pesq::abrirCadastro(Modo modo) {
    Database& db = TdmAcesso::gerarInstance().sqlCon();
    const int codigo =
        modo == Modo::Incluir ? 0 : int(registros().field(QStringLiteral("CODGRUPOPERSONALIZACAO")).asInteger());
    auto grupo = TfrmGrupoPersonalizacao::registroGrupo(db, codigo);
    auto itens = TfrmGrupoPersonalizacao::itensGrupo(db, codigo);
    TfrmGrupoPersonalizacao tela(*grupo, *itens, this);
    return mostrarCadastro(tela, modo);
}

void TfrmGrupoPersonalizacao_Pesq::excluirRegistro() {
    excluirOuDesativar(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("GRUPO_PERSONALIZACAO"),
                       QStringLiteral("CODGRUPOPERSONALIZACAO"), registros().field(QStringLiteral("CODGRUPOPERSONALIZACAO")).value(),
                       QString(), {QStringLiteral("GRUPO_PERSONALIZACAO_ITEM")});
}

} // namespace kvo
