#include "framework/services/DAcesso.h"
#include "framework/services/DSeguranca.h"
#include "framework/services/Module.h"
#include "framework/ui/UUsuario.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kvo;

namespace {
class UserScreens : public ::testing::Test {
protected:
    void SetUp() override {
        TdmAcesso::gerarInstance().usarConexao(t.db());
        auto& seg = TdmSeguranca::gerarInstance();
        seg.criarGrupo(QStringLiteral("Caixa"));
        seg.criarUsuario(QStringLiteral("Administrador"), QStringLiteral("admin"), {}, true);
        seg.criarUsuario(QStringLiteral("ana"), QStringLiteral("1"), QStringLiteral("Caixa"));
        seg.criarUsuario(QStringLiteral("bruno"), QStringLiteral("2"), QStringLiteral("Caixa"));
        seg.registrarMenu(QStringLiteral("mni_mov_dav"), QStringLiteral("DAV"));
        seg.registrarMenu(QStringLiteral("mni_mov_prevenda"), QStringLiteral("Pré-Venda"));
    }
    template <class W>
    static W* child(QWidget* parent, const char* name) {
        return parent->findChild<W*>(QString::fromLatin1(name));
    }
    test::TestDatabase t;
    Module module;
    test::ScriptedUi ui;
};
} // namespace

TEST_F(UserScreens, SearchFindsByTheChosenColumnAndRefusesEmptySelections) {
    TfrmUsuario_Pesq pesq;
    child<QPushButton>(&pesq, "btnAlterar")->click();
    EXPECT_EQ(ui.lastMessage(), u"Nenhum registro selecionado!");
    pesq.edtPesquisa()->setText(QStringLiteral("AN' or '1'='1"));
    pesq.CarregaDadosCadastro();
    EXPECT_EQ(pesq.registros().recordCount(), 0);
    pesq.edtPesquisa()->setText(QStringLiteral("an"));
    pesq.CarregaDadosCadastro();
    ASSERT_EQ(pesq.registros().recordCount(), 1);
    EXPECT_EQ(pesq.registros().field(QStringLiteral("SEGU_NOME")).asString(), u"ana");
    child<QComboBox>(&pesq, "cbxTipoPesquisa")->setCurrentIndex(1); // by group
    pesq.edtPesquisa()->setText(QStringLiteral("caix"));
    pesq.CarregaDadosCadastro();
    EXPECT_EQ(pesq.registros().recordCount(), 2);
    child<QCheckBox>(&pesq, "chkListarTodos")->setChecked(true);
    EXPECT_EQ(pesq.registros().recordCount(), 3);

    ASSERT_TRUE(pesq.registros().locate(QStringLiteral("SEGU_NOME"), QStringLiteral("Administrador")));
    ui.answerYes();
    child<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(ui.lastMessage(), u"O usuário Administrador não pode ser excluído.");
    ASSERT_TRUE(pesq.registros().locate(QStringLiteral("SEGU_NOME"), QStringLiteral("bruno")));
    ui.answerYes();
    child<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_FALSE(TdmSeguranca::gerarInstance().autenticar(QStringLiteral("bruno"), QStringLiteral("2"))); // deactivated
}

TEST_F(UserScreens, UserRecordChecksNameAndPasswordAndStoresAHash) {
    auto rs = MontarDataSet(t.db(), QStringLiteral("SEG_USUARIO"), QStringLiteral("CODSEGUSUARIO"), 0);
    rs->setKeyFields({QStringLiteral("CODSEGUSUARIO")});
    rs->append();
    rs->field(QStringLiteral("SEGU_ATIVO")).setValue(QStringLiteral("S"));
    rs->field(QStringLiteral("SEGU_SUPERVISOR")).setValue(QStringLiteral("N"));
    TfrmUsuario tela(*rs);
    auto* nome = child<QLineEdit>(&tela, "edtSEGU_NOME");
    nome->setText(QStringLiteral("ANA"));
    Q_EMIT nome->editingFinished();
    child<QLineEdit>(&tela, "edtSenha")->setText(QStringLiteral("abc"));
    child<QLineEdit>(&tela, "edtConfirmacao")->setText(QStringLiteral("abc"));
    child<QPushButton>(&tela, "btnOk")->click();
    EXPECT_EQ(ui.lastMessage(), u"Já existe um usuário chamado ANA.");
    nome->setText(QStringLiteral("carla"));
    Q_EMIT nome->editingFinished();
    child<QLineEdit>(&tela, "edtConfirmacao")->setText(QStringLiteral("abd"));
    child<QPushButton>(&tela, "btnOk")->click();
    EXPECT_EQ(ui.lastMessage(), u"A confirmação não confere com a senha.");
    child<QLineEdit>(&tela, "edtConfirmacao")->setText(QStringLiteral("abc"));
    child<QComboBox>(&tela, "cbxGrupo")->setCurrentIndex(0);
    Q_EMIT child<QComboBox>(&tela, "cbxGrupo")->activated(0);
    child<QPushButton>(&tela, "btnOk")->click();
    EXPECT_EQ(tela.result(), QDialog::Accepted);
    const auto carla = TdmSeguranca::gerarInstance().autenticar(QStringLiteral("carla"), QStringLiteral("abc"));
    ASSERT_TRUE(carla);
    EXPECT_EQ(carla->grupo, TdmSeguranca::gerarInstance().grupo(QStringLiteral("Caixa")));
}

TEST_F(UserScreens, GroupRightsAreSwitchedInTheGroupScreen) {
    TfrmUsuarioGrupo_Pesq pesq;
    pesq.edtPesquisa()->setText(QStringLiteral("Caixa"));
    pesq.CarregaDadosCadastro();
    ASSERT_EQ(pesq.registros().recordCount(), 1);
    bool handled = false;
    auto* timer = new QTimer(&pesq);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [&] {
        QWidget* tela = QApplication::activeModalWidget();
        if (!tela || tela->objectName() != QLatin1String("frmUsuarioGrupo"))
            return;
        timer->stop();
        auto* grade = child<QTableView>(tela, "dbgFilhos");
        const auto* model = grade->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 1).data().toString() == QLatin1String("mni_mov_dav"))
                grade->selectRow(r);
        child<QPushButton>(tela, "btnAlterarFilho")->click();
        child<QPushButton>(tela, "btnOk")->click();
        handled = true;
    });
    timer->start();
    child<QPushButton>(&pesq, "btnAlterar")->click();
    ASSERT_TRUE(handled);
    const int caixa = TdmSeguranca::gerarInstance().grupo(QStringLiteral("Caixa"));
    EXPECT_TRUE(TdmSeguranca::gerarInstance().getAcesso(caixa, QStringLiteral("ana"), QStringLiteral("mni_mov_dav")));
    EXPECT_FALSE(TdmSeguranca::gerarInstance().getAcesso(caixa, QStringLiteral("ana"), QStringLiteral("mni_mov_prevenda")));

    ui.answerYes();
    child<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(ui.lastMessage(), u"Este grupo tem usuários e não pode ser excluído.");
}
