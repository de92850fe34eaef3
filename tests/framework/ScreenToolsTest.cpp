#include "core/Paths.h"
#include "framework/services/Module.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/Pesquisa.h"
#include "framework/ui/PesquisaDialogo.h"
#include "framework/ui/UPrintPreview.h"
#include "framework/ui/UTecladoVirtual.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace kvo;

namespace {
class Pesquisa : public ::testing::Test {
protected:
    void SetUp() override {
        t->executeSQL(QStringLiteral("create table PROD (CODPRODUTO integer not null primary key, PRO_DESCRICAO varchar(60), "
                                     "PRO_PRECO01 numeric(18,4), PRO_ATIVO char(1))"));
        t->executeSQL(QStringLiteral("insert into PROD values (7, 'CERVEJA LATA', 6.5, 'S')"));
        t->executeSQL(QStringLiteral("insert into PROD values (8, 'AGUA COM GAS', 3, 'S')"));
        t->executeSQL(QStringLiteral("insert into PROD values (9, 'CERVEJA LONG NECK', 9, 'N')"));
        pesquisa.SetDataSet(QStringLiteral("select CODPRODUTO, PRO_DESCRICAO, PRO_PRECO01 from PROD"));
        pesquisa.SetFieldKey(QStringLiteral("CODPRODUTO"));
        pesquisa.SetSQL4Where(QStringLiteral("PRO_ATIVO = 'S'"));
        pesquisa.setTextoNaoEncontrado(QStringLiteral("Produto não encontrado!"));
        item.addField(QStringLiteral("CODPRODUTO"), FieldType::Integer);
        item.addField(QStringLiteral("DESCRICAO"), FieldType::String, 60);
        item.addField(QStringLiteral("VALOR"), FieldType::Currency);
        item.open();
        item.append();
    }
    test::TestDatabase t;
    test::ScriptedUi ui;
    TwbtPesquisa pesquisa{t.db()};
    RecordSet item;
};
} // namespace

TEST_F(Pesquisa, LocateByCodeAndComplementTheCallersRecord) {
    ASSERT_TRUE(pesquisa.Localizar(7));
    pesquisa.Complementar({&item.field(QStringLiteral("CODPRODUTO")), &item.field(QStringLiteral("DESCRICAO")),
                           &item.field(QStringLiteral("VALOR"))});
    EXPECT_EQ(item.field(QStringLiteral("DESCRICAO")).asString(), u"CERVEJA LATA");
    EXPECT_EQ(item.field(QStringLiteral("VALOR")).asCurrency(), Currency::fromString(u"6.5"));
    ASSERT_TRUE(pesquisa.Localizar(8));
    pesquisa.Complementar({&item.field(QStringLiteral("CODPRODUTO")), &item.field(QStringLiteral("DESCRICAO")),
                           &item.field(QStringLiteral("VALOR"))},
                          1);
    EXPECT_EQ(item.field(QStringLiteral("DESCRICAO")).asString(), u"AGUA COM GAS");
    EXPECT_EQ(item.field(QStringLiteral("VALOR")).asCurrency(), Currency::fromString(u"6.5")); // beyond the last index

    EXPECT_FALSE(pesquisa.Localizar(9)); // outside the fixed condition
    EXPECT_EQ(ui.lastMessage(), u"Produto não encontrado!");
    ui.clear();
    EXPECT_FALSE(pesquisa.Localizar(QStringLiteral("7 or 1=1"), false));
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(pesquisa.pesquisar(QStringLiteral("cerv"))->recordCount(), 1);
    EXPECT_EQ(pesquisa.pesquisar(QStringLiteral("8"))->recordCount(), 1); // a number also matches the key
    EXPECT_EQ(pesquisa.pesquisar(QString())->recordCount(), 2);
}

TEST_F(Pesquisa, InteractiveSearchPutsTheChosenKeyInTheField) {
    instalarDialogoPesquisa();
    bool chose = false;
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [&] {
        QWidget* dlg = QApplication::activeModalWidget();
        if (!dlg)
            return;
        timer->stop();
        auto* texto = dlg->findChild<QLineEdit*>(QStringLiteral("edtPesquisa"));
        texto->setText(QStringLiteral("agua"));
        Q_EMIT texto->returnPressed();
        dlg->findChild<QPushButton*>(QStringLiteral("btnSelecionar"))->click();
        chose = true;
    });
    timer->start();
    EXPECT_TRUE(Libgeral::AbrirPesquisa(item, QStringLiteral("CODPRODUTO"), pesquisa));
    EXPECT_TRUE(chose);
    EXPECT_EQ(item.field(QStringLiteral("CODPRODUTO")).asInteger(), 8);
    delete timer;
}

TEST_F(Pesquisa, EnterInTheTextSearchesAndEnterOnARowChoosesIt) {
    instalarDialogoPesquisa();
    pesquisa.setRotulos({{QStringLiteral("PRO_DESCRICAO"), QStringLiteral("Descrição")}});
    pesquisa.setColunasOcultas({QStringLiteral("pro_preco01")});
    bool buscou = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* dlg = QApplication::activeModalWidget();
        if (!dlg)
            return;
        timer.stop();
        dlg->activateWindow();
        if (!QTest::qWaitForWindowActive(dlg))
            ADD_FAILURE() << "the search dialog did not come to the front";
        auto* texto = dlg->findChild<QLineEdit*>(QStringLiteral("edtPesquisa"));
        auto* grade = dlg->findChild<QTableView*>(QStringLiteral("dbgPesquisa"));
        texto->setFocus();
        QTest::keyClicks(texto, QStringLiteral("agua"));
        QTest::keyClick(texto, Qt::Key_Return);
        buscou = dlg->isVisible() && grade->model()->rowCount() == 1; // searched, nothing chosen yet
        // The heading the search was given; a column without one keeps its name.
        EXPECT_EQ(grade->model()->headerData(1, Qt::Horizontal).toString(), u"Descrição");
        EXPECT_EQ(grade->model()->headerData(0, Qt::Horizontal).toString(), u"CODPRODUTO");
        for (int c = 0; c < grade->model()->columnCount(); ++c) // the hidden column is read, not shown
            EXPECT_EQ(grade->isColumnHidden(c), grade->model()->headerData(c, Qt::Horizontal).toString() == u"PRO_PRECO01")
                << c;
        QTest::keyClick(texto, Qt::Key_Tab);
        EXPECT_EQ(dlg->focusWidget(), grade);
        QTest::keyClick(dlg->focusWidget(), Qt::Key_Return);
        if (dlg->isVisible()) // keep the test from waiting on the dialog
            QTest::keyClick(dlg, Qt::Key_Escape);
    });
    timer.start();
    EXPECT_TRUE(Libgeral::AbrirPesquisa(item, QStringLiteral("CODPRODUTO"), pesquisa));
    EXPECT_TRUE(buscou);
    EXPECT_EQ(item.field(QStringLiteral("CODPRODUTO")).asInteger(), 8);
}

TEST(PrintPreview, PrintsToAFolderWithoutHalfFilesOrToAFile) {
    const QString pasta = test::scratchFolder() + QStringLiteral("/gerenciador/");
    TfrmPrintPreview preview;
    preview.iniciar(QStringLiteral("Extrato"), pasta);
    preview.addLine(QStringLiteral("MESA 12"));
    preview.addLine(QStringLiteral("PÃO DE QUEIJO   4,50"));
    preview.findChild<QPushButton*>(QStringLiteral("btnImprimir"))->click();
    EXPECT_TRUE(preview.imprimiu());
    const QStringList arquivos = QDir(pasta).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(arquivos.size(), 1);
    EXPECT_TRUE(arquivos.first().endsWith(QStringLiteral(".txt")));
    QFile f(pasta + arquivos.first());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("MESA 12\r\nPAO DE QUEIJO   4,50\r\n"));

    test::ScriptedUi ui;
    preview.iniciar(QStringLiteral("Extrato"), test::scratchFolder() + QStringLiteral("/nao/existe/lp0"));
    preview.addLine(QStringLiteral("x"));
    preview.btnImprimirClick();
    EXPECT_FALSE(preview.imprimiu());
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("Não foi possível imprimir em"))) << ui.lastMessage().toStdString();
    preview.btnAlterarClick();
    EXPECT_TRUE(preview.alterarEscolhas());
}

// The screen shows the text without the printer's commands; the printer gets them.
TEST(PrintPreview, TheScreenLeavesOutThePrintersControlSequences) {
    TfrmPrintPreview preview;
    preview.iniciar(QStringLiteral("Extrato"), {});
    preview.addLine(QStringLiteral("\x1b@\x1b!") + QChar(0x10) + QStringLiteral("MESA 1"));
    preview.addLine(QString());
    preview.addLine(QStringLiteral("TOTAL\t13,00") + QChar(0x1d) + QStringLiteral("V") + QChar(0x7f));
    EXPECT_EQ(preview.textoTela(), QStringLiteral("MESA 1\n\nTOTAL\t13,00V"));
    EXPECT_TRUE(preview.linhas().first().startsWith(QChar(0x1b)));
}

TEST(TecladoVirtual, KeysTypeIntoTheFocusedField) {
    QLineEdit edit;
    edit.show();
    QApplication::setActiveWindow(&edit);
    edit.setFocus();
    TfrmTecladoVirtual teclado;
    teclado.show();
    ASSERT_EQ(QApplication::focusWidget(), &edit);
    teclado.findChild<QToolButton*>(QStringLiteral("tecla_A"))->click();
    teclado.findChild<QToolButton*>(QStringLiteral("tecla_Ç"))->click();
    teclado.findChild<QToolButton*>(QStringLiteral("tecla_ "))->click();
    teclado.findChild<QToolButton*>(QStringLiteral("tecla_1"))->click();
    EXPECT_EQ(edit.text(), u"AÇ 1");
    teclado.findChild<QToolButton*>(QStringLiteral("tecla_⌫"))->click();
    EXPECT_EQ(edit.text(), u"AÇ ");
}

TEST(Libgeral, ScreensOnceProcessesAndUniqueValues) {
    Module module;
    int created = 0;
    auto criar = [&] {
        ++created;
        return new QWidget;
    };
    QWidget& a = Libgeral::ChamaForm(QStringLiteral("TfrmX"), criar);
    QWidget& b = Libgeral::ChamaForm(QStringLiteral("TfrmX"), criar);
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(a.isVisible());

    EXPECT_TRUE(Libgeral::CreateProcessSimple(QStringLiteral("true"), true));
    EXPECT_FALSE(Libgeral::CreateProcessSimple(QStringLiteral("false"), true));
    EXPECT_FALSE(Libgeral::CreateProcessSimple(QStringLiteral("/nao/existe/programa"), true));

    test::TestDatabase t;
    test::ScriptedUi ui;
    t->executeSQL(QStringLiteral("create table T (ID integer not null primary key, NOME varchar(20))"));
    t->executeSQL(QStringLiteral("insert into T values (1, 'O''Brien')"));
    EXPECT_NO_THROW(Libgeral::ValidaCampo(t.db(), QStringLiteral("T"), QStringLiteral("NOME"), QStringLiteral("O'Brien"),
                                          QStringLiteral("ID"), 1, QStringLiteral("Já cadastrado!"))); // itself
    EXPECT_THROW(Libgeral::ValidaCampo(t.db(), QStringLiteral("T"), QStringLiteral("NOME"), QStringLiteral("O'Brien"),
                                       QStringLiteral("ID"), 2, QStringLiteral("Já cadastrado!")),
                 Abort);
    EXPECT_EQ(ui.lastMessage(), u"Já cadastrado!");
    QComboBox lista;
    Libgeral::carregarComboBox(&lista, t.db(), QStringLiteral("T"), QStringLiteral("ID"), QStringLiteral("NOME"));
    ASSERT_EQ(lista.count(), 1);
    EXPECT_EQ(lista.itemText(0), u"O'Brien");
    EXPECT_EQ(lista.itemData(0).toInt(), 1);
}
