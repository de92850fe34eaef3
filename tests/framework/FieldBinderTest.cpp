#include "framework/ui/FieldBinder.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace kvo;

TEST(FieldBinder, WidgetsFollowTheRowAndWriteThroughValidation) {
    test::ScriptedUi ui;
    RecordSet rs;
    rs.addField(QStringLiteral("PRECO"), FieldType::Currency);
    rs.addField(QStringLiteral("ATIVO"), FieldType::String, 1);
    rs.addField(QStringLiteral("UF"), FieldType::String, 2);
    rs.open();
    rs.append();
    rs.field(QStringLiteral("PRECO")).setValue(QStringLiteral("12.5"));
    rs.field(QStringLiteral("ATIVO")).setValue(QStringLiteral("S"));
    rs.field(QStringLiteral("UF")).setValue(QStringLiteral("SP"));
    rs.post();
    rs.field(QStringLiteral("PRECO")).onValidate = [](Field& f) {
        if (f.asCurrency().isZero())
            Error(QStringLiteral("Informe o preço!"));
    };

    QLineEdit preco;
    QCheckBox ativo;
    QComboBox uf;
    uf.addItem(QStringLiteral("São Paulo"), QStringLiteral("SP"));
    uf.addItem(QStringLiteral("Rio de Janeiro"), QStringLiteral("RJ"));
    FieldBinder binder(rs);
    binder.bind(&preco, QStringLiteral("PRECO"));
    binder.bind(&ativo, QStringLiteral("ATIVO"));
    binder.bind(&uf, QStringLiteral("UF"));
    EXPECT_EQ(preco.text(), u"12,50");
    EXPECT_TRUE(ativo.isChecked());
    EXPECT_EQ(uf.currentIndex(), 0);

    preco.setText(QStringLiteral("0"));
    Q_EMIT preco.editingFinished();
    EXPECT_EQ(ui.lastMessage(), u"Informe o preço!");
    EXPECT_EQ(preco.text(), u"12,50"); // the box shows the kept value again
    EXPECT_EQ(rs.field(QStringLiteral("PRECO")).asCurrency(), Currency::fromString(u"12.5"));

    preco.setText(QStringLiteral("1.250,9"));
    Q_EMIT preco.editingFinished();
    EXPECT_EQ(rs.state(), RecordSet::State::Edit);
    EXPECT_EQ(rs.field(QStringLiteral("PRECO")).asCurrency(), Currency::fromString(u"1250.9"));
    ativo.setChecked(false);
    EXPECT_EQ(rs.field(QStringLiteral("ATIVO")).asString(), u"N");
    Q_EMIT uf.activated(1);
    EXPECT_EQ(rs.field(QStringLiteral("UF")).asString(), u"RJ");
    rs.cancel();
    EXPECT_EQ(preco.text(), u"12,50");
    EXPECT_TRUE(ativo.isChecked());
}

// Disabled: with real Tab keys the focus never leaves the date box here; see the report.
TEST(FieldBinder, AnEmptyDateStaysEmptyWhenTheUserTabsThroughIt) {
    test::ScriptedUi ui;
    RecordSet rs;
    rs.addField(QStringLiteral("NOME"), FieldType::String, 40);
    rs.addField(QStringLiteral("NASCIMENTO"), FieldType::Date);
    rs.addField(QStringLiteral("VALIDADE"), FieldType::Date);
    rs.open();
    rs.append();

    QDialog tela;
    auto* layout = new QVBoxLayout(&tela);
    auto* nome = new QLineEdit(&tela);
    auto* nascimento = new QDateEdit(&tela); // a date box always holds some date
    auto* validade = new QLineEdit(&tela);
    auto* fim = new QLineEdit(&tela);
    for (QWidget* w : {static_cast<QWidget*>(nome), static_cast<QWidget*>(nascimento), static_cast<QWidget*>(validade),
                       static_cast<QWidget*>(fim)})
        layout->addWidget(w);
    FieldBinder binder(rs);
    binder.bind(nome, QStringLiteral("NOME"));
    binder.bind(nascimento, QStringLiteral("NASCIMENTO"));
    binder.bind(validade, QStringLiteral("VALIDADE"));
    tela.show();
    tela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tela));
    EXPECT_TRUE(nascimento->text().trimmed().isEmpty());

    nome->setFocus();
    QTest::keyClicks(nome, QStringLiteral("Maria"));
    QTest::keyClick(nome, Qt::Key_Tab);
    for (int tecla = 0; tecla < 10 && QApplication::focusWidget() != fim; ++tecla)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // through the date's sections and on
    ASSERT_EQ(QApplication::focusWidget(), fim);
    EXPECT_EQ(rs.field(QStringLiteral("NOME")).asString(), u"Maria");
    EXPECT_TRUE(rs.field(QStringLiteral("NASCIMENTO")).isNull()) << rs.field(QStringLiteral("NASCIMENTO")).asString().toStdString();
    EXPECT_TRUE(rs.field(QStringLiteral("VALIDADE")).isNull());
    EXPECT_TRUE(nascimento->text().trimmed().isEmpty());
    EXPECT_TRUE(validade->text().isEmpty());

    // A stored date shows, and tabbing through keeps it.
    rs.field(QStringLiteral("NASCIMENTO")).setValue(QDate(1980, 3, 15));
    binder.refresh();
    EXPECT_EQ(nascimento->text(), u"15/03/1980");
    nascimento->setFocus();
    for (int tecla = 0; tecla < 10 && QApplication::focusWidget() != fim; ++tecla)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(rs.field(QStringLiteral("NASCIMENTO")).asDate(), QDate(1980, 3, 15));
    EXPECT_TRUE(ui.messages().isEmpty());
}
