#include "framework/ui/FieldBinder.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

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
