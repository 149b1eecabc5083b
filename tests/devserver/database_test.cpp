#include "database.h"
#include "errors.h"
#include "pictures.h"
#include "pricing.h"
#include "schema.h"
#include "searchtext.h"
#include "seed.h"
#include "sqlutil.h"

#include <QCryptographicHash>
#include <QImage>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <set>
#include <thread>

using namespace qv;

namespace {

constexpr int kStock = 2000;

std::unique_ptr<DevDatabase> openDb(const QString &path, int stock = kStock)
{
    DevDatabaseOptions o;
    o.path = path;
    o.stockCount = stock;
    o.searchLimit = 0;
    return std::make_unique<DevDatabase>(o);
}

QVariant scalar(DevDatabase &db, const QString &sql, std::initializer_list<QVariant> args = {})
{
    return devScalar(db.connection(), sql, args);
}

// A digest of every row of every table, in key order.
QByteArray contentDigest(DevDatabase &db)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &table : devTableNames()) {
        QSqlQuery q(db.connection());
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(table)));
        hash.addData(table.toUtf8());
        while (q.next()) {
            for (int i = 0; i < q.record().count(); ++i) {
                const QVariant v = q.value(i);
                hash.addData(v.isNull() ? QByteArray("\x01null") : v.toByteArray());
                hash.addData(QByteArray(1, '\0'));
            }
        }
    }
    return hash.result();
}

bool validEan13(const QString &code)
{
    if (code.size() != 13)
        return false;
    int sum = 0;
    for (int i = 0; i < 12; ++i) {
        if (!code[i].isDigit())
            return false;
        sum += code[i].digitValue() * (i % 2 ? 3 : 1);
    }
    return code[12].digitValue() == (10 - sum % 10) % 10;
}

class DevDatabaseTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        s_db = openDb(s_dir->filePath(QStringLiteral("shared.sqlite"))).release();
    }
    static void TearDownTestSuite()
    {
        delete s_db;
        delete s_dir;
        s_db = nullptr;
        s_dir = nullptr;
    }

    DevDatabase &db() { return *s_db; }

    int col(const TableData &t, const char *name) const
    {
        const int c = t.indexOf(QString::fromLatin1(name));
        EXPECT_GE(c, 0) << name;
        return c;
    }
    std::set<int> stocknos(const TableData &t) const
    {
        std::set<int> s;
        const int c = col(t, "STOK_STOKNO");
        for (std::size_t r = 0; r < t.rowCount(); ++r)
            s.insert(t.column(c).intAt(r));
        return s;
    }
    // The one row of an item, found through its barcode.
    std::size_t rowOf(const TableData &t, int stokno) const
    {
        const int c = col(t, "STOK_STOKNO");
        for (std::size_t r = 0; r < t.rowCount(); ++r) {
            if (t.column(c).intAt(r) == stokno)
                return r;
        }
        ADD_FAILURE() << "stock " << stokno << " not in result";
        return 0;
    }
    int anyStock(const QString &where)
    {
        const QVariant v
            = scalar(db(), QStringLiteral("SELECT MIN(STOKNO) FROM STOK WHERE ") + where);
        EXPECT_FALSE(v.isNull()) << where.toStdString();
        return v.toInt();
    }
    QString barcode(int stokno)
    {
        return scalar(db(), QStringLiteral("SELECT BARKOD FROM STOK WHERE STOKNO = ?"), {stokno})
            .toString();
    }

    static QTemporaryDir *s_dir;
    static DevDatabase *s_db;
};

QTemporaryDir *DevDatabaseTest::s_dir = nullptr;
DevDatabase *DevDatabaseTest::s_db = nullptr;

} // namespace

// --- creation and seeding ----------------------------------------------------

TEST(DevDatabaseSeed, TwoFreshDatabasesHoldTheSameRows)
{
    QTemporaryDir dir;
    auto a = openDb(dir.filePath(QStringLiteral("a.sqlite")), 300);
    auto b = openDb(dir.filePath(QStringLiteral("b.sqlite")), 300);
    EXPECT_TRUE(a->seededOnOpen());
    EXPECT_TRUE(b->seededOnOpen());
    EXPECT_EQ(contentDigest(*a), contentDigest(*b));
}

TEST(DevDatabaseSeed, ReopeningKeepsTheDataAndDoesNotSeedAgain)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.sqlite"));
    QByteArray before;
    {
        auto db = openDb(path, 300);
        ASSERT_TRUE(db->seededOnOpen());
        devExec(db->connection(), QStringLiteral("DELETE FROM SEPET"));
        before = contentDigest(*db);
    }
    auto again = openDb(path, 300);
    EXPECT_FALSE(again->seededOnOpen());
    EXPECT_EQ(again->schemaVersion(), DevSchemaVersion);
    EXPECT_EQ(scalar(*again, QStringLiteral("SELECT COUNT(*) FROM SEPET")).toInt(), 0);
    EXPECT_EQ(contentDigest(*again), before);
}

TEST(DevDatabaseSeed, ANewerSchemaIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.sqlite"));
    {
        auto db = openDb(path, 50);
        devExec(db->connection(), QStringLiteral("UPDATE schema_version SET version = 99"));
    }
    EXPECT_THROW(openDb(path, 50), Error);
}

TEST_F(DevDatabaseTest, SeedFigures)
{
    struct Case
    {
        const char *sql;
        int atLeast;
        int atMost;
    };
    const Case cases[] = {
        {"SELECT COUNT(*) FROM SATICI", 8, 8},
        {"SELECT COUNT(*) FROM CARI", 60, 60},
        {"SELECT COUNT(*) FROM STOK", kStock, kStock},
        {"SELECT COUNT(*) FROM KULLANICI WHERE AKTIF = 0", 1, 100},
        {"SELECT COUNT(DISTINCT MUSTERITIPI) FROM KULLANICI", 5, 5},
        {"SELECT COUNT(*) FROM KULLANICI WHERE MUSTERITIPI IN (1, 2) AND SATICINO IS NOT NULL",
         4,
         100},
        {"SELECT COUNT(*) FROM ACILIS_EKRAN WHERE ACILIS = 1", 5, 5},
        {"SELECT COUNT(*) FROM BANNER", 3, 3},
        {"SELECT COUNT(DISTINCT CARINO) FROM SIPARIS", 5, 60},
        {"SELECT COUNT(*) FROM SIPARIS_SATIR", 200, 100000},
        {"SELECT COUNT(*) FROM FATURA", 50, 100000},
        {"SELECT COUNT(*) FROM TAHSILAT WHERE SANALPOSSIRANO IS NOT NULL", 1, 1000},
        {"SELECT COUNT(*) FROM SEPET", 1, 1000},
        {"SELECT COUNT(DISTINCT DURUM) FROM STOK", 6, 6},
        {"SELECT COUNT(DISTINCT DURUMNO) FROM SIPARIS", 5, 6},
        {"SELECT COUNT(*) FROM STOK WHERE KAMPANYA = 1 AND KAMPFIYAT >= LISTEFIYAT1", 0, 0},
        // the statement and the balance figures agree
        {"SELECT COUNT(*) FROM CARI c WHERE ABS(c.TLBORC - (SELECT SUM(BORC) FROM CARI_HAREKET h "
         "WHERE h.CARINO = c.CARINO)) > 0.001",
         0,
         0},
        // every order line's stock exists (foreign keys are on)
        {"SELECT COUNT(*) FROM SIPARIS_SATIR l LEFT JOIN STOK s ON s.STOKNO = l.STOKNO WHERE "
         "s.STOKNO IS NULL",
         0,
         0},
    };
    for (const Case &c : cases) {
        const int n = scalar(db(), QString::fromLatin1(c.sql)).toInt();
        EXPECT_GE(n, c.atLeast) << c.sql;
        EXPECT_LE(n, c.atMost) << c.sql;
    }
}

TEST_F(DevDatabaseTest, BarcodesAreValidEan13AndUnique)
{
    QSqlQuery q(db().connection());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT BARKOD FROM STOK")));
    std::set<QString> seen;
    while (q.next()) {
        const QString code = q.value(0).toString();
        EXPECT_TRUE(validEan13(code)) << code.toStdString();
        EXPECT_TRUE(seen.insert(code).second) << "duplicate " << code.toStdString();
    }
}

TEST_F(DevDatabaseTest, StoredPicturesDecode)
{
    struct Case
    {
        const char *sql;
        const char *format;
    };
    const Case cases[] = {
        {"SELECT RESIM FROM BANNER WHERE SIRANO = 1", "GIF"},
        {"SELECT RESIM FROM BANNER WHERE SIRANO = 2", "GIF"},
        {"SELECT RESIM FROM BANNER WHERE SIRANO = 3", "BMP"},
        {"SELECT RESIM FROM ACILIS_EKRAN WHERE SIRANO = 1", "JPEG"},
        {"SELECT RESIM FROM ACILIS_EKRAN WHERE SIRANO = 5", "JPEG"},
    };
    for (const Case &c : cases) {
        const QByteArray bytes = scalar(db(), QString::fromLatin1(c.sql)).toByteArray();
        QImage image;
        EXPECT_TRUE(image.loadFromData(bytes, c.format)) << c.sql;
        EXPECT_FALSE(image.isNull()) << c.sql;
    }
    QImage header;
    ASSERT_TRUE(header.loadFromData(
        scalar(db(), QStringLiteral("SELECT RESIM FROM BANNER WHERE SIRANO = 1")).toByteArray()));
    EXPECT_EQ(header.size(), QSize(409, 100));
}

TEST(DevGif, EncodedFramesDecodeToTheirPixels)
{
    // Large enough for the code table to fill and start over several times.
    QImage image(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(
                x, y, qRgb((x * 7 + y * 3) % 256 & 0xE0, (x ^ y) & 0xE0, (y * 5) % 256 & 0xC0));
    }
    const QByteArray gif = encodeGif({image, image.mirrored()}, 10);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(gif, "GIF"));
    ASSERT_EQ(decoded.size(), image.size());
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            wrong += decoded.pixel(x, y) != image.pixel(x, y);
    }
    EXPECT_EQ(wrong, 0); // at most 256 colours: nothing is lost
}

// --- login record ------------------------------------------------------------

TEST_F(DevDatabaseTest, LoginRecordOfEveryDemoComputer)
{
    for (const DevDemoLogin &d : devDemoLogins()) {
        SCOPED_TRACE(d.machineId);
        const DevLoginRecord r = db().loginRecord(QString::fromLatin1(d.machineId), false);
        EXPECT_TRUE(r.Varmi);
        EXPECT_EQ(r.BILGISAYARID, QString::fromLatin1(d.machineId));
        EXPECT_EQ(r.ADI, QString::fromUtf8(d.userName));
        EXPECT_EQ(r.SIFRE, QString::fromUtf8(d.password));
        EXPECT_EQ(r.MusteriTipi, d.musteriTipi);
        EXPECT_EQ(r.AKTIF, d.active ? 1 : 0);
        EXPECT_EQ(r.CARINO, d.carino);
        EXPECT_EQ(r.Version, DevProgramVersion);
        EXPECT_GT(r.Sirano, 0);
        EXPECT_FALSE(r.SaticiAdi.isEmpty());
        EXPECT_FALSE(r.SaticiTelefon.isEmpty());
        EXPECT_TRUE(r.SaticiMail.contains(u'@'));
        if (d.carino) {
            EXPECT_FALSE(r.CariAdi.isEmpty());
            EXPECT_TRUE(r.carikod.startsWith(QStringLiteral("120.")));
        } else {
            EXPECT_EQ(r.SaticiNo, d.saticino);
            EXPECT_TRUE(r.CariAdi.isEmpty());
        }
    }
}

TEST_F(DevDatabaseTest, DealersSeeTheirAccountsSalesperson)
{
    const DevLoginRecord r = db().loginRecord(QString::fromLatin1(DevDemoDealerMachineId), false);
    const int saticino
        = scalar(db(), QStringLiteral("SELECT SATICINO FROM CARI WHERE CARINO = ?"), {r.CARINO})
              .toInt();
    EXPECT_EQ(r.SaticiNo, saticino);
    EXPECT_EQ(r.SaticiAdi,
              scalar(db(), QStringLiteral("SELECT ADI FROM SATICI WHERE SATICINO = ?"), {saticino})
                  .toString());
}

TEST_F(DevDatabaseTest, UnknownComputerIsNotRegistered)
{
    const DevLoginRecord r = db().loginRecord(QStringLiteral("UNKNOWN-PC-1"), false);
    EXPECT_FALSE(r.Varmi);
    EXPECT_EQ(r.BILGISAYARID, QStringLiteral("UNKNOWN-PC-1"));
    EXPECT_EQ(r.MusteriTipi, 1);
    EXPECT_EQ(r.Version, DevProgramVersion); // request form, not the update window
    EXPECT_EQ(r.CARINO, 0);
    EXPECT_TRUE(r.ADI.isEmpty());
    EXPECT_TRUE(r.SIFRE.isEmpty());
    // asking did not register it
    EXPECT_FALSE(db().loginRecord(QStringLiteral("UNKNOWN-PC-1"), false).Varmi);
}

TEST_F(DevDatabaseTest, AutoRegisterGivesTheDemoDealerAndStays)
{
    const DevLoginRecord demo
        = db().loginRecord(QString::fromLatin1(DevDemoDealerMachineId), false);
    const DevLoginRecord r = db().loginRecord(QStringLiteral("NEW-PC-7"), true);
    EXPECT_TRUE(r.Varmi);
    EXPECT_EQ(r.BILGISAYARID, QStringLiteral("NEW-PC-7"));
    EXPECT_EQ(r.CARINO, DevDemoDealerCarino);
    EXPECT_EQ(r.ADI, demo.ADI);
    EXPECT_EQ(r.SIFRE, demo.SIFRE);
    EXPECT_EQ(r.AKTIF, 1);
    EXPECT_NE(r.Sirano, demo.Sirano);
    const DevLoginRecord later = db().loginRecord(QStringLiteral("NEW-PC-7"), false);
    EXPECT_TRUE(later.Varmi);
    EXPECT_EQ(later.Sirano, r.Sirano);
}

// --- stock search --------------------------------------------------------------

TEST_F(DevDatabaseTest, SearchResultHasTheCatalogueColumnsInOrder)
{
    const std::pair<const char *, FieldType> expected[] = {
        {"DURUM", FieldType::Integer},
        {"OEM1", FieldType::String},
        {"OEM2", FieldType::String},
        {"OEM3", FieldType::String},
        {"OEM4", FieldType::String},
        {"BARKOD", FieldType::String},
        {"ADI", FieldType::String},
        {"STOK_STOKNO", FieldType::Integer},
        {"FINISHKOD", FieldType::String},
        {"URETICIKODU", FieldType::String},
        {"RESIM", FieldType::Integer},
        {"BARKOD_BARKODNO", FieldType::Integer},
        {"DIGERADI", FieldType::String},
        {"DPKOD", FieldType::String},
        {"OEMNO", FieldType::String},
        {"BIRIM", FieldType::String},
        {"MARKA", FieldType::String},
        {"MODEL", FieldType::String},
        {"ANAGRUP", FieldType::String},
        {"OZELKOD", FieldType::String},
        {"KALAN", FieldType::Float},
        {"PKOD", FieldType::String},
        {"KDV", FieldType::Float},
        {"ALINANSIPARIS", FieldType::Float},
        {"VERILENSIPARIS", FieldType::Float},
        {"LISTEFIYAT1", FieldType::Float},
        {"KAMPFIYAT", FieldType::Float},
        {"FIYAT", FieldType::Float},
        {"Y", FieldType::Integer},
        {"K", FieldType::Integer},
        {"INDIRIMYAZI", FieldType::String},
        {"NETFIYAT", FieldType::Float},
        {"KDVDAHIL", FieldType::Float},
        {"IND1", FieldType::Float},
        {"IND2", FieldType::Float},
        {"IND3", FieldType::Float},
        {"IND4", FieldType::Float},
    };
    // The layout is the same with and without rows.
    for (const char *text : {"BALATA", "ZZZZZZQ", "", "AB"}) {
        const TableData t = db().searchStock(QString::fromLatin1(text), DevDemoDealerCarino, 0);
        ASSERT_EQ(t.fieldCount(), int(std::size(expected))) << text;
        for (int i = 0; i < t.fieldCount(); ++i) {
            EXPECT_EQ(t.fieldDef(i).name, QString::fromLatin1(expected[i].first)) << i;
            EXPECT_EQ(t.fieldDef(i).type, expected[i].second) << expected[i].first;
            if (expected[i].second == FieldType::String) {
                EXPECT_GT(t.fieldDef(i).size, 0) << expected[i].first;
            }
        }
    }
}

TEST_F(DevDatabaseTest, SearchFindsAnItemByItsCodes)
{
    const int ford = anyStock(QStringLiteral("OEMNO LIKE '%-%-%' AND FINISHKOD <> ''"));
    const int bosch = anyStock(QStringLiteral("URETICIKODU LIKE '0 986 %'"));
    auto field = [&](int stokno, const char *column) {
        return scalar(db(),
                      QStringLiteral("SELECT %1 FROM STOK WHERE STOKNO = ?")
                          .arg(QLatin1String(column)),
                      {stokno})
            .toString();
    };
    const QString oem = field(ford, "OEMNO");
    const QString finish = field(ford, "FINISHKOD");
    const QString uretici = field(bosch, "URETICIKODU");
    struct Case
    {
        QString text;
        int stokno;
    };
    const Case cases[] = {
        {barcode(bosch), bosch},
        {barcode(bosch).left(9), bosch},          // prefix
        {oem, ford},                              // as printed, with dashes
        {QString(oem).remove(u'-'), ford},        // run together
        {QString(oem).replace(u'-', u' '), ford}, // with blanks
        {QString(oem).toLower(), ford},
        {finish, ford},
        {uretici, bosch}, // "0 986 494 104"
        {QString(uretici).remove(u' '), bosch},
        {QStringLiteral("  ") + uretici + QStringLiteral(" "),
         bosch}, // the client sends it untrimmed
    };
    for (const Case &c : cases) {
        const TableData t = db().searchStock(c.text, DevDemoDealerCarino, 0);
        EXPECT_TRUE(stocknos(t).count(c.stokno)) << c.text.toStdString();
    }
    // A whole barcode is unique: exactly its item.
    EXPECT_EQ(stocknos(db().searchStock(barcode(bosch), DevDemoDealerCarino, 0)),
              std::set<int>{bosch});
}

TEST_F(DevDatabaseTest, CodeHitsComeBeforeNameHits)
{
    // "GDB" is a TRW code start and no word; "BKR" NGK's. Any code hit ranks first.
    const int item = anyStock(QStringLiteral("URETICIKODU LIKE 'GDB%'"));
    const TableData t = db().searchStock(QStringLiteral("GDB"), 0, 0);
    ASSERT_GT(t.rowCount(), 0u);
    const int c = col(t, "URETICIKODU");
    EXPECT_TRUE(stocknos(t).count(item));
    for (std::size_t r = 0; r < t.rowCount(); ++r)
        EXPECT_TRUE(QString::fromUtf8(t.column(c).stringAt(r)).startsWith(QStringLiteral("GDB")));
}

TEST_F(DevDatabaseTest, SearchByNameWordsFoldsTurkishLetters)
{
    auto count = [&](const char *sqlWhere) {
        return scalar(db(),
                      QStringLiteral("SELECT COUNT(*) FROM STOK WHERE ")
                          + QString::fromUtf8(sqlWhere))
            .toInt();
    };
    struct Case
    {
        const char *text;
        const char *where; // the items the text means
    };
    const Case cases[] = {
        {"ON FREN BALATASI",
         "ADI LIKE 'ÖN FREN BALATASI %'"}, // as the client sends Turkish letters
        {"ön fren balatası", "ADI LIKE 'ÖN FREN BALATASI %'"},
        {"ÖN FREN BALATASI", "ADI LIKE 'ÖN FREN BALATASI %'"},
        {"FILTRE", "ANAGRUP = 'FİLTRE'"},
        {"filtre", "ANAGRUP = 'FİLTRE'"}, // i upper-cases to İ
        {"fıltre", "ANAGRUP = 'FİLTRE'"}, // ı to I; both fold alike
        {"SANZIMAN", "ANAGRUP = 'ŞANZIMAN'"},
        {"şanzıman", "ANAGRUP = 'ŞANZIMAN'"},
        {"AMORTISOR ON SAG", "ADI LIKE 'AMORTİSÖR ÖN SAĞ %'"},
        {"BAL ON FRE", "ADI LIKE 'ÖN FREN BALATASI %'"}, // word prefixes, any order
        {"DOBLO YAG", "ADI LIKE 'YAĞ FİLTRESİ DOBLO %'"},
        {"BOSCH BALATA", "MARKA = 'BOSCH' AND ADI LIKE '% BALATASI %'"},
        {"LEMFORDER ROTIL", "MARKA = 'LEMFÖRDER' AND ADI LIKE 'ROTİL %'"},
        {"QQQXYZ", "0"},
        {"AB", "0"}, // fewer than three letters
        {"  AB  ", "0"},
        {"A B", "0"},
    };
    for (const Case &c : cases) {
        const TableData t = db().searchStock(QString::fromUtf8(c.text), DevDemoDealerCarino, 0);
        EXPECT_EQ(int(t.rowCount()), count(c.where)) << c.text;
    }
}

TEST_F(DevDatabaseTest, SearchLimitCapsTheRows)
{
    DevDatabaseOptions o = db().options();
    o.searchLimit = 25;
    DevDatabase capped(o);
    EXPECT_FALSE(capped.seededOnOpen());
    EXPECT_EQ(capped.searchStock(QStringLiteral("FILTRE"), 0, 0).rowCount(), 25u);
}

// --- prices ------------------------------------------------------------------

TEST(DevPricing, DiscountsApplyOneAfterAnother)
{
    struct Case
    {
        double fiyat;
        std::array<double, 4> rates;
        const char *text;
        double net;
        double kdvDahil;
    };
    const Case cases[] = {
        {1234.50, {10, 5, 0, 0}, "%10+%5", 1055.50, 1266.60},
        {100.00, {10, 5, 0, 0}, "%10+%5", 85.50, 102.60}, // 90 then 85.5, not 85
        {100.00, {}, "", 100.00, 120.00},
        {80.00, {25, 5, 2, 0}, "%25+%5+%2", 55.86, 67.03},
        {199.90, {12.5, 0, 0, 0}, "%12,5", 174.91, 209.89},
        {50.00, {0, 10, 0, 0}, "%0+%10", 45.00, 54.00},
    };
    for (const Case &c : cases) {
        const DevPrice p{c.fiyat, c.rates};
        EXPECT_EQ(discountText(c.rates), QString::fromUtf8(c.text));
        EXPECT_DOUBLE_EQ(netPrice(p), c.net) << c.text;
        EXPECT_DOUBLE_EQ(withVat(netPrice(p), 20), c.kdvDahil) << c.text;
    }
}

TEST_F(DevDatabaseTest, AccountPricesFollowTheMostSpecificRule)
{
    const int plain = anyStock(
        QStringLiteral("MARKA <> 'BOSCH' AND ANAGRUP <> 'FİLTRE' AND KAMPANYA = 0 AND STOKNO > 1"));
    const int bosch = anyStock(
        QStringLiteral("MARKA = 'BOSCH' AND ANAGRUP <> 'FİLTRE' AND KAMPANYA = 0 AND STOKNO > 1"));
    const int filter = anyStock(
        QStringLiteral("MARKA <> 'BOSCH' AND ANAGRUP = 'FİLTRE' AND KAMPANYA = 0 AND STOKNO > 1"));
    const int boschFilter = anyStock(
        QStringLiteral("MARKA = 'BOSCH' AND ANAGRUP = 'FİLTRE' AND KAMPANYA = 0 AND STOKNO > 1"));
    ASSERT_EQ(scalar(db(), QStringLiteral("SELECT KAMPANYA FROM STOK WHERE STOKNO = 1")).toInt(), 0)
        << "the special price below needs item 1 without campaign";
    struct Case
    {
        int stokno;
        int carino;
        double priceFactor; // of the list price
        std::array<double, 4> rates;
        const char *text;
    };
    const Case cases[] = {
        {plain, DevDemoDealerCarino, 1.0, {10, 5, 0, 0}, "%10+%5"},
        {bosch, DevDemoDealerCarino, 1.0, {20, 5, 0, 0}, "%20+%5"},
        {filter, DevDemoDealerCarino, 1.0, {15, 0, 0, 0}, "%15"},
        {boschFilter, DevDemoDealerCarino, 1.0, {25, 5, 2, 0}, "%25+%5+%2"},
        {1, DevDemoDealerCarino, 0.85, {}, ""}, // the item's own net price
        {plain, 0, 1.0, {}, ""},                // no account: list price
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stokno);
        const TableData t = db().searchStock(barcode(c.stokno), c.carino, 0);
        const std::size_t r = rowOf(t, c.stokno);
        const double liste = scalar(db(),
                                    QStringLiteral("SELECT LISTEFIYAT1 FROM STOK WHERE STOKNO = ?"),
                                    {c.stokno})
                                 .toDouble();
        const double fiyat = RoundTo2Decimals(liste * c.priceFactor);
        double net = fiyat;
        for (double rate : c.rates)
            net *= 1 - rate / 100;
        net = std::round(net * 100) / 100;
        EXPECT_DOUBLE_EQ(t.column(col(t, "LISTEFIYAT1")).doubleAt(r), liste);
        EXPECT_DOUBLE_EQ(t.column(col(t, "FIYAT")).doubleAt(r), fiyat);
        EXPECT_EQ(QString::fromUtf8(t.column(col(t, "INDIRIMYAZI")).stringAt(r)),
                  QString::fromUtf8(c.text));
        EXPECT_DOUBLE_EQ(t.column(col(t, "IND1")).doubleAt(r), c.rates[0]);
        EXPECT_NEAR(t.column(col(t, "NETFIYAT")).doubleAt(r), net, 0.0051);
        EXPECT_NEAR(t.column(col(t, "KDVDAHIL")).doubleAt(r), net * 1.2, 0.0151);
        EXPECT_DOUBLE_EQ(t.column(col(t, "KDV")).doubleAt(r), 20.0);
        EXPECT_EQ(t.column(col(t, "K")).intAt(r), 0);
        EXPECT_DOUBLE_EQ(t.column(col(t, "KAMPFIYAT")).doubleAt(r), 0.0);
    }
}

TEST_F(DevDatabaseTest, CampaignPricesExceptForUsersWithoutCampaigns)
{
    const int item = anyStock(QStringLiteral("KAMPANYA = 1"));
    const double kamp
        = scalar(db(), QStringLiteral("SELECT KAMPFIYAT FROM STOK WHERE STOKNO = ?"), {item})
              .toDouble();
    for (int tip : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(tip);
        const TableData t = db().searchStock(barcode(item), DevDemoDealerCarino, tip);
        const std::size_t r = rowOf(t, item);
        const bool campaign = tip != 4;
        EXPECT_EQ(t.column(col(t, "K")).intAt(r), campaign ? 1 : 0);
        EXPECT_DOUBLE_EQ(t.column(col(t, "KAMPFIYAT")).doubleAt(r), campaign ? kamp : 0.0);
        if (campaign) {
            EXPECT_DOUBLE_EQ(t.column(col(t, "FIYAT")).doubleAt(r), kamp);
            EXPECT_DOUBLE_EQ(t.column(col(t, "NETFIYAT")).doubleAt(r), kamp);
        } else {
            EXPECT_LT(t.column(col(t, "NETFIYAT")).doubleAt(r),
                      t.column(col(t, "LISTEFIYAT1")).doubleAt(r));
        }
    }
}

// --- pictures ----------------------------------------------------------------

TEST_F(DevDatabaseTest, StockPictureIsAJpegOnlyForItemsWithOne)
{
    const int with = anyStock(QStringLiteral("RESIM = 1"));
    const int without = anyStock(QStringLiteral("RESIM = 0"));
    const QByteArray jpeg = db().stockPicture(with);
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8"));
    QImage image;
    ASSERT_TRUE(image.loadFromData(jpeg, "JPEG"));
    EXPECT_EQ(image.size(), QSize(480, 360));
    EXPECT_EQ(db().stockPicture(with), jpeg);
    EXPECT_NE(db().stockPicture(
                  anyStock(QStringLiteral("RESIM = 1 AND ANAGRUP <> (SELECT ANAGRUP FROM STOK "
                                          "WHERE STOKNO = ")
                           + QString::number(with) + u')')),
              jpeg);
    EXPECT_TRUE(db().stockPicture(without).isEmpty());
    EXPECT_TRUE(db().stockPicture(kStock + 100).isEmpty());
}

// --- threads -----------------------------------------------------------------

TEST_F(DevDatabaseTest, ManyThreadsAtOnce)
{
    const TableData expected = db().searchStock(QStringLiteral("BALATA"), DevDemoDealerCarino, 0);
    const int pictured = anyStock(QStringLiteral("RESIM = 1"));
    const QByteArray picture = db().stockPicture(pictured);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            try {
                for (int i = 0; i < 15; ++i) {
                    const TableData r
                        = db().searchStock(QStringLiteral("BALATA"), DevDemoDealerCarino, 0);
                    if (r.rowCount() != expected.rowCount())
                        ++failures;
                    if (!db().loginRecord(QString::fromLatin1(DevDemoDealerMachineId), false).Varmi)
                        ++failures;
                    // every thread registers the same new computer at once
                    if (!db().loginRecord(QStringLiteral("RACE-PC"), true).Varmi)
                        ++failures;
                    if (!db().loginRecord(QStringLiteral("THREAD-PC-%1").arg(t), true).Varmi)
                        ++failures;
                    if (db().stockPicture(pictured + (i % 2 ? 0 : 1)).isEmpty() && i % 2)
                        ++failures;
                }
            } catch (const std::exception &e) {
                ADD_FAILURE() << e.what();
                ++failures;
            }
        });
    }
    for (auto &th : threads)
        th.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(
        scalar(db(),
               QStringLiteral("SELECT COUNT(*) FROM KULLANICI WHERE BILGISAYARID = 'RACE-PC'"))
            .toInt(),
        1);
    EXPECT_EQ(scalar(db(),
                     QStringLiteral(
                         "SELECT COUNT(*) FROM KULLANICI WHERE BILGISAYARID LIKE 'THREAD-PC-%'"))
                  .toInt(),
              8);
    EXPECT_EQ(db().stockPicture(pictured), picture);
}
