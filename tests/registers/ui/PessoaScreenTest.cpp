#include "core/Clock.h"
#include "registers/ui/UPessoa.h"
#include "TelaTeste.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace kvo;
using test::digitar;
using test::escolher;
using test::filho;

namespace {
class PessoaScreen : public test::TelaCadastroTeste {
protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_TIPO, PES_NOME, PES_CPFCNPJ, PES_TELEFONE, PES_CIDADE) "
                                     "values (1, 'F', 'Maria Souza', '12345678909', '3232-1000', 'Campinas')"));
        t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_TIPO, PES_NOME, PES_CIDADE) "
                                     "values (2, 'J', 'Mercado Bom Preço', 'Santos')"));
        t->executeSQL(QStringLiteral("alter sequence GEN_PESSOA restart with 10"));
    }
    void TearDown() override { Clock::reset(); }
    // The screen as the user gets it: in front, with the keyboard.
    static void mostrar(QWidget& tela) {
        tela.show();
        tela.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&tela));
    }
};
} // namespace

TEST_F(PessoaScreen, RecordRefusesWhatAShopCouldNotInvoiceAndSavesTheRest) {
    auto rs = TfrmPessoa::registroPessoa(t.db(), 0);
    TfrmPessoa tela(*rs);
    EXPECT_EQ(rs->field(QStringLiteral("CODPESSOA")).asInteger(), 11); // taken from the generator at once
    EXPECT_TRUE(filho<QCheckBox>(&tela, "chkPES_CLASS_CLI")->isChecked());
    EXPECT_EQ(clicarOk(&tela), u"Informe o nome da pessoa.");

    digitar(&tela, "edtPES_NOME", QStringLiteral("João da Silva"));
    digitar(&tela, "edtPES_CPFCNPJ", QStringLiteral("123.456.789-08"));
    EXPECT_EQ(clicarOk(&tela), u"CPF inválido: confira os números digitados.");
    digitar(&tela, "edtPES_CPFCNPJ", QStringLiteral("123.456.789-09")); // Maria's, stored as bare digits
    EXPECT_EQ(clicarOk(&tela), u"Este CPF já está cadastrado para Maria Souza.");
    escolher(&tela, "cbxPES_TIPO", QStringLiteral("Pessoa jurídica"));
    digitar(&tela, "edtPES_CPFCNPJ", QStringLiteral("52998224725"));
    EXPECT_EQ(clicarOk(&tela), u"CNPJ inválido: confira os números digitados.");
    digitar(&tela, "edtPES_CPFCNPJ", QStringLiteral("11444777000161"));
    EXPECT_EQ(filho<QLineEdit>(&tela, "edtPES_CPFCNPJ")->text(), u"11.444.777/0001-61");

    escolher(&tela, "cbxPES_CONTRIBUINTE", QStringLiteral("Contribuinte"));
    digitar(&tela, "edtPES_IE", QStringLiteral("isento"));
    EXPECT_EQ(clicarOk(&tela), u"Informe a inscrição estadual do contribuinte do ICMS.");
    digitar(&tela, "edtPES_IE", QStringLiteral("12A"));
    EXPECT_EQ(clicarOk(&tela), u"Inscrição estadual inválida: informe somente os números, ou ISENTO.");
    digitar(&tela, "edtPES_IE", QStringLiteral("244.123.456.119"));

    digitar(&tela, "edtPES_UF", QStringLiteral("xx"));
    EXPECT_EQ(clicarOk(&tela), u"UF inválida: XX. Informe a sigla de um dos 27 estados (EX para o exterior).");
    digitar(&tela, "edtPES_UF", QStringLiteral("EX"));
    EXPECT_TRUE(clicarOk(&tela).startsWith(QStringLiteral("UF inválida: EX."))); // only abroad
    digitar(&tela, "edtPES_UF", QStringLiteral("sp"));
    digitar(&tela, "edtPES_EMAIL", QStringLiteral("joao@exemplo"));
    EXPECT_EQ(clicarOk(&tela), u"E-mail inválido: joao@exemplo.");
    digitar(&tela, "edtPES_EMAIL", QStringLiteral("joao@exemplo.com.br"));
    digitar(&tela, "edtPES_DT_NASCIMENTO", QStringLiteral("07/12/2026"));
    EXPECT_EQ(clicarOk(&tela), u"A data de nascimento não pode ser futura.");
    digitar(&tela, "edtPES_DT_NASCIMENTO", QStringLiteral("15/03/1980"));

    EXPECT_EQ(clicarOk(&tela), QString());
    EXPECT_EQ(tela.result(), QDialog::Accepted);
    auto salvo = t->query(QStringLiteral("select * from PESSOA where CODPESSOA = 11"));
    ASSERT_EQ(salvo->recordCount(), 1);
    EXPECT_EQ(salvo->field(QStringLiteral("PES_TIPO")).asString(), u"J");
    EXPECT_EQ(salvo->field(QStringLiteral("PES_CPFCNPJ")).asString(), u"11.444.777/0001-61");
    EXPECT_EQ(salvo->field(QStringLiteral("PES_IE")).asString(), u"244.123.456.119");
    EXPECT_EQ(salvo->field(QStringLiteral("PES_UF")).asString(), u"SP");
    EXPECT_EQ(salvo->field(QStringLiteral("PES_DT_NASCIMENTO")).asDate(), QDate(1980, 3, 15));
    EXPECT_EQ(salvo->field(QStringLiteral("PES_DATA")).asDate(), QDate(2026, 12, 6));
    EXPECT_EQ(salvo->field(QStringLiteral("PES_CLASS_CLI")).asString(), u"S");
    EXPECT_EQ(salvo->field(QStringLiteral("PES_PAIS")).asString(), u"BRASIL");
}

TEST_F(PessoaScreen, ForeignCustomerAndExemptTaxpayer) {
    auto rs = TfrmPessoa::registroPessoa(t.db(), 0);
    TfrmPessoa tela(*rs);
    digitar(&tela, "edtPES_NOME", QStringLiteral("John Smith"));
    digitar(&tela, "edtPES_PAIS", QStringLiteral("Estados Unidos"));
    digitar(&tela, "edtPES_UF", QStringLiteral("ex"));
    escolher(&tela, "cbxPES_CONTRIBUINTE", QStringLiteral("Contribuinte isento"));
    EXPECT_EQ(clicarOk(&tela), QString());
    EXPECT_EQ(t->scalar(QStringLiteral("select PES_IE from PESSOA where PES_NOME = 'John Smith'")).toString(), u"ISENTO");
    EXPECT_EQ(t->scalar(QStringLiteral("select PES_PAIS from PESSOA where PES_NOME = 'John Smith'")).toString(),
              u"ESTADOS UNIDOS");
}

TEST_F(PessoaScreen, NovoRegistroGivesTheNewCodeAndZeroWhenCancelled) {
    test::QuandoAbrir cancelar(QStringLiteral("frmPessoa"), [](QWidget* tela) {
        digitar(tela, "edtPES_NOME", QStringLiteral("Desistiu"));
        filho<QPushButton>(tela, "btnCancelar")->click();
    });
    EXPECT_EQ(TfrmPessoa::NovoRegistro(), 0);
    ASSERT_TRUE(cancelar.abriu());
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PESSOA")).toInt(), 2);

    test::QuandoAbrir gravar(QStringLiteral("frmPessoa"), [](QWidget* tela) {
        digitar(tela, "edtPES_NOME", QStringLiteral("Cliente do balcão"));
        digitar(tela, "edtPES_TELEFONE", QStringLiteral("99999-0000"));
        filho<QPushButton>(tela, "btnOk")->click();
    });
    const int codigo = TfrmPessoa::NovoRegistro();
    ASSERT_TRUE(gravar.abriu());
    EXPECT_GT(codigo, 2);
    EXPECT_EQ(t->scalar(QStringLiteral("select PES_NOME from PESSOA where CODPESSOA = :C"), {{QStringLiteral("C"), codigo}})
                  .toString(),
              u"Cliente do balcão");

    test::QuandoAbrir alterar(QStringLiteral("frmPessoa"), [](QWidget* tela) {
        digitar(tela, "edtPES_CIDADE", QStringLiteral("Sorocaba"));
        filho<QPushButton>(tela, "btnOk")->click();
    });
    EXPECT_TRUE(TfrmPessoa::AlterarRegistro(codigo));
    EXPECT_EQ(t->scalar(QStringLiteral("select PES_CIDADE from PESSOA where CODPESSOA = :C"), {{QStringLiteral("C"), codigo}})
                  .toString(),
              u"Sorocaba");
}

TEST_F(PessoaScreen, SimplifiedFormShowsOnlyAddressAndContact) {
    auto rs = TfrmPessoa::registroPessoa(t.db(), 1);
    TfrmPessoa tela(*rs);
    ASSERT_EQ(tela.abas()->count(), 3);
    tela.formaSimplificada();
    ASSERT_EQ(tela.abas()->count(), 2);
    EXPECT_EQ(tela.abas()->tabText(0), u"Endereço");
    EXPECT_EQ(tela.abas()->tabText(1), u"Contato");
    EXPECT_EQ(filho<QLineEdit>(&tela, "edtPES_NOME")->text(), u"Maria Souza"); // the name stays above the tabs
}

TEST_F(PessoaScreen, SearchFindsByColumnAndDeactivatesAPersonInUse) {
    t->executeSQL(QStringLiteral("insert into CONTAS (CODCONTA, CODPESSOA, CON_DTVENC, CON_VLRPARCELA, CON_VLRTOTAL, CON_SALDO) "
                                 "values (1, 1, '2026-12-31', 10, 10, 10)"));
    TfrmPessoa_Pesq pesq;
    pesq.edtPesquisa()->setText(QStringLiteral("bom pre"));
    pesq.CarregaDadosCadastro();
    ASSERT_EQ(pesq.registros().recordCount(), 1);
    EXPECT_EQ(pesq.modelo().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), u"Nome");
    escolher(&pesq, "cbxTipoPesquisa", QStringLiteral("Telefone"));
    pesq.edtPesquisa()->setText(QStringLiteral("3232"));
    pesq.CarregaDadosCadastro();
    ASSERT_EQ(pesq.registros().recordCount(), 1);
    EXPECT_EQ(pesq.registros().field(QStringLiteral("PES_NOME")).asString(), u"Maria Souza");

    ui.answerYes();
    filho<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(ui.lastMessage(), u"Este registro está em uso e não pode ser excluído: ele foi desativado.");
    EXPECT_EQ(t->scalar(QStringLiteral("select PES_ATIVO from PESSOA where CODPESSOA = 1")).toString(), u"N");

    escolher(&pesq, "cbxTipoPesquisa", QStringLiteral("Cidade"));
    pesq.edtPesquisa()->setText(QStringLiteral("santos"));
    pesq.CarregaDadosCadastro();
    ui.answerYes();
    filho<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PESSOA where CODPESSOA = 2")).toInt(), 0);
}

TEST_F(PessoaScreen, LapaAndEnterInTheSearchListsThePersonAndEnterOnTheRowOpensIt) {
    t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_TIPO, PES_NOME, PES_BAIRRO, PES_CIDADE, PES_UF) "
                                 "values (3, 'J', 'Associação Cultural Lapa', 'Lapa', 'Rio de Janeiro', 'RJ')"));
    TfrmPessoa_Pesq pesq;
    mostrar(pesq);
    QLineEdit* texto = pesq.edtPesquisa();
    QTest::mouseClick(texto, Qt::LeftButton);
    QTest::keyClicks(texto, QStringLiteral("Lapa"));
    QTest::keyClick(texto, Qt::Key_Return);
    ASSERT_EQ(pesq.registros().recordCount(), 1);
    EXPECT_EQ(pesq.registros().field(QStringLiteral("PES_NOME")).asString(), u"Associação Cultural Lapa");
    EXPECT_EQ(QApplication::focusWidget(), texto); // ready for another search

    auto* grade = filho<QTableView>(&pesq, "dbgPesquisa");
    QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, grade->visualRect(grade->model()->index(0, 1)).center());
    QString aberto;
    test::QuandoAbrir abrir(QStringLiteral("frmPessoa"), [&](QWidget* tela) {
        aberto = filho<QLineEdit>(tela, "edtPES_NOME")->text();
        QTest::keyClick(tela, Qt::Key_Escape);
    });
    QTest::keyClick(grade, Qt::Key_Return);
    EXPECT_TRUE(abrir.abriu());
    EXPECT_EQ(aberto, u"Associação Cultural Lapa");
}

TEST_F(PessoaScreen, F2SavesTheValueStillBeingTyped) {
    auto rs = TfrmPessoa::registroPessoa(t.db(), 1);
    TfrmPessoa tela(*rs);
    mostrar(tela);
    auto* nome = filho<QLineEdit>(&tela, "edtPES_NOME");
    QTest::mouseClick(nome, Qt::LeftButton);
    QTest::keyClick(nome, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(nome, QStringLiteral("Maria Souza Lima"));
    QTest::keyClick(nome, Qt::Key_F2); // confirms without leaving the box
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tela.isVisible(); }, 2000)); // a shortcut presses its button a moment later
    EXPECT_EQ(tela.result(), QDialog::Accepted);
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.lastMessage().toStdString();
    EXPECT_EQ(t->scalar(QStringLiteral("select PES_NOME from PESSOA where CODPESSOA = 1")).toString(), u"Maria Souza Lima");
}

TEST_F(PessoaScreen, F2WithARefusedValueStillBeingTypedKeepsTheScreenOpen) {
    auto rs = TfrmPessoa::registroPessoa(t.db(), 1);
    TfrmPessoa tela(*rs);
    mostrar(tela);
    auto* nascimento = filho<QLineEdit>(&tela, "edtPES_DT_NASCIMENTO");
    QTest::mouseClick(nascimento, Qt::LeftButton);
    QTest::keyClicks(nascimento, QStringLiteral("31/02/1980"));
    QTest::keyClick(nascimento, Qt::Key_F2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ui.messages().isEmpty(); }, 2000));
    EXPECT_TRUE(tela.isVisible());
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("\"31/02/1980\" não é um valor válido"))) << ui.lastMessage().toStdString();
    EXPECT_TRUE(t->scalar(QStringLiteral("select PES_DT_NASCIMENTO from PESSOA where CODPESSOA = 1")).isNull());
    EXPECT_EQ(QApplication::focusWidget(), nascimento);
}
