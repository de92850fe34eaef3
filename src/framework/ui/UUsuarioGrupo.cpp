#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/UUsuario.h"
#include "framework/ui/UserInterface.h"

namespace kvo {

namespace {

// A group and its rights: the grid lists every menu entry; changing an item
// switches the right on or off.
class TfrmUsuarioGrupo : public TrepPadraoCadastroDetalhe {
public:
    TfrmUsuarioGrupo(RecordSet& grupo, RecordSet& direitos, QWidget* parent) : TrepPadraoCadastroDetalhe(grupo, direitos, parent) {
        setObjectName(QStringLiteral("frmUsuarioGrupo"));
        setWindowTitle(QStringLiteral("Grupo de Usuários"));
        adicionarCampo(QStringLiteral("&Nome do grupo:"), QStringLiteral("SEGG_NOME"));
        modeloFilhos().setColumns({QStringLiteral("SEGM_DESCRICAO"), QStringLiteral("SEGM_NOME"), QStringLiteral("SEGA_ACESSAR")});
        PintarCelulas(modeloFilhos(), [](const RowView& row) -> std::optional<QColor> {
            if (row.value(QStringLiteral("SEGA_ACESSAR")).toString() == QLatin1String("S"))
                return QColor(0xdf, 0xf5, 0xe1);
            return std::nullopt;
        });
        resize(640, 560);
    }

protected:
    void ValidaDados() override {
        RecordSet& rs = registro();
        const QString nome = rs.field(QStringLiteral("SEGG_NOME")).asString().trimmed();
        if (nome.isEmpty())
            Error(QStringLiteral("Informe o nome do grupo."));
        Libgeral::ValidaCampo(*rs.database(), QStringLiteral("SEG_USU_GRUPO"), QStringLiteral("SEGG_NOME"), nome,
                              QStringLiteral("CODSEGUSUGRUPO"), rs.field(QStringLiteral("CODSEGUSUGRUPO")).value(),
                              QStringLiteral("Já existe um grupo chamado %1.").arg(nome));
    }

    void ChamaFrmFilho(TrepPadraoPesquisa::Modo modo) override {
        if (modo == TrepPadraoPesquisa::Modo::Incluir)
            Alerta(QStringLiteral("Os itens de menu são cadastrados pelo próprio sistema."), true);
        if (modo == TrepPadraoPesquisa::Modo::Visualizar || somenteLeitura())
            return;
        RecordSet& d = filhos();
        d.edit();
        Field& f = d.field(QStringLiteral("SEGA_ACESSAR"));
        f.setValue(f.asString() == QLatin1String("S") ? QStringLiteral("N") : QStringLiteral("S"));
        d.post();
    }
};

std::unique_ptr<RecordSet> direitosDoGrupo(Database& db, const QVariant& grupo) {
    auto rs = std::make_unique<RecordSet>(db);
    rs->setCommandText(QStringLiteral("select a.CODSEGACESGRP, a.CODSEGMENU, a.CODSEGUSUGRUPO, a.SEGA_ACESSAR, m.SEGM_NOME, "
                                      "m.SEGM_DESCRICAO from SEG_ACES_GRP a join SEG_MENU m on m.CODSEGMENU = a.CODSEGMENU "
                                      "where a.CODSEGUSUGRUPO = :G order by m.SEGM_DESCRICAO"));
    rs->setParam(QStringLiteral("G"), grupo);
    rs->setUpdateTable(QStringLiteral("SEG_ACES_GRP"));
    rs->setKeyFields({QStringLiteral("CODSEGACESGRP")});
    rs->open();
    rs->field(QStringLiteral("SEGM_DESCRICAO")).setDisplayLabel(QStringLiteral("Menu"));
    rs->field(QStringLiteral("SEGM_NOME")).setDisplayLabel(QStringLiteral("Entrada"));
    rs->field(QStringLiteral("SEGA_ACESSAR")).setDisplayLabel(QStringLiteral("Acessar"));
    return rs;
}

} // namespace

TfrmUsuarioGrupo_Pesq::TfrmUsuarioGrupo_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(),
                         QStringLiteral("select CODSEGUSUGRUPO, SEGG_NOME from SEG_USU_GRUPO"), parent) {
    setObjectName(QStringLiteral("frmUsuarioGrupo_Pesq"));
    setWindowTitle(QStringLiteral("Grupos de Usuário"));
    adicionarTipoPesquisa(QStringLiteral("Nome"), QStringLiteral("SEGG_NOME"));
    adicionarTipoPesquisa(QStringLiteral("Código"), QStringLiteral("CODSEGUSUGRUPO"));
    setOrdem(QStringLiteral("SEGG_NOME"));
}

bool TfrmUsuarioGrupo_Pesq::abrirCadastro(Modo modo) {
    Database& db = TdmAcesso::gerarInstance().sqlCon();
    const bool novo = modo == Modo::Incluir;
    const QVariant codigo = novo ? QVariant(db.getGeneretor(QStringLiteral("GEN_SEG_USU_GRUPO")))
                                 : registros().field(QStringLiteral("CODSEGUSUGRUPO")).value();
    auto grupo = MontarDataSet(db, QStringLiteral("SEG_USU_GRUPO"), QStringLiteral("CODSEGUSUGRUPO"), codigo);
    grupo->setKeyFields({QStringLiteral("CODSEGUSUGRUPO")});
    if (!novo) // every entry gets a row, so the grid shows them all
        db.executeSQL(QStringLiteral("insert into SEG_ACES_GRP (CODSEGACESGRP, CODSEGMENU, CODSEGUSUGRUPO, SEGA_ACESSAR) "
                                     "select gen_id(GEN_SEG_ACES_GRP, 1), m.CODSEGMENU, :G, 'N' from SEG_MENU m "
                                     "where not exists (select 1 from SEG_ACES_GRP a where a.CODSEGMENU = m.CODSEGMENU "
                                     "and a.CODSEGUSUGRUPO = :G2)"),
                      {{QStringLiteral("G"), codigo}, {QStringLiteral("G2"), codigo}});
    auto direitos = direitosDoGrupo(db, codigo);
    if (novo) {
        grupo->append();
        grupo->field(QStringLiteral("CODSEGUSUGRUPO")).setValue(codigo);
        auto menus = db.query(QStringLiteral("select CODSEGMENU, SEGM_NOME, SEGM_DESCRICAO from SEG_MENU order by SEGM_DESCRICAO"));
        for (menus->first(); !menus->eof(); menus->next()) {
            direitos->append();
            direitos->field(QStringLiteral("CODSEGACESGRP")).setValue(db.getGeneretor(QStringLiteral("GEN_SEG_ACES_GRP")));
            direitos->field(QStringLiteral("CODSEGMENU")).setValue(menus->field(0).value());
            direitos->field(QStringLiteral("CODSEGUSUGRUPO")).setValue(codigo);
            direitos->field(QStringLiteral("SEGA_ACESSAR")).setValue(QStringLiteral("N"));
            direitos->field(QStringLiteral("SEGM_NOME")).setValue(menus->field(1).value());
            direitos->field(QStringLiteral("SEGM_DESCRICAO")).setValue(menus->field(2).value());
            direitos->post();
        }
    } else {
        grupo->edit();
    }
    TfrmUsuarioGrupo tela(*grupo, *direitos, this);
    if (modo == Modo::Visualizar)
        tela.DeixarReadOnLyWin();
    return tela.exec() == QDialog::Accepted && modo != Modo::Visualizar;
}

void TfrmUsuarioGrupo_Pesq::excluirRegistro() {
    Database& db = TdmAcesso::gerarInstance().sqlCon();
    const QVariant codigo = registros().field(QStringLiteral("CODSEGUSUGRUPO")).value();
    if (!db.scalar(QStringLiteral("select first 1 1 from SEG_USUARIO where CODSEGUSUGRUPO = :G"), {{QStringLiteral("G"), codigo}})
             .isNull())
        Error(QStringLiteral("Este grupo tem usuários e não pode ser excluído."));
    Transaction tx(db);
    db.executeSQL(QStringLiteral("delete from SEG_ACES_GRP where CODSEGUSUGRUPO = :G"), {{QStringLiteral("G"), codigo}});
    db.executeSQL(QStringLiteral("delete from SEG_USU_GRUPO where CODSEGUSUGRUPO = :G"), {{QStringLiteral("G"), codigo}});
    tx.commit();
}

} // namespace kvo
