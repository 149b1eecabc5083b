#include "dataset.h"
#include "dbgrid.h"
#include "dbgridfooter.h"

#include <QHeaderView>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Rows: ADI (string), MARKA (string), FIYAT (float), DURUM (integer).
qv::TableData stock(const std::vector<std::vector<QVariant>> &rows)
{
    qv::TableData t;
    t.addField({QStringLiteral("ADI"), qv::FieldType::String, 0});
    t.addField({QStringLiteral("MARKA"), qv::FieldType::String, 0});
    t.addField({QStringLiteral("FIYAT"), qv::FieldType::Float, 0});
    t.addField({QStringLiteral("DURUM"), qv::FieldType::Integer, 0});
    for (const auto &r : rows)
        t.appendRow(r);
    return t;
}

std::vector<std::vector<QVariant>> sampleRows()
{
    return {{QStringLiteral("BALATA"), QStringLiteral("BOSCH"), 1000.5, 1},
            {QStringLiteral("DİSK"), QStringLiteral("TRW"), 2000.0, 0},
            {QStringLiteral("BUJİ"), QStringLiteral("BOSCH"), QVariant(), 1},
            {QStringLiteral("İTİCİ"), QStringLiteral("FEBI"), 3.5, 4},
            {QStringLiteral("ıslak"), QStringLiteral("TRW"), 10.0, 7}};
}

QPixmap solid(const QColor &c)
{
    QPixmap pm(12, 12);
    pm.fill(c);
    return pm;
}

class DBGridFeatures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        grid.resize(600, 300);
        grid.addColumn(QStringLiteral("ADI"), QStringLiteral("Açıklama")).setWidth(120);
        grid.addColumn(QStringLiteral("MARKA"), QStringLiteral("Marka")).setWidth(90);
        grid.addColumn(QStringLiteral("FIYAT"), QStringLiteral("Fiyat")).setWidth(90);
        qv::DBGridColumn &durum = grid.addColumn(QStringLiteral("DURUM"), QStringLiteral("Durum"));
        durum.setWidth(60);
        durum.addPicture(1, solid(Qt::green), QStringLiteral("Var"));
        durum.addPicture(0, solid(Qt::red), QStringLiteral("Yok"));
        durum.addPicture(4, solid(Qt::blue), QStringLiteral("Özel Sipariş"));
        ds.setData(stock(sampleRows()));
        grid.setDataset(&ds);
    }
    void TearDown() override
    {
        grid.detach();
        QLocale::setDefault(m_oldLocale);
    }

    qv::DBGridFooter &footer() { return *static_cast<qv::DBGridFooter *>(grid.footer()); }
    QListWidget *listOf(QWidget *popup, const char *name)
    {
        return popup ? popup->findChild<QListWidget *>(QString::fromLatin1(name)) : nullptr;
    }
    static void setChecked(QListWidget *list, const QString &text, bool on)
    {
        const auto items = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text.toStdString();
        items.front()->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }

    qv::Dataset ds;
    qv::DBGrid grid;

private:
    QLocale m_oldLocale;
};

// --- footer ---

struct SummaryCase
{
    const char *name;
    qv::SummaryKind kind;
    QString format;
    QStringList markaFilter; // empty: all rows
    QString expected;
};

class FooterSummary : public DBGridFeatures, public ::testing::WithParamInterface<SummaryCase>
{
};

TEST_P(FooterSummary, OverVisibleRows)
{
    const SummaryCase &c = GetParam();
    grid.column(2).setSummary(c.kind, c.format);
    grid.setColumnFilter(1, c.markaFilter);
    EXPECT_EQ(grid.footerText(2), c.expected);
    EXPECT_EQ(grid.footerText(0), QString()) << "a column without a summary stays empty";
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    FooterSummary,
    ::testing::Values(
        SummaryCase{"CountAllRows", qv::SummaryKind::Count, {}, {}, QStringLiteral("5")},
        SummaryCase{"SumSkipsEmpty", qv::SummaryKind::Sum, {}, {}, QStringLiteral("3.014,00")},
        // (1000.5 + 2000 + 3.5 + 10) / 4, the empty value not counted
        SummaryCase{"AverageOfValues", qv::SummaryKind::Average, {}, {}, QStringLiteral("753,50")},
        SummaryCase{"CountFiltered",
                    qv::SummaryKind::Count,
                    {},
                    {QStringLiteral("BOSCH")},
                    QStringLiteral("2")},
        SummaryCase{"SumFiltered",
                    qv::SummaryKind::Sum,
                    {},
                    {QStringLiteral("TRW"), QStringLiteral("FEBI")},
                    QStringLiteral("2.013,50")},
        SummaryCase{"AverageOfOnlyEmptyIsBlank",
                    qv::SummaryKind::Average,
                    {},
                    {QStringLiteral("NONE")},
                    QString()},
        SummaryCase{"OwnFormat",
                    qv::SummaryKind::Sum,
                    QStringLiteral("0.0"),
                    {QStringLiteral("FEBI")},
                    QStringLiteral("3,5")}),
    [](const ::testing::TestParamInfo<SummaryCase> &p) { return std::string(p.param.name); });

TEST_F(DBGridFeatures, FooterFollowsReloadAndClearedFilter)
{
    grid.column(2).setSummary(qv::SummaryKind::Sum);
    grid.column(0).setSummary(qv::SummaryKind::Count);
    grid.setColumnFilter(1, {QStringLiteral("TRW")});
    EXPECT_EQ(grid.footerText(0), QStringLiteral("2"));
    grid.clearFilter();
    EXPECT_EQ(grid.footerText(0), QStringLiteral("5"));
    ds.setData(stock({{QStringLiteral("X"), QStringLiteral("Y"), 7.25, 1}}));
    EXPECT_EQ(grid.footerText(0), QStringLiteral("1"));
    EXPECT_EQ(grid.footerText(2), QStringLiteral("7,25"));
}

TEST_F(DBGridFeatures, FooterCellsStayUnderTheirColumns)
{
    grid.setFooterVisible(true);
    grid.resize(250, 200); // narrower than the columns: the view scrolls
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QTableView *view = grid.view();
    const auto check = [&](const char *step) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QRect cell = footer().cellRect(c);
            if (view->isColumnHidden(c)) {
                EXPECT_TRUE(cell.isEmpty()) << step << " column " << c;
                continue;
            }
            const QRect v = view->visualRect(grid.proxy()->index(0, c));
            const int x = view->viewport()->mapTo(&grid, v.topLeft()).x() - grid.footer()->x();
            EXPECT_EQ(cell.left(), x) << step << " column " << c;
            EXPECT_EQ(cell.width(), view->columnWidth(c)) << step << " column " << c;
        }
    };
    check("start");
    grid.column(0).setWidth(40);
    check("resized");
    view->horizontalHeader()->moveSection(3, 0);
    check("moved");
    grid.column(1).setVisible(false);
    check("hidden");
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    ASSERT_GT(view->horizontalScrollBar()->value(), 0);
    check("scrolled");
}

// --- header filter ---

TEST_F(DBGridFeatures, DistinctValuesUsePictureNamesAndOtherFilters)
{
    EXPECT_EQ(grid.distinctValues(3),
              (QStringList{QString(),
                           QStringLiteral("Özel Sipariş"),
                           QStringLiteral("Var"),
                           QStringLiteral("Yok")}))
        << "an unnamed value lists as empty";
    grid.setColumnFilter(1, {QStringLiteral("BOSCH")});
    EXPECT_EQ(grid.distinctValues(3), (QStringList{QStringLiteral("Var")}));
    EXPECT_EQ(grid.distinctValues(1).size(), 3) << "a column's own filter does not narrow its list";

    grid.setColumnFilter(3, {QStringLiteral("Var")});
    EXPECT_EQ(grid.proxy()->rowCount(), 2);
    grid.setColumnFilter(1, {});
    EXPECT_FALSE(grid.isFiltered(1));
    EXPECT_TRUE(grid.isFiltered(3));
    EXPECT_EQ(grid.proxy()->rowCount(), 2);
}

TEST_F(DBGridFeatures, FilterPopupChecksValues)
{
    grid.show();
    QWidget *popup = grid.openFilterPopup(1);
    QListWidget *list = listOf(popup, "filterList");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("(Tümü)"));
    for (int i = 0; i < list->count(); ++i)
        EXPECT_EQ(list->item(i)->checkState(), Qt::Checked);

    setChecked(list, QStringLiteral("TRW"), false);
    EXPECT_TRUE(grid.isFiltered(1));
    EXPECT_EQ(grid.proxy()->rowCount(), 3);
    EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);

    list->item(0)->setCheckState(Qt::Checked); // "(Tümü)"
    EXPECT_FALSE(grid.isFiltered(1));
    EXPECT_EQ(grid.proxy()->rowCount(), 5);
    for (int i = 1; i < list->count(); ++i)
        EXPECT_EQ(list->item(i)->checkState(), Qt::Checked);

    list->item(0)->setCheckState(Qt::Unchecked);
    setChecked(list, QStringLiteral("FEBI"), true);
    EXPECT_EQ(grid.columnFilter(1), (QStringList{QStringLiteral("FEBI")}));
    EXPECT_EQ(grid.proxy()->rowCount(), 1);
    popup->close();

    // A reopened list shows the filter in force.
    list = listOf(grid.openFilterPopup(1), "filterList");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->findItems(QStringLiteral("FEBI"), Qt::MatchExactly).front()->checkState(),
              Qt::Checked);
    EXPECT_EQ(list->findItems(QStringLiteral("TRW"), Qt::MatchExactly).front()->checkState(),
              Qt::Unchecked);
    list->parentWidget()->close();

    grid.clearFilter();
    EXPECT_FALSE(grid.filtered());
    EXPECT_EQ(grid.proxy()->rowCount(), 5);
}

TEST_F(DBGridFeatures, ColumnWithoutFilteringOpensNoList)
{
    grid.column(0).setFiltering(false);
    EXPECT_EQ(grid.openFilterPopup(0), nullptr);
}

// --- incremental search ---

struct SearchCase
{
    const char *name;
    int column;
    int startRow; // proxy row focused before typing
    QString typed;
    int expectedRow;
};

class IncrementalSearch : public DBGridFeatures, public ::testing::WithParamInterface<SearchCase>
{
};

TEST_P(IncrementalSearch, MovesToFirstMatch)
{
    const SearchCase &c = GetParam();
    grid.show();
    grid.view()->setFocus();
    grid.view()->setCurrentIndex(grid.proxy()->index(c.startRow, c.column));
    QTest::keyClicks(grid.view(), c.typed);
    EXPECT_EQ(grid.focusedRow(), c.expectedRow);
    EXPECT_EQ(grid.focusedColumn(), c.column);
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    IncrementalSearch,
    ::testing::Values(SearchCase{"FromCurrentRow", 0, 1, QStringLiteral("b"), 2},
                      SearchCase{"WrapsAround", 0, 3, QStringLiteral("ba"), 0},
                      SearchCase{"CurrentRowItselfMatches", 1, 1, QStringLiteral("trw"), 1},
                      SearchCase{"DottedCapitalI", 0, 0, QStringLiteral("iti"), 3},
                      SearchCase{"DotlessSmallI", 0, 0, QStringLiteral("isl"), 4},
                      SearchCase{"UnmatchedCharacterIsDropped", 1, 0, QStringLiteral("fx"), 3},
                      SearchCase{"PictureColumnByName", 3, 0, QStringLiteral("yo"), 1}),
    [](const ::testing::TestParamInfo<SearchCase> &p) { return std::string(p.param.name); });

TEST_F(DBGridFeatures, EscapeResetsTypedText)
{
    grid.show();
    grid.view()->setFocus();
    grid.view()->setCurrentIndex(grid.proxy()->index(0, 1));
    QTest::keyClicks(grid.view(), QStringLiteral("tr"));
    EXPECT_EQ(grid.incrementalSearchText(), QStringLiteral("tr"));
    QTest::keyClick(grid.view(), Qt::Key_Escape);
    EXPECT_EQ(grid.incrementalSearchText(), QString());
    QTest::keyClicks(grid.view(), QStringLiteral("f"));
    EXPECT_EQ(grid.focusedRow(), 3);
}

// --- focus, double-click, customisation ---

TEST_F(DBGridFeatures, FocusedRowAndDoubleClickGiveDatasetRows)
{
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.setColumnFilter(1, {QStringLiteral("TRW")}); // dataset rows 1 and 4
    grid.setFocusedRow(4);
    EXPECT_EQ(grid.focusedRow(), 4);
    EXPECT_EQ(grid.view()->currentIndex().row(), 1);

    QList<int> clicked;
    QObject::connect(&grid, &qv::DBGrid::doubleClicked, [&](int row) { clicked.append(row); });
    const QRect r = grid.view()->visualRect(grid.proxy()->index(1, 0));
    // A double-click as a user makes it: press and release, then the second press.
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(grid.view()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(clicked, (QList<int>{4}));

    grid.setColumnFilter(1, {QStringLiteral("NONE")});
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(grid.view()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(clicked.size(), 1) << "a double-click on an empty grid gives nothing";
    EXPECT_EQ(grid.focusedRow(), -1);
}

TEST_F(DBGridFeatures, ColumnChooserListsOnlyOfferedColumns)
{
    grid.column(1).setOffered(false);
    grid.column(2).setVisible(false);
    grid.show();
    QListWidget *list = listOf(grid.openColumnChooser(), "columnChooserList");
    ASSERT_NE(list, nullptr);
    QStringList captions;
    for (int i = 0; i < list->count(); ++i)
        captions.append(list->item(i)->text());
    EXPECT_EQ(captions,
              (QStringList{
                  QStringLiteral("Açıklama"), QStringLiteral("Fiyat"), QStringLiteral("Durum")}));
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
    list->item(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(grid.column(2).visible());
    EXPECT_FALSE(grid.view()->isColumnHidden(2));
    list->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(grid.view()->isColumnHidden(0));
    list->parentWidget()->close();
}

// --- painting ---

TEST_F(DBGridFeatures, PicturesAndCustomCellsArePainted)
{
    grid.setDataRowHeight(30);
    std::vector<int> paintedRows;
    grid.column(0).setCustomDraw([&](QPainter &p, const QStyleOptionViewItem &opt, int row) {
        paintedRows.push_back(row);
        p.fillRect(opt.rect, Qt::magenta);
        return true;
    });
    grid.setColumnFilter(1, {QStringLiteral("TRW"), QStringLiteral("FEBI")}); // rows 1, 3, 4
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QImage image = grid.view()->viewport()->grab().toImage();
    const auto at = [&](int row, int col, QPoint offset = {}) {
        const QRect r = grid.view()->visualRect(grid.proxy()->index(row, col));
        return QColor(image.pixel(r.center() + offset));
    };
    EXPECT_EQ(at(0, 3), QColor(Qt::red)) << "Yok, centred";
    EXPECT_EQ(at(1, 3), QColor(Qt::blue));
    EXPECT_NE(at(0, 3, {20, 0}), QColor(Qt::red)) << "the picture keeps its size";
    EXPECT_NE(at(2, 3), QColor(Qt::red)) << "a value without a picture draws none";
    EXPECT_EQ(at(2, 0), QColor(Qt::magenta));
    std::sort(paintedRows.begin(), paintedRows.end());
    paintedRows.erase(std::unique(paintedRows.begin(), paintedRows.end()), paintedRows.end());
    EXPECT_EQ(paintedRows, (std::vector<int>{1, 3, 4})) << "the painter gets dataset rows";
    EXPECT_FALSE(grid.proxy()->index(0, 3).data().isValid()) << "a picture cell shows no text";
}

} // namespace
