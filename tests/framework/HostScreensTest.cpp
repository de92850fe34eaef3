#include "framework/db/RecordSetModel.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/DSeguranca.h"
#include "framework/services/Module.h"
#include "framework/ui/UCaixaAbertura.h"
#include "framework/ui/UConfiguracao.h"
#include "framework/ui/USenha.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace kvo;

namespace {
class HostScreens : public ::testing::Test {
protected:
    void SetUp() override {
        TdmAcesso::gerarInstance().usarConexao(t.db());
        auto& cfg = TdmConfiguracao::gerarInstance();
        cfg.verificaConfiguracao(QStringLiteral("Restaurante"), QStringLiteral("REST.TOUCH"), QStringLiteral("TXT"),
                                 QStringLiteral("N"), QStringLiteral("Menu touch"));
        cfg.verificaConfiguracao(QStringLiteral("Restaurante - Impressão"), QStringLiteral("REST.DAR.MCOL"),
                                 QStringLiteral("INT"), QStringLiteral("40"), QStringLiteral("Colunas"));
        cfg.verificaConfiguracao(QStringLiteral("NF VENDA"), QStringLiteral("NFE.2VIA.SENHA"), QStringLiteral("TXT"), {},
                                 QStringLiteral("Senha da 2ª via"));
    }
    test::TestDatabase t;
    Module module;
    test::ScriptedUi ui;
};

int rowOf(RecordSetModel& model, const QString& key) {
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.data(model.index(r, 1), Qt::DisplayRole).toString() == key)
            return r;
    return -1;
}
} // namespace

TEST_F(HostScreens, ConfigurationScreenEditsValuesByGroup) {
    TfrmConfiguracao tela;
    auto* grade = tela.findChild<QTableView*>(QStringLiteral("dbgParametros"));
    auto& model = *qobject_cast<RecordSetModel*>(grade->model());
    EXPECT_EQ(model.rowCount(), 3);
    tela.findChild<QComboBox*>(QStringLiteral("cbxGrupo"))->setCurrentText(QStringLiteral("Restaurante"));
    EXPECT_EQ(model.rowCount(), 1);
    tela.findChild<QComboBox*>(QStringLiteral("cbxGrupo"))->setCurrentIndex(0);

    const int touch = rowOf(model, QStringLiteral("REST.TOUCH"));
    const int colunas = rowOf(model, QStringLiteral("REST.DAR.MCOL"));
    EXPECT_FALSE(model.flags(model.index(touch, 1)) & Qt::ItemIsEditable); // the key itself is not editable
    EXPECT_TRUE(model.setData(model.index(touch, 4), QStringLiteral("S"), Qt::EditRole));
    EXPECT_FALSE(model.setData(model.index(colunas, 4), QStringLiteral("quarenta"), Qt::EditRole));
    EXPECT_EQ(ui.lastMessage(), u"O parâmetro REST.DAR.MCOL aceita somente números inteiros.");
    EXPECT_TRUE(model.setData(model.index(colunas, 4), QStringLiteral("48"), Qt::EditRole));
    EXPECT_EQ(TdmConfiguracao::gerarInstance().getStr(QStringLiteral("REST.TOUCH")), u"N"); // not saved yet
    ASSERT_TRUE(tela.btnSalvarClick());
    EXPECT_EQ(TdmConfiguracao::gerarInstance().getStr(QStringLiteral("REST.TOUCH")), u"S");
    EXPECT_EQ(TdmConfiguracao::gerarInstance().getInt(QStringLiteral("REST.DAR.MCOL"), 0), 48);
}

TEST_F(HostScreens, CashRegisterScreenOpensAndCloses) {
    UsuarioLogado u;
    u.nome = QStringLiteral("Ana");
    TdmAcesso::gerarInstance().setUsuario(u);
    TfrmCaixaAbertura tela;
    EXPECT_EQ(tela.findChild<QLabel*>(QStringLiteral("lblSituacao"))->text(), u"Nenhum caixa aberto.");
    tela.findChild<QLineEdit*>(QStringLiteral("edtValor"))->setText(QStringLiteral("-5"));
    tela.btnAbrirClick();
    EXPECT_EQ(ui.lastMessage(), u"O valor inicial do caixa não pode ser negativo.");
    EXPECT_FALSE(tela.abriu());
    tela.findChild<QLineEdit*>(QStringLiteral("edtValor"))->setText(QStringLiteral("150,00"));
    tela.btnAbrirClick();
    EXPECT_TRUE(tela.abriu());
    const auto aberto = TdmCaixaAbertura::gerarInstance().caixaAberto();
    ASSERT_TRUE(aberto);
    EXPECT_EQ(aberto->valorInicial, Currency(150));
    EXPECT_EQ(aberto->usuario, u"Ana");
    EXPECT_TRUE(tela.findChild<QLabel*>(QStringLiteral("lblSituacao"))->text().contains(QStringLiteral("R$ 150,00")));
    ui.answerYes();
    tela.btnFecharClick();
    EXPECT_FALSE(TdmCaixaAbertura::gerarInstance().caixaAberto());
}

TEST_F(HostScreens, PasswordAuthorisations) {
    EXPECT_TRUE(TfrmSenha::autorizarSenhaParametro(QStringLiteral("NFE.2VIA.SENHA"), QStringLiteral("Senha da 2via de NF-e")));
    TdmConfiguracao::gerarInstance().setValor(QStringLiteral("NFE.2VIA.SENHA"), QStringLiteral("777"));
    ui.answerInput(QStringLiteral("000"));
    EXPECT_FALSE(TfrmSenha::autorizarSenhaParametro(QStringLiteral("NFE.2VIA.SENHA"), QStringLiteral("Senha da 2via de NF-e")));
    ui.answerInput(QStringLiteral("777"));
    EXPECT_TRUE(TfrmSenha::autorizarSenhaParametro(QStringLiteral("NFE.2VIA.SENHA"), QStringLiteral("Senha da 2via de NF-e")));
    EXPECT_EQ(ui.questions().last(), u"Senha da 2via de NF-e");

    TdmSeguranca::gerarInstance().criarUsuario(QStringLiteral("chefe"), QStringLiteral("c1"), {}, true);
    TdmSeguranca::gerarInstance().criarUsuario(QStringLiteral("ze"), QStringLiteral("z1"), {}, false);
    ui.answerInput(QStringLiteral("ze"));
    ui.answerInput(QStringLiteral("z1"));
    EXPECT_FALSE(TfrmSenha::autorizarDesconto());
    EXPECT_EQ(ui.lastMessage(), u"Usuário sem permissão ou senha inválida.");
    ui.answerInput(QStringLiteral("chefe"));
    ui.answerInput(QStringLiteral("c1"));
    EXPECT_TRUE(TfrmSenha::autorizarDesconto());
    ui.answerInput(std::nullopt);
    EXPECT_FALSE(TfrmSenha::autorizarDesconto());
}
