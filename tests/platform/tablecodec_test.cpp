#include "errors.h"
#include "tablecodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qv;

namespace {

constexpr FieldType kAllTypes[] = {
    FieldType::String,
    FieldType::Integer,
    FieldType::LargeInt,
    FieldType::Float,
    FieldType::Currency,
    FieldType::Boolean,
    FieldType::DateTime,
    FieldType::Memo,
    FieldType::Blob,
};

std::string encode(const TableData &t)
{
    std::string out;
    encodeTable(t, out);
    return out;
}

std::string allBytes()
{
    std::string s;
    for (int i = 0; i < 256; ++i)
        s += char(i);
    return s;
}

// Every type, each with a null, extremes and texts that need escaping.
TableData everyType()
{
    TableData t;
    t.addField({"ADI", FieldType::String, 100});
    t.addField({"ADET", FieldType::Integer, 0});
    t.addField({"BAYT", FieldType::LargeInt, 0});
    t.addField({"FİYAT", FieldType::Float, 0});
    t.addField({"TUTAR", FieldType::Currency, 0});
    t.addField({"SEC", FieldType::Boolean, 0});
    t.addField({"TARIH", FieldType::DateTime, 0});
    t.addField({"ACIKLAMA", FieldType::Memo, 0});
    t.addField({"RESIM", FieldType::Blob, 0});
    auto row = [&t](std::string_view s,
                    std::int32_t i,
                    std::int64_t l,
                    double f,
                    double c,
                    bool b,
                    double d,
                    std::string_view memo,
                    std::string_view blob) {
        t.column(0).appendString(s);
        t.column(1).appendInt(i);
        t.column(2).appendInt64(l);
        t.column(3).appendDouble(f);
        t.column(4).appendDouble(c);
        t.column(5).appendBool(b);
        t.column(6).appendDouble(d);
        t.column(7).appendString(memo);
        t.column(8).appendString(blob);
    };
    row("ığüşöçİĞÜŞÖÇ",
        std::numeric_limits<std::int32_t>::max(),
        std::numeric_limits<std::int64_t>::max(),
        0.1,
        1234567.89,
        true,
        45000.75,
        "satır 1\r\nsatır 2\t\"alıntı\" \\ / \x01\x1f\x7f",
        allBytes());
    row("",
        std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int64_t>::min(),
        1e300,
        -0.0,
        false,
        -1.25,
        "",
        "");
    row("😀 € ✓", 0, 0, 5e-324, 5.0, true, 0, "{\"table\":[]}", std::string_view("\0", 1));
    for (int col = 0; col < t.fieldCount(); ++col)
        t.column(col).appendNull();
    t.finishColumns();
    return t;
}

void expectSameCells(const TableData &a, const TableData &b)
{
    ASSERT_EQ(a.fieldDefs(), b.fieldDefs());
    ASSERT_EQ(a.rowCount(), b.rowCount());
    for (int col = 0; col < a.fieldCount(); ++col) {
        const Column &x = a.column(col);
        const Column &y = b.column(col);
        for (std::size_t r = 0; r < a.rowCount(); ++r) {
            SCOPED_TRACE(testing::Message() << a.fieldDef(col).name.toStdString() << " row " << r);
            ASSERT_EQ(x.isNull(r), y.isNull(r));
            if (x.isNull(r))
                continue;
            switch (x.type()) {
            case FieldType::String:
            case FieldType::Memo:
            case FieldType::Blob:
                EXPECT_EQ(x.stringAt(r), y.stringAt(r));
                break;
            case FieldType::Integer:
                EXPECT_EQ(x.intAt(r), y.intAt(r));
                break;
            case FieldType::LargeInt:
                EXPECT_EQ(x.int64At(r), y.int64At(r));
                break;
            case FieldType::Boolean:
                EXPECT_EQ(x.boolAt(r), y.boolAt(r));
                break;
            default:
                // Bit-exact: shortest round-trip text, sign of zero included.
                EXPECT_EQ(std::signbit(x.doubleAt(r)), std::signbit(y.doubleAt(r)));
                EXPECT_EQ(x.doubleAt(r), y.doubleAt(r));
                break;
            }
        }
    }
}

} // namespace

TEST(TableCodec, TypeCodesRoundTrip)
{
    std::vector<int> seen;
    for (const FieldType t : kAllTypes) {
        const int code = fieldTypeCode(t);
        EXPECT_GT(code, 0);
        EXPECT_EQ(fieldTypeFromCode(code), t);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), code), 0);
        seen.push_back(code);
    }
    EXPECT_THROW(fieldTypeFromCode(0), Error);
    EXPECT_THROW(fieldTypeFromCode(1000), Error);
}

TEST(TableCodec, EveryTypeRoundTrips)
{
    const TableData t = everyType();
    const std::string json = encode(t);
    expectSameCells(t, decodeTableJson(json));
}

TEST(TableCodec, EmptyTablesRoundTrip)
{
    TableData noRows;
    noRows.addField({"A", FieldType::Integer, 0});
    noRows.addField({"B", FieldType::String, 5});
    expectSameCells(noRows, decodeTableJson(encode(noRows)));
    EXPECT_EQ(encode(TableData()), R"({"table":[]})");
    EXPECT_EQ(decodeTableJson(R"({"table":[]})").fieldCount(), 0);
}

TEST(TableCodec, WritesTheDocumentedForm)
{
    TableData t;
    t.addField({"ADI", FieldType::String, 10});
    t.addField({"FIYAT", FieldType::Float, 0});
    t.addField({"SEC", FieldType::Boolean, 0});
    t.appendRow({QStringLiteral("a\"b\\c\n\x01"), 5.0, true});
    t.appendRow({QVariant(), 0.1, false});
    EXPECT_EQ(encode(t),
              R"({"table":[["ADI",1,10],["FIYAT",4,0],["SEC",6,0]],)"
              R"("ADI":["a\"b\\c\n\u0001",null],"FIYAT":[5,0.1],"SEC":[true,false]})");
}

TEST(TableCodec, AppendsToWhatIsThere)
{
    std::string out = "[";
    encodeTable(TableData(), out);
    EXPECT_EQ(out, R"([{"table":[]})");
}

TEST(TableCodec, BrokenUtf8IsReplacedNotPassedOn)
{
    TableData t;
    t.addField({"ADI", FieldType::String, 0});
    t.column(0).appendString("ok\xC3");
    t.finishColumns();
    const TableData back = decodeTableJson(encode(t));
    EXPECT_EQ(back.column(0).stringAt(0), "ok\xEF\xBF\xBD");
}

TEST(TableCodec, NumbersInAnyJsonFormFitDoubleColumns)
{
    const TableData t = decodeTableJson(
        R"({"table":[["F",4,0],["T",7,0]],"F":[1,-2,1.5e3,18446744073709551615],"T":[45000,0.5,-1,null]})");
    ASSERT_EQ(t.rowCount(), 4u);
    EXPECT_EQ(t.column(0).doubleAt(0), 1.0);
    EXPECT_EQ(t.column(0).doubleAt(1), -2.0);
    EXPECT_EQ(t.column(0).doubleAt(2), 1500.0);
    EXPECT_EQ(t.column(0).doubleAt(3), 18446744073709551615.0);
    EXPECT_EQ(t.column(1).doubleAt(0), 45000.0);
    EXPECT_TRUE(t.column(1).isNull(3));
}

TEST(TableCodec, DecodesIntoAReusedTable)
{
    TableData t = everyType();
    simdjson::dom::parser parser;
    decodeTable(parser.parse(std::string(R"({"table":[["X",2,0]],"X":[1]})")).value(), t);
    EXPECT_EQ(t.fieldCount(), 1);
    EXPECT_EQ(t.rowCount(), 1u);
}

struct Malformed
{
    const char *json;
    const char *error; // found within the message
};

void PrintTo(const Malformed &m, std::ostream *os)
{
    *os << m.json;
}

class TableCodecMalformed : public testing::TestWithParam<Malformed>
{
};

TEST_P(TableCodecMalformed, GivesAClearError)
{
    const Malformed &m = GetParam();
    try {
        decodeTableJson(m.json);
        FAIL() << "accepted: " << m.json;
    } catch (const Error &e) {
        EXPECT_NE(std::string(e.what()).find(m.error), std::string::npos)
            << "message: " << e.what() << "\ninput: " << m.json;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs,
    TableCodecMalformed,
    testing::Values(
        Malformed{"{", "Invalid JSON"},
        Malformed{"", "Invalid JSON"},
        Malformed{"[1,2]", "not an object"},
        Malformed{"null", "not an object"},
        Malformed{"{}", R"("table")"},
        Malformed{R"({"table":5})", R"("table")"},
        Malformed{R"({"table":{}})", R"("table")"},
        Malformed{R"({"table":[5]})", "Bad column descriptor at position 0"},
        Malformed{R"({"table":[["A",2]],"A":[]})", "Bad column descriptor at position 0"},
        Malformed{R"({"table":[["A",2,0],["B",2,0,1]],"A":[],"B":[]})",
                  "Bad column descriptor at position 1"},
        Malformed{R"({"table":[[1,2,0]]})", "Bad column descriptor"},
        Malformed{R"({"table":[["",2,0]],"":[]})", "Bad column descriptor"},
        Malformed{R"({"table":[["A","2",0]],"A":[]})", "Bad column descriptor"},
        Malformed{R"({"table":[["A",2,-1]],"A":[]})", "Bad column descriptor"},
        Malformed{R"({"table":[["A",2,1.5]],"A":[]})", "Bad column descriptor"},
        Malformed{R"({"table":[["A",99,0]],"A":[]})", "Unknown field type code 99 for column 'A'"},
        Malformed{R"({"table":[["A",0,0]],"A":[]})", "Unknown field type code 0"},
        Malformed{R"({"table":[["A",2,0],["A",1,0]],"A":[]})", "Duplicate column name 'A'"},
        Malformed{R"({"table":[["table",2,0]]})", R"(cannot be named "table")"},
        Malformed{R"({"table":[["A",2,0]]})", "Missing value array for column 'A'"},
        Malformed{R"({"table":[["A",2,0]],"A":5})", "Missing value array for column 'A'"},
        Malformed{R"({"table":[["A",2,0]],"A":null})", "Missing value array for column 'A'"},
        Malformed{R"({"table":[["A",2,0],["B",2,0]],"A":[1,2],"B":[1]})",
                  "Column 'B' has 1 values, expected 2"},
        Malformed{R"({"table":[["A",2,0],["B",2,0]],"A":[],"B":[1]})",
                  "Column 'B' has 1 values, expected 0"},
        Malformed{R"({"table":[["A",1,0]],"A":["x",5]})", "Column 'A', row 1: expected a string"},
        Malformed{R"({"table":[["A",8,0]],"A":[[]]})", "Column 'A', row 0: expected a string"},
        Malformed{R"({"table":[["A",2,0]],"A":["1"]})", "Column 'A', row 0: expected an integer"},
        Malformed{R"({"table":[["A",2,0]],"A":[1.5]})", "Column 'A', row 0: expected an integer"},
        Malformed{R"({"table":[["A",3,0]],"A":[true]})", "Column 'A', row 0: expected an integer"},
        Malformed{R"({"table":[["A",4,0]],"A":["1.5"]})", "Column 'A', row 0: expected a number"},
        Malformed{R"({"table":[["A",5,0]],"A":[{}]})", "Column 'A', row 0: expected a number"},
        Malformed{R"({"table":[["A",7,0]],"A":[false]})", "Column 'A', row 0: expected a number"},
        Malformed{R"({"table":[["A",6,0]],"A":[1]})", "Column 'A', row 0: expected true or false"},
        Malformed{R"({"table":[["A",9,0]],"A":[5]})", "Column 'A', row 0: expected base64 text"},
        Malformed{R"({"table":[["A",2,0]],"A":[0,2147483648]})",
                  "Column 'A', row 1: integer out of range"},
        Malformed{R"({"table":[["A",2,0]],"A":[-2147483649]})",
                  "Column 'A', row 0: integer out of range"},
        Malformed{R"({"table":[["A",2,0]],"A":[18446744073709551615]})",
                  "Column 'A', row 0: integer out of range"},
        Malformed{R"({"table":[["A",3,0]],"A":[9223372036854775808]})",
                  "Column 'A', row 0: integer out of range"},
        Malformed{R"({"table":[["A",9,0]],"A":["AAA="," !!"]})",
                  "Column 'A', row 1: invalid base64"}));

TEST(TableCodec, ErrorLeavesTheTargetAlone)
{
    TableData t;
    t.addField({"KEEP", FieldType::Integer, 0});
    simdjson::dom::parser parser;
    const std::string bad = R"({"table":[["A",2,0]],"A":["x"]})";
    EXPECT_THROW(decodeTable(parser.parse(bad).value(), t), Error);
    EXPECT_EQ(t.fieldCount(), 1);
    EXPECT_EQ(t.fieldDef(0).name, QStringLiteral("KEEP"));
}
