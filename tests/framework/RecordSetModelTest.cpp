#include "framework/db/RecordSetModel.h"
#include "support/ScriptedUi.h"

#include <QBrush>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace kvo;

namespace {
void fill(RecordSet& rs) {
    rs.addField(QStringLiteral("NOME"), FieldType::String, 20).setDisplayLabel(QStringLiteral("Nome"));
    rs.addField(QStringLiteral("VALOR"), FieldType::Currency).setDisplayFormat(QStringLiteral("###,##0.00"));
    rs.addField(QStringLiteral("STATUS"), FieldType::String, 10);
    rs.open();
    const char* rows[][3] = {{"Mesa 1", "1234.5", "NORMAL"}, {"Mesa 2", "10", "CANCELADO"}};
    for (auto& r : rows) {
        rs.append();
        rs.field(QStringLiteral("NOME")).setValue(QString::fromLatin1(r[0]));
        rs.field(QStringLiteral("VALOR")).setValue(QString::fromLatin1(r[1]));
        rs.field(QStringLiteral("STATUS")).setValue(QString::fromLatin1(r[2]));
        rs.post();
    }
}
} // namespace

TEST(RecordSetModel, ShowsFormattedValuesColoursAndFollowsChanges) {
    RecordSet rs;
    fill(rs);
    RecordSetModel model(rs, {QStringLiteral("NOME"), QStringLiteral("VALOR")});
    model.setRowForeground([](const RowView& row) -> std::optional<QColor> {
        if (row.value(QStringLiteral("STATUS")).toString() == QStringLiteral("CANCELADO"))
            return QColor(Qt::red);
        return std::nullopt;
    });
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), u"Nome");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), u"1.234,50");
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.data(model.index(1, 0), Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    rs.append();
    rs.field(QStringLiteral("NOME")).setValue(QStringLiteral("Mesa 3"));
    rs.post();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_GE(resets.count(), 1);
}

TEST(RecordSetModel, GridEditsGoThroughTheFieldHooks) {
    RecordSet rs;
    fill(rs);
    rs.field(QStringLiteral("VALOR")).onValidate = [](Field& f) {
        if (f.asCurrency() < Currency())
            throw DatabaseError(QStringLiteral("Valor negativo não permitido"));
    };
    RecordSetModel model(rs, {QStringLiteral("NOME"), QStringLiteral("VALOR")});
    EXPECT_TRUE(model.setData(model.index(1, 1), QStringLiteral("7,25"), Qt::EditRole));
    EXPECT_EQ(rs.recNo(), 2);
    EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), u"7,25");
    EXPECT_FALSE(model.setData(model.index(1, 1), QStringLiteral("-1"), Qt::EditRole));
    EXPECT_EQ(model.lastError(), u"Valor negativo não permitido");
    EXPECT_EQ(rs.field(QStringLiteral("VALOR")).asCurrency(), Currency::fromString(u"7.25"));
}
