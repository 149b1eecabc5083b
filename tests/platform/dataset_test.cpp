#include "dataset.h"
#include "errors.h"

#include <QDateTime>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace qv;

namespace {

struct Col
{
    const char *name;
    FieldType type;
};

std::shared_ptr<TableData> makeTable(std::initializer_list<Col> cols,
                                     std::initializer_list<std::vector<QVariant>> rows)
{
    auto t = std::make_shared<TableData>();
    for (const Col &c : cols)
        t->addField(
            FieldDef{QString::fromUtf8(c.name), c.type, c.type == FieldType::String ? 20 : 0});
    for (const auto &r : rows)
        t->appendRow(r);
    return t;
}

void load(Dataset &ds, std::shared_ptr<TableData> t)
{
    TableReader reader(std::move(t));
    CopyReaderToDataset(reader, ds);
}

QStringList fieldNames(const Dataset &ds)
{
    QStringList names;
    for (const FieldDef &f : ds.data().fieldDefs())
        names << f.name;
    return names;
}

class RecordingObserver : public DatasetObserver
{
public:
    int resets = 0;
    int rowChanges = 0;
    int currentChanges = 0;
    bool destroyed = false;
    int total() const { return resets + rowChanges + currentChanges; }

    void datasetReset() override { ++resets; }
    void datasetRowChanged(std::size_t) override { ++rowChanges; }
    void datasetCurrentChanged(std::size_t) override { ++currentChanges; }
    void datasetDestroyed() override { destroyed = true; }
};

const QString kLayoutError
    = QStringLiteral("Additional columns must be added after the prescribed columns.");

} // namespace

// --- Loading a reader into a dataset ----------------------------------------

TEST(CopyReaderToDataset, FirstLoadDefinesLayoutAndRows)
{
    Dataset ds;
    auto t = makeTable({{"STOKNO", FieldType::Integer}, {"ADI", FieldType::String}},
                       {{1, "ÖN FREN BALATASI"}, {2, QVariant()}});
    load(ds, t);
    EXPECT_EQ(ds.data().fieldDefs(), t->fieldDefs());
    ASSERT_EQ(ds.recordCount(), 2u);
    EXPECT_EQ(ds.recNo(), 0u);
    EXPECT_EQ(ds.asString(u"ADI"), QStringLiteral("ÖN FREN BALATASI"));
    EXPECT_TRUE(ds.next());
    EXPECT_FALSE(ds.fieldValue(u"ADI").isValid());
    EXPECT_EQ(ds.asInteger(u"STOKNO"), 2);
}

TEST(CopyReaderToDataset, ExtraTrailingColumnIsAppended)
{
    Dataset ds;
    load(ds, makeTable({{"A", FieldType::Integer}, {"B", FieldType::String}}, {{1, "x"}}));
    load(ds,
         makeTable({{"A", FieldType::Integer}, {"B", FieldType::String}, {"C", FieldType::Float}},
                   {{7, "y", 2.5}, {8, "z", 3.5}}));
    EXPECT_EQ(fieldNames(ds), (QStringList{"A", "B", "C"}));
    ASSERT_EQ(ds.recordCount(), 2u);
    EXPECT_EQ(ds.value(1, 2).toDouble(), 3.5);
    EXPECT_EQ(ds.value(0, 0).toInt(), 7);
}

TEST(CopyReaderToDataset, RenamedColumnFailsAndKeepsTheDataset)
{
    Dataset ds;
    load(ds, makeTable({{"A", FieldType::Integer}, {"B", FieldType::String}}, {{1, "x"}}));
    try {
        load(ds, makeTable({{"A", FieldType::Integer}, {"X", FieldType::String}}, {{2, "y"}}));
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), kLayoutError);
    }
    EXPECT_EQ(fieldNames(ds), (QStringList{"A", "B"}));
    ASSERT_EQ(ds.recordCount(), 1u);
    EXPECT_EQ(ds.value(0, 1).toString(), QStringLiteral("x"));
}

TEST(CopyReaderToDataset, NamesCompareExactly)
{
    Dataset ds;
    load(ds, makeTable({{"KDVDAHIL", FieldType::Float}}, {}));
    EXPECT_THROW(load(ds, makeTable({{"kdvdahil", FieldType::Float}}, {})), Error);
    EXPECT_THROW(load(ds, makeTable({{"KDVDAHİL", FieldType::Float}}, {})), Error);
}

TEST(CopyReaderToDataset, FewerColumnsKeepTrailingFieldsEmpty)
{
    Dataset ds;
    load(ds,
         makeTable({{"A", FieldType::Integer}, {"B", FieldType::String}, {"C", FieldType::Float}},
                   {{1, "x", 1.5}}));
    load(ds,
         makeTable({{"A", FieldType::Integer}, {"B", FieldType::String}}, {{2, "y"}, {3, "z"}}));
    EXPECT_EQ(fieldNames(ds), (QStringList{"A", "B", "C"}));
    ASSERT_EQ(ds.recordCount(), 2u);
    for (std::size_t r = 0; r < 2; ++r) {
        EXPECT_TRUE(ds.data().column(2).isNull(r));
        EXPECT_EQ(ds.displayText(r, 2), QString());
    }
    EXPECT_EQ(ds.value(1, 1).toString(), QStringLiteral("z"));
}

TEST(CopyReaderToDataset, ZeroRowsKeepTheColumns)
{
    Dataset ds;
    load(ds, makeTable({{"A", FieldType::Integer}}, {{1}, {2}}));
    load(ds, makeTable({{"A", FieldType::Integer}, {"B", FieldType::String}}, {}));
    EXPECT_EQ(fieldNames(ds), (QStringList{"A", "B"}));
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(ds.recNo(), Dataset::npos);
    EXPECT_FALSE(ds.first());
    EXPECT_FALSE(ds.fieldValue(u"A").isValid());
}

TEST(CopyReaderToDataset, EachLoadReplacesAllRowsAndConsumesTheReader)
{
    Dataset ds;
    load(ds, makeTable({{"A", FieldType::Integer}}, {{1}, {2}, {3}}));
    TableReader reader(makeTable({{"A", FieldType::Integer}}, {{9}}));
    CopyReaderToDataset(reader, ds);
    ASSERT_EQ(ds.recordCount(), 1u);
    EXPECT_EQ(ds.asInteger(u"A"), 9);
    EXPECT_FALSE(reader.next());
}

TEST(CopyReaderToDataset, DeclaredFieldsConvertByPosition)
{
    Dataset ds;
    ds.addFieldDef({"IDNO", FieldType::Float, 0});
    ds.addFieldDef({"CARINO", FieldType::Integer, 0});
    ds.addFieldDef({"TARIH", FieldType::DateTime, 0});
    ds.addFieldDef({"KUR", FieldType::String, 5});
    load(ds,
         makeTable({{"IDNO", FieldType::Integer},
                    {"CARINO", FieldType::Float},
                    {"TARIH", FieldType::Float},
                    {"KUR", FieldType::Integer}},
                   {{42, 7.0, 45000.5, 1}}));
    EXPECT_EQ(ds.data().fieldDef(0).type, FieldType::Float);
    EXPECT_EQ(ds.value(0, 0).typeId(), QMetaType::Double);
    EXPECT_EQ(ds.asFloat(u"IDNO"), 42.0);
    EXPECT_EQ(ds.asInteger(u"CARINO"), 7);
    EXPECT_EQ(ds.fieldValue(u"TARIH").toDateTime(), QDateTime(QDate(2023, 3, 15), QTime(12, 0)));
    EXPECT_EQ(ds.asString(u"KUR"), QStringLiteral("1"));
}

TEST(CopyReaderToDataset, ImpossibleConversionNamesTheField)
{
    Dataset ds;
    ds.addFieldDef({"CARINO", FieldType::Integer, 0});
    try {
        load(ds, makeTable({{"CARINO", FieldType::String}}, {{"12"}, {"abc"}}));
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains(u"'abc'")) << e.what();
        EXPECT_TRUE(e.message().contains(u"CARINO")) << e.what();
    }
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.fieldCount(), 1);
}

// --- Formats ----------------------------------------------------------------

TEST(FormatFloatFields, OnlyPlainFloatFieldsGetTheMoneyFormat)
{
    Dataset ds;
    load(ds,
         makeTable({{"FIYAT", FieldType::Float},
                    {"TUTAR", FieldType::Currency},
                    {"MIKTAR", FieldType::Integer},
                    {"IDNO", FieldType::LargeInt},
                    {"ADI", FieldType::String}},
                   {{1234.5, 1234.5, 1234, 1234, "1234.5"}}));
    FormatFloatFields(ds);
    EXPECT_EQ(ds.displayFormat(0), QStringLiteral("#,###,##0.00"));
    for (int col = 1; col < ds.fieldCount(); ++col)
        EXPECT_EQ(ds.displayFormat(col), QString()) << col;

    const QLocale tr(QLocale::Turkish);
    EXPECT_EQ(ds.displayText(0, 0, tr), QStringLiteral("1.234,50"));
    EXPECT_EQ(ds.displayText(0, 2, tr), QStringLiteral("1234"));
    EXPECT_EQ(ds.displayText(0, 4, tr), QStringLiteral("1234.5"));
}

TEST(Dataset, NewDataPacketDropsOldFormats)
{
    Dataset ds;
    ds.setData(*makeTable({{"F", FieldType::Float}}, {{1.0}}));
    FormatFloatFields(ds);
    ds.setData(*makeTable({{"F", FieldType::Float}}, {{2.0}}));
    EXPECT_EQ(ds.displayFormat(0), QString());
    EXPECT_EQ(ds.recNo(), 0u);
}

struct FormatCase
{
    const char *pattern;
    double value;
    QLocale::Language language;
    const char *expected;
};

void PrintTo(const FormatCase &c, std::ostream *os)
{
    *os << c.pattern << " " << c.value << " -> " << c.expected;
}

class FormatFloatTable : public testing::TestWithParam<FormatCase>
{
};

TEST_P(FormatFloatTable, Formats)
{
    const FormatCase &c = GetParam();
    EXPECT_EQ(FormatFloat(QString::fromUtf8(c.pattern), c.value, QLocale(c.language)),
              QString::fromUtf8(c.expected))
        << c.pattern << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures,
    FormatFloatTable,
    testing::Values(FormatCase{"#,###,##0.00", 1234.5, QLocale::Turkish, "1.234,50"},
                    FormatCase{"#,###,##0.00", 0, QLocale::Turkish, "0,00"},
                    FormatCase{"#,###,##0.00", 0.5, QLocale::Turkish, "0,50"},
                    FormatCase{"#,###,##0.00", -1234.567, QLocale::Turkish, "-1.234,57"},
                    FormatCase{"#,###,##0.00", 1234567.891, QLocale::Turkish, "1.234.567,89"},
                    FormatCase{"#,###,##0.00", 999.995, QLocale::Turkish, "1.000,00"},
                    FormatCase{"#,###,##0.00", 1.005, QLocale::Turkish, "1,01"},
                    FormatCase{"#,###,##0.00", -0.001, QLocale::Turkish, "0,00"},
                    FormatCase{"#,###,##0.00", 100, QLocale::Turkish, "100,00"},
                    FormatCase{"#,###,##0.00", 1e15, QLocale::Turkish, "1.000.000.000.000.000,00"},
                    FormatCase{"#,###,##00.00", 5, QLocale::Turkish, "05,00"},
                    FormatCase{"#,###,##00.00", 302.67, QLocale::Turkish, "302,67"},
                    FormatCase{"#,###,##00.00", 0, QLocale::Turkish, "00,00"},
                    FormatCase{"#,###,##.00", 0.5, QLocale::Turkish, ",50"},
                    FormatCase{"#,###,##.00", 1234.5, QLocale::Turkish, "1.234,50"},
                    FormatCase{"0.00", 3.14159, QLocale::Turkish, "3,14"},
                    FormatCase{"#,##0", 1234.5, QLocale::Turkish, "1.235"},
                    FormatCase{"#,##0", 2.5, QLocale::Turkish, "3"},
                    FormatCase{"#,##0", -2.5, QLocale::Turkish, "-3"},
                    FormatCase{"#,###,##0.00", 1234.5, QLocale::C, "1,234.50"},
                    FormatCase{"#,###,##0.00", -1e9, QLocale::C, "-1,000,000,000.00"},
                    FormatCase{"0.00", -0.125, QLocale::C, "-0.13"},
                    FormatCase{"0.00", 2.675, QLocale::C, "2.68"},
                    FormatCase{"0.0#", 1.5, QLocale::C, "1.5"},
                    FormatCase{"0.0#", 1.234, QLocale::C, "1.23"},
                    FormatCase{"0.##", 7, QLocale::C, "7"},
                    FormatCase{"000", 7, QLocale::C, "007"},
                    FormatCase{"0.00;(0.00)", -5, QLocale::C, "(5.00)"},
                    FormatCase{"0.00;(0.00);'sıfır'", 0, QLocale::C, "sıfır"},
                    FormatCase{"\"TL \"0.00", 5, QLocale::C, "TL 5.00"},
                    FormatCase{"0.00 TL", -5, QLocale::C, "-5.00 TL"},
        // No picture: the general form, no grouping.
        FormatCase{"", 1234.5, QLocale::Turkish, "1234,5"},
        FormatCase{"", 0.1, QLocale::C, "0.1"},
        FormatCase{"", 3, QLocale::C, "3"}));

TEST(RoundTo2Decimals, DiscountWorkedExample)
{
    // Price 100.00, quantity 3, rates 10 and 5, VAT 18.
    const double gross = 100.00 * 3;
    double net = gross;
    for (const double rate : {10.0, 5.0})
        net = net - net * rate / 100;
    const double discount = gross - net;
    const double netTotal = RoundTo2Decimals(net);
    const double netUnitPrice = RoundTo2Decimals(netTotal / 3);
    const double withVat = RoundTo2Decimals(netUnitPrice * (18.0 / 100 + 1));
    const double total = RoundTo2Decimals(withVat * 3);
    EXPECT_EQ(FormatFloat("#,###,##0.00", discount, QLocale::c()), QStringLiteral("43.50"));
    EXPECT_EQ(netTotal, 256.50);
    EXPECT_EQ(netUnitPrice, 85.50);
    EXPECT_EQ(withVat, 100.89);
    EXPECT_EQ(total, 302.67);
}

TEST(RoundTo2Decimals, HalvesAwayFromZero)
{
    const struct
    {
        double in;
        double out;
    } cases[] = {
        {0, 0},
        {256.5, 256.5},
        {85.5 * 1.18, 100.89},
        {100.89 * 3, 302.67},
        {1.005, 1.01},
        {2.675, 2.68},
        {-1.005, -1.01},
        {0.004, 0},
        {-0.004, 0},
        {0.005, 0.01},
        {1234567.891, 1234567.89},
        {999.995, 1000},
        {0.1 + 0.2, 0.3},
        {123456789012.345, 123456789012.35},
        {-123456789012.345, -123456789012.35},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundTo2Decimals(c.in), c.out) << c.in;
}

TEST(DayNumbers, BothDirections)
{
    const struct
    {
        double days;
        QDateTime dt;
    } cases[] = {
        {0, QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
        {1, QDateTime(QDate(1899, 12, 31), QTime(0, 0))},
        {2.5, QDateTime(QDate(1900, 1, 1), QTime(12, 0))},
        {45000.75, QDateTime(QDate(2023, 3, 15), QTime(18, 0))},
        {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(fromDayNumber(c.days), c.dt) << c.days;
        EXPECT_DOUBLE_EQ(toDayNumber(c.dt), c.days) << c.days;
    }
    // A time that is not a whole number of binary fractions still comes back
    // to the millisecond.
    const QDateTime t(QDate(2024, 2, 29), QTime(13, 37, 21, 123));
    EXPECT_EQ(fromDayNumber(toDayNumber(t)), t);
}

// --- Cursor, locate, edit ---------------------------------------------------

class DatasetEdit : public testing::Test
{
protected:
    void SetUp() override
    {
        ds.setData(
            *makeTable({{"STOKNO", FieldType::Integer},
                        {"ADI", FieldType::String},
                        {"FIYAT", FieldType::Float}},
                       {{1, "BUJİ", 10.5}, {2, "ığüşöçİĞÜŞÖÇ", 3.0}, {3, QVariant(), 7.25}}));
    }
    Dataset ds;
};

TEST_F(DatasetEdit, WalksAllRows)
{
    int sum = 0;
    for (ds.first(); !ds.eof(); ds.next())
        sum += ds.asInteger(u"STOKNO");
    EXPECT_EQ(sum, 6);
    EXPECT_EQ(ds.recNo(), 2u);
}

TEST_F(DatasetEdit, LocateMovesOnlyOnSuccess)
{
    EXPECT_TRUE(ds.locate(u"STOKNO", 2));
    EXPECT_EQ(ds.recNo(), 1u);
    EXPECT_TRUE(ds.locate(u"ADI", QStringLiteral("BUJİ")));
    EXPECT_EQ(ds.recNo(), 0u);
    EXPECT_TRUE(ds.locate(u"ADI", QStringLiteral("ığüşöçİĞÜŞÖÇ")));
    EXPECT_EQ(ds.recNo(), 1u);
    EXPECT_TRUE(ds.locate(u"FIYAT", 7.25));
    EXPECT_EQ(ds.recNo(), 2u);
    EXPECT_TRUE(ds.locate(u"FIYAT", 3)); // an integer key finds a float field
    EXPECT_EQ(ds.recNo(), 1u);
    EXPECT_TRUE(ds.locate(u"ADI", QVariant()));
    EXPECT_EQ(ds.recNo(), 2u);

    EXPECT_FALSE(ds.locate(u"STOKNO", 99));
    EXPECT_FALSE(ds.locate(u"STOKNO", QStringLiteral("not a number")));
    EXPECT_FALSE(ds.locate(u"ADI", QStringLiteral("buji")));
    EXPECT_EQ(ds.recNo(), 2u);
    EXPECT_THROW(ds.locate(u"YOK", 1), Error);
}

TEST_F(DatasetEdit, EditPostAndCancel)
{
    ds.setRecNo(0);
    EXPECT_THROW(ds.setFieldValue(u"ADI", QStringLiteral("x")), Error);

    ds.edit();
    ds.setFieldValue(u"ADI", QStringLiteral("ÖN FREN BALATASI TAKIMI"));
    ds.setFieldValue(u"FIYAT", 12);
    EXPECT_EQ(ds.asString(u"ADI"), QStringLiteral("ÖN FREN BALATASI TAKIMI"));
    ds.cancel();
    EXPECT_EQ(ds.asString(u"ADI"), QStringLiteral("BUJİ"));
    EXPECT_EQ(ds.asFloat(u"FIYAT"), 10.5);

    ds.edit();
    ds.setFieldValue(u"ADI", QStringLiteral("ÖN FREN BALATASI TAKIMI"));
    ds.setFieldValue(u"FIYAT", QStringLiteral("12.75"));
    EXPECT_THROW(ds.setFieldValue(u"STOKNO", QStringLiteral("abc")), Error);
    ds.post();
    EXPECT_FALSE(ds.isEditing());
    EXPECT_EQ(ds.value(0, 1).toString(), QStringLiteral("ÖN FREN BALATASI TAKIMI"));
    EXPECT_EQ(ds.value(0, 2).toDouble(), 12.75);
    EXPECT_EQ(ds.value(0, 0).toInt(), 1);
    // Neighbours in the text arena are untouched.
    EXPECT_EQ(ds.value(1, 1).toString(), QStringLiteral("ığüşöçİĞÜŞÖÇ"));

    ds.edit();
    ds.setFieldValue(u"ADI", QStringLiteral("A"));
    ds.post();
    EXPECT_EQ(ds.value(0, 1).toString(), QStringLiteral("A"));
    ds.edit();
    ds.setFieldValue(u"ADI", QVariant());
    ds.post();
    EXPECT_FALSE(ds.value(0, 1).isValid());
}

TEST_F(DatasetEdit, AppendMakesTheNewRowCurrent)
{
    ds.append({4, QStringLiteral("TERMOSTAT")});
    ASSERT_EQ(ds.recordCount(), 4u);
    EXPECT_EQ(ds.recNo(), 3u);
    EXPECT_EQ(ds.asString(u"ADI"), QStringLiteral("TERMOSTAT"));
    EXPECT_FALSE(ds.fieldValue(u"FIYAT").isValid());
    EXPECT_THROW(ds.append({QStringLiteral("x")}), Error);
    EXPECT_EQ(ds.recordCount(), 4u);
    EXPECT_EQ(ds.data().column(1).size(), 4u);
}

TEST_F(DatasetEdit, DisabledControlsSilenceObservers)
{
    RecordingObserver o;
    ds.addObserver(&o);
    ds.disableControls();
    ds.disableControls();
    ds.first();
    ds.next();
    ds.locate(u"STOKNO", 3);
    ds.edit();
    ds.setFieldValue(u"FIYAT", 1.0);
    ds.post();
    ds.append({5});
    ds.setDisplayFormat(2, "0.00");
    load(ds, makeTable({{"STOKNO", FieldType::Integer}}, {{1}}));
    ds.enableControls();
    EXPECT_EQ(o.total(), 0);
    ds.enableControls();
    EXPECT_EQ(o.resets, 1);
    EXPECT_EQ(o.total(), 1);

    ds.edit();
    ds.setFieldValue(u"STOKNO", 2);
    ds.post();
    EXPECT_EQ(o.rowChanges, 1);
    ds.removeObserver(&o);
    ds.close();
    EXPECT_EQ(o.resets, 1);
}

TEST(Dataset, DestructionTellsObservers)
{
    RecordingObserver o;
    {
        Dataset ds;
        ds.addObserver(&o);
    }
    EXPECT_TRUE(o.destroyed);
}

// --- The Qt model -----------------------------------------------------------

class DatasetModelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::Turkish));
        ds.setData(*makeTable({{"STOKNO", FieldType::Integer},
                               {"ADI", FieldType::String},
                               {"FIYAT", FieldType::Float}},
                              {{1, "BUJİ", 1234.5}, {2, "RADYATÖR", 3.0}}));
        FormatFloatFields(ds);
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    Dataset ds;
};

TEST_F(DatasetModelTest, ShowsTheAttachedDataset)
{
    DatasetModel m;
    m.setDataset(&ds);
    ASSERT_EQ(m.rowCount(), 2);
    ASSERT_EQ(m.columnCount(), 3);
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("ADI"));
    EXPECT_EQ(m.data(m.index(0, 2)).toString(), QStringLiteral("1.234,50"));
    EXPECT_EQ(m.data(m.index(0, 2), DatasetModel::RawValueRole).toDouble(), 1234.5);
    EXPECT_EQ(m.data(m.index(1, 1), Qt::EditRole).toString(), QStringLiteral("RADYATÖR"));
    EXPECT_EQ(m.data(m.index(1, 0), DatasetModel::RawValueRole).typeId(), QMetaType::Int);
}

TEST_F(DatasetModelTest, FollowsNotifications)
{
    DatasetModel m;
    m.setDataset(&ds);
    QSignalSpy resets(&m, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&m, &QAbstractItemModel::dataChanged);

    ds.setRecNo(1);
    ds.edit();
    ds.setFieldValue(u"FIYAT", 5);
    ds.post();
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toModelIndex(), m.index(1, 0));
    EXPECT_EQ(changes[0][1].toModelIndex(), m.index(1, 2));

    ds.disableControls();
    load(ds, makeTable({{"STOKNO", FieldType::Integer}}, {{1}, {2}, {3}}));
    EXPECT_EQ(resets.size(), 0);
    ds.enableControls();
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(m.rowCount(), 3);
}

TEST_F(DatasetModelTest, DetachedModelIsEmptyAndDeaf)
{
    DatasetModel m;
    m.setDataset(&ds);
    const QModelIndex stale = m.index(0, 0);
    m.setDataset(nullptr);
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_EQ(m.columnCount(), 0);
    EXPECT_FALSE(m.data(stale).isValid());
    EXPECT_FALSE(m.headerData(0, Qt::Horizontal).isValid());

    QSignalSpy resets(&m, &QAbstractItemModel::modelReset);
    ds.close();
    load(ds, makeTable({{"STOKNO", FieldType::Integer}}, {{1}}));
    EXPECT_EQ(resets.size(), 0);

    m.setDataset(&ds);
    EXPECT_EQ(m.rowCount(), 1);
}

TEST(DatasetModel, ForgetsADestroyedDataset)
{
    DatasetModel m;
    {
        Dataset ds;
        ds.setData(*makeTable({{"A", FieldType::Integer}}, {{1}}));
        m.setDataset(&ds);
        EXPECT_EQ(m.rowCount(), 1);
    }
    EXPECT_EQ(m.dataset(), nullptr);
    EXPECT_EQ(m.rowCount(), 0);
}
