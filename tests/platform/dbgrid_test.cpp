#include "dataset.h"
#include "dbgrid.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

qv::TableData table(const QStringList &fields, const std::vector<std::vector<QVariant>> &rows)
{
    qv::TableData t;
    for (const QString &f : fields)
        t.addField({f, qv::FieldType::String, 0});
    for (const auto &r : rows)
        t.appendRow(r);
    return t;
}

QString cell(const qv::DBGrid &g, int row, int col)
{
    return g.proxy()->index(row, col).data().toString();
}

TEST(DBGrid, ColumnsBindByFieldNameNotPosition)
{
    qv::DBGrid g;
    g.addColumn(QStringLiteral("ADI"), QStringLiteral("Açıklama"));
    g.addColumn(QStringLiteral("FiyatBilgisi")); // unbound: the dataset has no such field
    g.addColumn(QStringLiteral("BARKOD"));
    qv::Dataset ds;
    ds.setData(table({QStringLiteral("BARKOD"), QStringLiteral("ADI")},
                     {{QStringLiteral("B1"), QStringLiteral("BALATA")}}));
    g.setDataset(&ds);

    ASSERT_EQ(g.proxy()->columnCount(), 3);
    ASSERT_EQ(g.proxy()->rowCount(), 1);
    EXPECT_EQ(cell(g, 0, 0), QStringLiteral("BALATA"));
    EXPECT_FALSE(g.proxy()->index(0, 1).data().isValid());
    EXPECT_EQ(cell(g, 0, 2), QStringLiteral("B1"));
    EXPECT_EQ(g.proxy()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Açıklama"));
    EXPECT_EQ(g.proxy()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("BARKOD"));

    // A new packet with another field order still lands in the right columns.
    ds.setData(table({QStringLiteral("ADI"), QStringLiteral("X"), QStringLiteral("BARKOD")},
                     {{QStringLiteral("DISK"), QStringLiteral("-"), QStringLiteral("B2")}}));
    EXPECT_EQ(cell(g, 0, 0), QStringLiteral("DISK"));
    EXPECT_EQ(cell(g, 0, 2), QStringLiteral("B2"));

    g.detach();
    EXPECT_EQ(g.proxy()->rowCount(), 0);
    EXPECT_FALSE(g.attached());
}

TEST(DBGrid, HiddenColumnsAndWidthsSurviveReload)
{
    qv::DBGrid g;
    g.resize(600, 300);
    g.addColumn(QStringLiteral("A")).setWidth(120);
    g.addColumn(QStringLiteral("B")).setVisible(false);
    g.addColumn(QStringLiteral("C")).setWidth(90);
    qv::Dataset ds;
    g.setDataset(&ds);
    ds.setData(table({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                     {{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}}));

    EXPECT_EQ(g.view()->columnWidth(0), 120);
    EXPECT_TRUE(g.view()->isColumnHidden(1));
    EXPECT_EQ(g.view()->columnWidth(2), 90);
    EXPECT_EQ(g.visibleColumnWidths(), (QList<int>{120, 90}));

    g.column(1).setWidth(70); // kept while hidden, applied when shown
    g.column(1).setVisible(true);
    EXPECT_FALSE(g.view()->isColumnHidden(1));
    EXPECT_EQ(g.view()->columnWidth(1), 70);
    g.detach();
}

TEST(DBGrid, UpdateLockNests)
{
    qv::DBGrid g;
    g.beginUpdate();
    g.beginUpdate();
    g.endUpdate();
    EXPECT_TRUE(g.updateLocked());
    EXPECT_FALSE(g.view()->updatesEnabled());
    g.endUpdate();
    EXPECT_FALSE(g.updateLocked());
    EXPECT_TRUE(g.view()->updatesEnabled());
    g.endUpdate(); // unbalanced: ignored
    EXPECT_FALSE(g.updateLocked());
}

struct WeightCase
{
    const char *name;
    int gridWidth;
    std::vector<std::pair<int, bool>> columns; // weight, visible
    QList<int> expected;                       // visible widths after the rule
};

class WeightedWidths : public ::testing::TestWithParam<WeightCase>
{
};

TEST_P(WeightedWidths, Rule)
{
    const WeightCase &c = GetParam();
    qv::DBGrid g;
    g.resize(c.gridWidth, 200);
    for (const auto &[weight, visible] : c.columns) {
        qv::DBGridColumn &col = g.addColumn(QStringLiteral("F%1").arg(g.columnCount()));
        col.setWeight(weight);
        col.setVisible(visible);
        col.setWidth(77);
    }
    qv::WeightedColumnWidths(g);
    EXPECT_EQ(g.visibleColumnWidths(), c.expected);
    EXPECT_FALSE(g.updateLocked());
    for (int i = 0; i < g.columnCount(); ++i) {
        if (!g.column(i).visible()) {
            EXPECT_EQ(g.column(i).width(), 77) << "hidden columns keep their width";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    WeightedWidths,
    ::testing::Values(
        // (130 - 30) / 3 = 33.3 -> 33
        WeightCase{"UnitCutTowardsZero", 130, {{1, true}, {2, true}}, {33, 66}},
        WeightCase{"HiddenWeightsDoNotCount", 130, {{1, true}, {5, false}, {3, true}}, {25, 75}},
        WeightCase{"ZeroWeightColumnGetsZero", 230, {{0, true}, {2, true}}, {0, 200}},
        WeightCase{"WeightSumZeroKeepsWidths", 500, {{0, true}, {0, true}, {4, false}}, {77, 77}},
        WeightCase{"UnitBelowOneGivesZero", 32, {{1, true}, {2, true}, {3, true}}, {0, 0, 0}}),
    [](const ::testing::TestParamInfo<WeightCase> &p) { return std::string(p.param.name); });

} // namespace
