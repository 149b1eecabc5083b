#include "baglantiu.h"
#include "connection.h"
#include "database.h"
#include "errors.h"
#include "marshal.h"
#include "methods.h"
#include "orderqueries.h"
#include "pricing.h"
#include "sqlutil.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

using namespace qv;
using namespace qv::orders;

namespace {

constexpr int kDealer = 1001;
constexpr int kOtherDealer = 1002;

// One seeded file, copied for every test: each test may write freely.
class OrdersTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        DevDatabaseOptions o;
        o.path = s_dir->filePath(QStringLiteral("template.sqlite"));
        o.stockCount = 400;
        std::make_unique<DevDatabase>(o).reset(); // closing folds the log into the file
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        const QString path = m_dir.filePath(QStringLiteral("orders.sqlite"));
        ASSERT_TRUE(QFile::copy(s_dir->filePath(QStringLiteral("template.sqlite")), path));
        DevDatabaseOptions o;
        o.path = path;
        m_db = std::make_unique<DevDatabase>(o);
        dealer = callerFor("DEMO-BAYI-0001");
        otherDealer = callerFor("DEMO-BAYI-0002");
        // A salesperson with wider rights, working for the demo dealer's account.
        salesperson = callerFor("DEMO-SATICI-0003");
        salesperson.carino = kDealer;
        plainSalesperson = callerFor("DEMO-SATICI-0001");
        plainSalesperson.carino = kDealer;
    }

    DevDatabase &db() { return *m_db; }

    Caller callerFor(const char *machineId)
    {
        const DevLoginRecord r = db().loginRecord(QString::fromLatin1(machineId), false);
        EXPECT_TRUE(r.Varmi) << machineId;
        return {r.Sirano, r.BILGISAYARID, r.CARINO};
    }

    QVariant scalar(const QString &sql, std::initializer_list<QVariant> args = {})
    {
        return devScalar(db().connection(), sql, args);
    }
    int count(const QString &sql, std::initializer_list<QVariant> args = {})
    {
        return scalar(sql, args).toInt();
    }
    int anyStock(const QString &where)
    {
        const QVariant v = scalar(QStringLiteral("SELECT MIN(STOKNO) FROM STOK WHERE ") + where);
        EXPECT_FALSE(v.isNull()) << where.toStdString();
        return v.toInt();
    }
    // An item the demo dealer was invoiced for.
    int invoicedItem()
    {
        return scalar(QStringLiteral("SELECT MIN(l.STOKNO) FROM FATURA_SATIR l JOIN FATURA f "
                                     "ON f.IDNO = l.IDNO WHERE f.CARINO = ?"),
                      {kDealer})
            .toInt();
    }
    int plainItem() { return anyStock(QStringLiteral("KAMPANYA = 0 AND MARKA = 'FEBI'")); }

    static QStringList columnsOf(const TableData &t)
    {
        QStringList l;
        for (const FieldDef &f : t.fieldDefs())
            l += f.name;
        return l;
    }
    static int col(const TableData &t, const char *name)
    {
        const int c = t.indexOf(QString::fromLatin1(name));
        EXPECT_GE(c, 0) << name;
        return c;
    }
    static QVariant cell(const TableData &t, std::size_t row, const char *name)
    {
        return t.value(row, col(t, name));
    }
    static std::optional<std::size_t> rowWhere(const TableData &t, const char *name, int value)
    {
        for (std::size_t r = 0; r < t.rowCount(); ++r) {
            if (cell(t, r, name).toInt() == value)
                return r;
        }
        return std::nullopt;
    }

    // A new basket line of the item; its SIRANO.
    int addLine(const Caller &who, int stokno, double miktar = 2)
    {
        BasketLine l;
        l.carino = who.carino;
        l.stokno = stokno;
        l.miktar = miktar;
        EXPECT_EQ(addBasketLine(db(), who, l), 1);
        return scalar(QStringLiteral("SELECT MAX(SIRANO) FROM SEPET")).toInt();
    }
    void emptyBaskets()
    {
        devExec(db().connection(), QStringLiteral("DELETE FROM SEPET WHERE SIPARISNO IS NULL"));
    }
    OrderHeader header(int carino = kDealer)
    {
        OrderHeader h;
        h.carino = carino;
        h.teslimid = 2;
        h.kargoid = 1;
        h.kargoFirma = 2; // ARAS KARGO, a carrier of cargo kind 1
        h.aciklama = QStringLiteral("Acil lütfen\r\nikinci satır");
        return h;
    }
    // Marks every open line of the account's basket and sends them.
    std::optional<int> placeAll(const Caller &who)
    {
        devExec(db().connection(),
                QStringLiteral("UPDATE SEPET SET SEC = 1 WHERE SIPARISNO IS NULL AND CARINO = %1")
                    .arg(who.carino));
        return placeOrder(db(), who, header(who.carino));
    }
    int orderCount() { return count(QStringLiteral("SELECT COUNT(*) FROM SIPARIS")); }
    int orderLineCount() { return count(QStringLiteral("SELECT COUNT(*) FROM SIPARIS_SATIR")); }

    static QTemporaryDir *s_dir;
    QTemporaryDir m_dir;
    std::unique_ptr<DevDatabase> m_db;
    Caller dealer, otherDealer, salesperson, plainSalesperson;
};

QTemporaryDir *OrdersTest::s_dir = nullptr;

QStringList split(const char *columns)
{
    return QString::fromLatin1(columns).split(u' ', Qt::SkipEmptyParts);
}

const char kBasketColumns[]
    = "SEC VERILISTARIHI SIRANO SIPARISNO CARINO TARIH AKTAR STOKNO BARKOD FINISHKOD OEMNO "
      "STOKADI MIKTAR BIRIMFIYAT TUTAR INDIRIMYAZI INDIRIMORANI1 INDIRIMORANI2 INDIRIMORANI3 "
      "INDIRIMORANI4 INDIRIMTUTAR NETBIRIMFIYAT KDV VERGITUTARI NETTUTAR KUR KURTL VERENIDNO "
      "SAAT TESLIMID KARGOID ACIKLAMA IDNO VERENSIRANO VEREN CARIKOD CARIADI OEM1 OEM2 OEM3 "
      "OEM4 STOK_STOKNO URETICIKODU DIGERADI DPKOD MARKA MODEL ANAGRUP OZELKOD PKOD DURUM KALAN";

QStringList orderLineColumns()
{
    QStringList l = split(kBasketColumns);
    l.removeAll(QStringLiteral("SEC"));
    l.removeAll(QStringLiteral("DURUM"));
    return l + split("TESLIM KARGO TESLIMEDILEN");
}

QStringList balanceColumns()
{
    QStringList l = orderLineColumns();
    l.removeAll(QStringLiteral("CARINO"));
    return l + split("ILKFIYAT STOKHAR_NO ELDEKI DURUM ALINANSIPARIS VERILENSIPARIS");
}

} // namespace

// --- result layouts ------------------------------------------------------------

TEST_F(OrdersTest, EveryTableResultHasItsColumnsInOrder)
{
    const int item = invoicedItem();
    addLine(dealer, item);
    const int idno = *placeAll(dealer);
    addLine(dealer, item);
    struct Case
    {
        const char *method;
        std::function<TableData()> result;
        QStringList columns;
    };
    const QStringList rates = split("IND1 IND2 IND3 IND4");
    const Case cases[] = {
        {"YenilerVer2",
         [&] { return newItems(db(), kDealer); },
         split("OEM1 OEM2 OEM3 OEM4 BARKOD ADI STOK_STOKNO FINISHKOD URETICIKODU BARKOD_BARKODNO "
               "DIGERADI DPKOD OEMNO BIRIM MARKA MODEL ANAGRUP OZELKOD KALAN PKOD KDV "
               "ALINANSIPARIS VERILENSIPARIS FIYAT K LISTEFIYAT1 KAMPFIYAT INDIRIMYAZI INDIRIM "
               "NETFIYAT KDVDAHIL")
             + rates},
        {"KampanyaliVer2",
         [&] { return campaignItems(db(), kDealer, 0); },
         split("OEM1 OEM2 OEM3 OEM4 BARKOD ADI STOK_STOKNO RESIM FINISHKOD URETICIKODU "
               "BARKOD_BARKODNO DIGERADI DPKOD OEMNO BIRIM MARKA MODEL ANAGRUP OZELKOD KALAN PKOD "
               "KDV ALINANSIPARIS VERILENSIPARIS ESKIFIYAT FIYAT Y K INDIRIM INDIRIMYAZI NETFIYAT "
               "KDVDAHIL DURUM")
             + rates},
        {"StokHareketVer",
         [&] { return stockMovements(db(), kDealer, item); },
         split("BARKOD TARIH TURU EVRAKSERI EVRAKSIRA MIKTAR TLBIRIMFIYAT TLVERGI TLTUTAR INDIRIM1 "
               "INDIRIM2 INDIRIM3 INDIRIM4 INDIRIM5 INDIRIM6 INDIRIM7 INDIRIM8 TOPLAMINDIRIM "
               "MASRAF1 MASRAF2 TOPLAMMASRAF NETBIRIMFIYAT NETTLTUTAR VADE STOKCARIKOD "
               "KDVDAHILBIRIMFIYAT KDVDAHILTUTAR SATICI")},
        {"SepetVer2", [&] { return basket(db(), kDealer); }, split(kBasketColumns)},
        {"KargolarVer", [&] { return carriers(db(), 1); }, split("SIRANO ADI UYARI")},
        {"OncekiSiparisler",
         [&] { return previousOrders(db(), kDealer); },
         split("CARINO IDNO TARIH KUR KURTL VERENIDNO KARGO TESLIM VEREN CARIKOD CARIADI VERGI "
               "NETTUTAR TUTAR DURUM KARGOADI VERENINNOTU ALANNOTU")},
        {"SiparisAyrintisi2", [&] { return orderLines(db(), kDealer, idno); }, orderLineColumns()},
        {"BakiyelerVer2", [&] { return openBalances(db(), kDealer); }, balanceColumns()},
        {"TumSiparislerVer", [&] { return allOrderLines(db(), kDealer, 0); }, balanceColumns()},
    };
    for (const Case &c : cases) {
        const TableData t = c.result();
        EXPECT_EQ(columnsOf(t), c.columns) << c.method;
        EXPECT_GT(t.rowCount(), 0u) << c.method;
    }
}

TEST_F(OrdersTest, ChoiceReadersCarryAnIntegerIdThenACaption)
{
    for (const TableData &t : {deliveryKinds(db()), cargoKinds(db())}) {
        ASSERT_GE(t.fieldCount(), 2);
        EXPECT_EQ(t.fieldDef(0).type, FieldType::Integer);
        EXPECT_EQ(t.fieldDef(1).type, FieldType::String);
        ASSERT_GE(t.rowCount(), 2u);
        EXPECT_EQ(t.value(0, 0).toInt(), 1);
        EXPECT_FALSE(t.value(0, 1).toString().isEmpty());
    }
    const TableData c = carriers(db(), 2);
    ASSERT_EQ(c.rowCount(), 2u);
    EXPECT_EQ(cell(c, 0, "ADI").toString(), QStringLiteral("YURTİÇİ KARGO"));
    EXPECT_TRUE(cell(c, 0, "UYARI").toString().contains(QStringLiteral("5.000 TL")));
    EXPECT_EQ(carriers(db(), 99).rowCount(), 0u);
}

TEST_F(OrdersTest, StockMovementsAreTheAccountsInvoiceLinesOfTheItem)
{
    const int item = invoicedItem();
    const TableData t = stockMovements(db(), kDealer, item);
    ASSERT_GT(t.rowCount(), 0u);
    for (std::size_t r = 0; r < t.rowCount(); ++r) {
        EXPECT_EQ(cell(t, r, "EVRAKSERI").toString(), QStringLiteral("QVF"));
        EXPECT_EQ(cell(t, r, "STOKCARIKOD").toString(),
                  scalar(QStringLiteral("SELECT CARIKOD FROM CARI WHERE CARINO = ?"), {kDealer}));
        EXPECT_DOUBLE_EQ(
            cell(t, r, "KDVDAHILTUTAR").toDouble(),
            RoundTo2Decimals(cell(t, r, "NETTLTUTAR").toDouble() + cell(t, r, "TLVERGI").toDouble()));
        EXPECT_NEAR(cell(t, r, "TLTUTAR").toDouble() - cell(t, r, "TOPLAMINDIRIM").toDouble(),
                    cell(t, r, "NETTLTUTAR").toDouble(),
                    0.001);
    }
    EXPECT_EQ(stockMovements(db(), kOtherDealer + 50, item).rowCount(), 0u);
}

TEST_F(OrdersTest, CampaignListIsEmptyForUsersWithoutCampaigns)
{
    const TableData all = campaignItems(db(), kDealer, 0);
    ASSERT_GT(all.rowCount(), 0u);
    for (std::size_t r = 0; r < all.rowCount(); ++r) {
        EXPECT_EQ(cell(all, r, "K").toInt(), 1);
        EXPECT_LT(cell(all, r, "FIYAT").toDouble(), cell(all, r, "ESKIFIYAT").toDouble());
        EXPECT_EQ(cell(all, r, "IND1").toDouble(), 0.0); // a campaign price is net
    }
    EXPECT_EQ(campaignItems(db(), kDealer, 4).rowCount(), 0u);
}

// --- basket ---------------------------------------------------------------------

TEST_F(OrdersTest, DealersGetTheAccountPriceWhateverTheySend)
{
    emptyBaskets();
    // The demo dealer's other BOSCH items: list price with %20+%5.
    const int item = anyStock(
        QStringLiteral("KAMPANYA = 0 AND MARKA = 'BOSCH' AND ANAGRUP <> 'FİLTRE' AND STOKNO > 1"));
    const double liste
        = scalar(QStringLiteral("SELECT LISTEFIYAT1 FROM STOK WHERE STOKNO = ?"), {item})
              .toDouble();
    BasketLine l;
    l.carino = kDealer;
    l.stokno = item;
    l.miktar = 3;
    l.fiyat = 1.0;
    l.rates = {90, 0, 0, 0};
    ASSERT_EQ(addBasketLine(db(), dealer, l), 1);

    const TableData b = basket(db(), kDealer);
    ASSERT_EQ(b.rowCount(), 1u);
    const double netUnit = netPrice(DevPrice{liste, {20, 5, 0, 0}});
    EXPECT_DOUBLE_EQ(cell(b, 0, "BIRIMFIYAT").toDouble(), liste);
    EXPECT_EQ(cell(b, 0, "INDIRIMYAZI").toString(), QStringLiteral("%20+%5"));
    EXPECT_DOUBLE_EQ(cell(b, 0, "TUTAR").toDouble(), RoundTo2Decimals(3 * liste));
    EXPECT_DOUBLE_EQ(cell(b, 0, "NETBIRIMFIYAT").toDouble(), netUnit);
    EXPECT_DOUBLE_EQ(cell(b, 0, "NETTUTAR").toDouble(), RoundTo2Decimals(3 * netUnit));
    EXPECT_DOUBLE_EQ(cell(b, 0, "INDIRIMTUTAR").toDouble(),
                     RoundTo2Decimals(RoundTo2Decimals(3 * liste) - RoundTo2Decimals(3 * netUnit)));
    EXPECT_DOUBLE_EQ(cell(b, 0, "VERGITUTARI").toDouble(), RoundTo2Decimals(RoundTo2Decimals(3 * netUnit) * 0.2));
    EXPECT_EQ(cell(b, 0, "SEC").toInt(), 0);
    EXPECT_EQ(cell(b, 0, "STOK_STOKNO").toInt(), item);
    EXPECT_EQ(cell(b, 0, "VERENSIRANO").toInt(), dealer.sirano);
    EXPECT_EQ(cell(b, 0, "VEREN").toString(), QStringLiteral("BAYI1"));

    // A changed line keeps the account's price too; only the quantity moves.
    const int sirano = cell(b, 0, "SIRANO").toInt();
    l.miktar = 5;
    EXPECT_EQ(updateBasketLine(db(), dealer, sirano, l), 1);
    const TableData after = basket(db(), kDealer);
    EXPECT_DOUBLE_EQ(cell(after, 0, "MIKTAR").toDouble(), 5.0);
    EXPECT_DOUBLE_EQ(cell(after, 0, "BIRIMFIYAT").toDouble(), liste);
    EXPECT_DOUBLE_EQ(cell(after, 0, "NETTUTAR").toDouble(), RoundTo2Decimals(5 * netUnit));
}

TEST_F(OrdersTest, SalespeopleSetPriceAndRates)
{
    emptyBaskets();
    BasketLine l;
    l.carino = kDealer;
    l.stokno = plainItem();
    l.miktar = 3;
    l.fiyat = 100;
    l.rates = {10, 5, 0, 0};
    ASSERT_EQ(addBasketLine(db(), salesperson, l), 1);
    TableData b = basket(db(), kDealer);
    ASSERT_EQ(b.rowCount(), 1u);
    EXPECT_DOUBLE_EQ(cell(b, 0, "TUTAR").toDouble(), 300.0);
    EXPECT_DOUBLE_EQ(cell(b, 0, "INDIRIMTUTAR").toDouble(), 43.5);
    EXPECT_DOUBLE_EQ(cell(b, 0, "NETTUTAR").toDouble(), 256.5);
    EXPECT_DOUBLE_EQ(cell(b, 0, "NETBIRIMFIYAT").toDouble(), 85.5);

    const int sirano = cell(b, 0, "SIRANO").toInt();
    l.stokno = 0; // the basket page sends no item on a change
    l.fiyat = 200;
    l.rates = {0, 0, 0, 0};
    EXPECT_EQ(updateBasketLine(db(), salesperson, sirano, l), 1);
    b = basket(db(), kDealer);
    EXPECT_EQ(cell(b, 0, "STOKNO").toInt(), plainItem());
    EXPECT_DOUBLE_EQ(cell(b, 0, "NETTUTAR").toDouble(), 600.0);
}

TEST_F(OrdersTest, RefusedBasketWritesChangeNothing)
{
    emptyBaskets();
    const int own = addLine(dealer, plainItem());
    const int foreign = addLine(otherDealer, plainItem());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char *what;
        Caller who;
        int carino, stokno;
        double miktar, fiyat, rate;
    };
    Caller stranger = dealer;
    stranger.machineId = QStringLiteral("NOT-REGISTERED");
    const Case cases[] = {
        {"unknown item", dealer, kDealer, 999999, 1, 0, 0},
        {"zero quantity", dealer, kDealer, plainItem(), 0, 0, 0},
        {"negative quantity", dealer, kDealer, plainItem(), -2, 0, 0},
        {"quantity not a number", dealer, kDealer, plainItem(), nan, 0, 0},
        {"another dealer's account", dealer, kOtherDealer, plainItem(), 1, 0, 0},
        {"unregistered computer", stranger, kDealer, plainItem(), 1, 0, 0},
        {"salesperson for an account not chosen", salesperson, kOtherDealer, plainItem(), 1, 5, 0},
        {"negative price", salesperson, kDealer, plainItem(), 1, -5, 0},
        {"rate above 100", salesperson, kDealer, plainItem(), 1, 5, 150},
        {"negative rate", salesperson, kDealer, plainItem(), 1, 5, -10},
    };
    const int before = count(QStringLiteral("SELECT COUNT(*) FROM SEPET"));
    const QVariant ownQty
        = scalar(QStringLiteral("SELECT MIKTAR FROM SEPET WHERE SIRANO = ?"), {own});
    for (const Case &c : cases) {
        BasketLine l;
        l.carino = c.carino;
        l.stokno = c.stokno;
        l.miktar = c.miktar;
        l.fiyat = c.fiyat;
        l.rates = {c.rate, 0, 0, 0};
        EXPECT_EQ(addBasketLine(db(), c.who, l), 0) << c.what;
        if (c.stokno != 999999) { // an update keeps the line's item
            EXPECT_EQ(updateBasketLine(db(), c.who, own, l), 0) << c.what;
        }
    }
    // A line number of another account is not the caller's line.
    BasketLine l;
    l.carino = kDealer;
    l.miktar = 7;
    EXPECT_EQ(updateBasketLine(db(), dealer, foreign, l), 0);
    EXPECT_EQ(updateBasketLine(db(), dealer, 999999, l), 0);
    EXPECT_EQ(deleteBasketLine(db(), dealer, foreign), 0);

    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM SEPET")), before);
    EXPECT_EQ(scalar(QStringLiteral("SELECT MIKTAR FROM SEPET WHERE SIRANO = ?"), {own}), ownQty);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM SEPET WHERE SIRANO = ? AND MIKTAR = 2"),
                    {foreign}),
              1);
}

TEST_F(OrdersTest, MarkDeleteAndClearTheBasket)
{
    emptyBaskets();
    const int a = addLine(dealer, plainItem());
    const int b = addLine(dealer, plainItem(), 4);
    const int c = addLine(dealer, plainItem(), 1);
    const int foreign = addLine(otherDealer, plainItem());
    auto sec = [&](int sirano) {
        return scalar(QStringLiteral("SELECT SEC FROM SEPET WHERE SIRANO = ?"), {sirano}).toInt();
    };

    const struct
    {
        int secim, stored;
    } marks[] = {{1, 1}, {0, 0}, {5, 1}, {-1, 1}, {0, 0}};
    for (const auto &m : marks) {
        setLineSelection(db(), a, m.secim);
        EXPECT_EQ(sec(a), m.stored) << m.secim;
    }
    setLineSelection(db(), b, 1);
    const TableData t = basket(db(), kDealer);
    ASSERT_EQ(t.rowCount(), 3u);
    EXPECT_EQ(cell(t, *rowWhere(t, "SIRANO", b), "SEC").toInt(), 1);

    EXPECT_EQ(deleteBasketLine(db(), dealer, a), 1);
    EXPECT_EQ(deleteBasketLine(db(), dealer, a), 0);
    EXPECT_EQ(basket(db(), kDealer).rowCount(), 2u);

    EXPECT_EQ(clearBasket(db(), dealer), 2);
    EXPECT_EQ(basket(db(), kDealer).rowCount(), 0u);
    EXPECT_EQ(basket(db(), kOtherDealer).rowCount(), 1u);
    EXPECT_FALSE(rowWhere(basket(db(), kOtherDealer), "SIRANO", c).has_value());
    EXPECT_TRUE(rowWhere(basket(db(), kOtherDealer), "SIRANO", foreign).has_value());
}

// --- orders ----------------------------------------------------------------------

TEST_F(OrdersTest, AnOrderTakesTheMarkedLinesOnly)
{
    emptyBaskets();
    const int first = addLine(dealer, plainItem(), 2);
    const int unmarked
        = addLine(dealer, anyStock(QStringLiteral("KAMPANYA = 0 AND MARKA = 'SKF'")));
    const int second
        = addLine(dealer, anyStock(QStringLiteral("KAMPANYA = 0 AND MARKA = 'NGK'")), 5);
    const int foreign = addLine(otherDealer, plainItem());
    for (int s : {first, second, foreign})
        setLineSelection(db(), s, 1);
    const TableData basketBefore = basket(db(), kDealer);

    const auto idno = placeOrder(db(), dealer, header());
    ASSERT_TRUE(idno.has_value());

    const TableData left = basket(db(), kDealer);
    ASSERT_EQ(left.rowCount(), 1u);
    EXPECT_EQ(cell(left, 0, "SIRANO").toInt(), unmarked);
    EXPECT_EQ(basket(db(), kOtherDealer).rowCount(), 1u);

    const TableData orders = previousOrders(db(), kDealer);
    ASSERT_GT(orders.rowCount(), 0u);
    EXPECT_EQ(cell(orders, 0, "IDNO").toInt(), *idno); // newest first
    EXPECT_EQ(cell(orders, 0, "DURUM").toString(), QStringLiteral("Alındı"));
    EXPECT_EQ(cell(orders, 0, "TESLIM").toString(), QStringLiteral("Depodan Teslim"));
    EXPECT_EQ(cell(orders, 0, "KARGO").toString(), QStringLiteral("Alıcı Ödemeli"));
    EXPECT_EQ(cell(orders, 0, "KARGOADI").toString(), QStringLiteral("ARAS KARGO"));
    EXPECT_EQ(cell(orders, 0, "VEREN").toString(), QStringLiteral("BAYI1"));
    EXPECT_EQ(cell(orders, 0, "VERENIDNO").toInt(), dealer.sirano);
    EXPECT_EQ(cell(orders, 0, "VERENINNOTU").toString(), header().aciklama);
    EXPECT_FALSE(rowWhere(previousOrders(db(), kOtherDealer), "IDNO", *idno).has_value());

    const TableData lines = orderLines(db(), kDealer, *idno);
    ASSERT_EQ(lines.rowCount(), 2u);
    double tutar = 0, net = 0;
    for (int s : {first, second}) {
        const auto r = rowWhere(lines, "SIRANO", s);
        ASSERT_TRUE(r.has_value()) << s;
        const std::size_t br = *rowWhere(basketBefore, "SIRANO", s);
        for (const char *c : {"STOKNO", "MIKTAR", "BIRIMFIYAT", "TUTAR", "NETTUTAR", "VERGITUTARI"})
            EXPECT_EQ(cell(lines, *r, c), cell(basketBefore, br, c)) << c;
        EXPECT_DOUBLE_EQ(cell(lines, *r, "KALAN").toDouble(), cell(lines, *r, "MIKTAR").toDouble());
        EXPECT_EQ(cell(lines, *r, "TESLIMEDILEN").toDouble(), 0.0);
        EXPECT_EQ(cell(lines, *r, "IDNO").toInt(), *idno);
        tutar += cell(lines, *r, "TUTAR").toDouble();
        net += cell(lines, *r, "NETTUTAR").toDouble();
    }
    EXPECT_DOUBLE_EQ(cell(orders, 0, "TUTAR").toDouble(), RoundTo2Decimals(tutar));
    EXPECT_DOUBLE_EQ(cell(orders, 0, "NETTUTAR").toDouble(), RoundTo2Decimals(net));
    EXPECT_EQ(orderLines(db(), kOtherDealer, *idno).rowCount(), 0u);

    const TableData open = openBalances(db(), kDealer);
    int mine = 0;
    for (std::size_t r = 0; r < open.rowCount(); ++r) {
        EXPECT_GT(cell(open, r, "KALAN").toDouble(), 0.0);
        mine += cell(open, r, "IDNO").toInt() == *idno;
    }
    EXPECT_EQ(mine, 2);
    const TableData itemLines = allOrderLines(db(), kDealer, plainItem());
    ASSERT_GT(itemLines.rowCount(), 0u);
    for (std::size_t r = 0; r < itemLines.rowCount(); ++r)
        EXPECT_EQ(cell(itemLines, r, "STOK_STOKNO").toInt(), plainItem());

    const auto footer = orderFooter(db(), 0, *idno);
    ASSERT_TRUE(footer.has_value());
    EXPECT_EQ(footer->sizinMesaj, header().aciklama);
    EXPECT_EQ(footer->durumu, QStringLiteral("Alındı"));
    EXPECT_EQ(footer->veren, QStringLiteral("BAYI1"));
    EXPECT_EQ(footer->kargo, QStringLiteral("ARAS KARGO"));
    EXPECT_EQ(footer->teslimCinsi, QStringLiteral("Depodan Teslim"));
    EXPECT_EQ(footer->kargoCinsi, QStringLiteral("Alıcı Ödemeli"));
    EXPECT_FALSE(orderFooter(db(), kOtherDealer, *idno).has_value());
    EXPECT_FALSE(orderFooter(db(), 0, 999999).has_value());
}

TEST_F(OrdersTest, RefusedOrdersWriteNothing)
{
    emptyBaskets();
    const int line = addLine(dealer, plainItem());
    OrderHeader wrongCarrier = header();
    wrongCarrier.kargoFirma = 6; // a carrier of cargo kind 3
    OrderHeader noDelivery = header();
    noDelivery.teslimid = 0;
    struct Case
    {
        const char *what;
        Caller who;
        OrderHeader h;
        bool marked;
    };
    const Case cases[] = {
        {"nothing marked", dealer, header(), false},
        {"carrier of another cargo kind", dealer, wrongCarrier, true},
        {"no delivery kind", dealer, noDelivery, true},
        {"another dealer's account", otherDealer, header(kDealer), true},
    };
    const int orders = orderCount(), lines = orderLineCount();
    for (const Case &c : cases) {
        setLineSelection(db(), line, c.marked ? 1 : 0);
        EXPECT_FALSE(placeOrder(db(), c.who, c.h).has_value()) << c.what;
        EXPECT_EQ(orderCount(), orders) << c.what;
        EXPECT_EQ(orderLineCount(), lines) << c.what;
        EXPECT_EQ(basket(db(), kDealer).rowCount(), 1u) << c.what;
    }
}

TEST_F(OrdersTest, AFailureWhileSavingLeavesBasketAndOrdersAsTheyWere)
{
    emptyBaskets();
    const int a = addLine(dealer, plainItem());
    const int failing = anyStock(QStringLiteral("KAMPANYA = 0 AND MARKA = 'SKF'"));
    const int b = addLine(dealer, failing);
    setLineSelection(db(), a, 1);
    setLineSelection(db(), b, 1);
    // The second order line cannot be written.
    devExec(db().connection(),
            QStringLiteral("CREATE TEMP TRIGGER fail_line BEFORE INSERT ON SIPARIS_SATIR "
                           "WHEN NEW.STOKNO = %1 BEGIN SELECT RAISE(ABORT, 'disk full'); END")
                .arg(failing));
    const int orders = orderCount(), lines = orderLineCount();

    EXPECT_THROW(placeOrder(db(), dealer, header()), Error);

    EXPECT_EQ(orderCount(), orders);
    EXPECT_EQ(orderLineCount(), lines);
    const TableData t = basket(db(), kDealer);
    ASSERT_EQ(t.rowCount(), 2u);
    for (std::size_t r = 0; r < t.rowCount(); ++r) {
        EXPECT_EQ(cell(t, r, "SEC").toInt(), 1);
        EXPECT_TRUE(cell(t, r, "SIPARISNO").isNull());
    }

    // Nothing was left half open: the next attempt goes through.
    devExec(db().connection(), QStringLiteral("DROP TRIGGER fail_line"));
    ASSERT_TRUE(placeOrder(db(), dealer, header()).has_value());
    EXPECT_EQ(orderLineCount(), lines + 2);
    EXPECT_EQ(basket(db(), kDealer).rowCount(), 0u);
}

// --- open balances ------------------------------------------------------------------

TEST_F(OrdersTest, OpenQuantityChangesAndDeletion)
{
    emptyBaskets();
    const int item = plainItem();
    addLine(dealer, item, 4);
    const int idno = *placeAll(dealer);
    const int stokhar
        = scalar(QStringLiteral("SELECT STOKHAR_NO FROM SIPARIS_SATIR WHERE IDNO = ?"), {idno})
              .toInt();
    auto kalan = [&]() -> std::optional<double> {
        const TableData t = openBalances(db(), kDealer);
        const auto r = rowWhere(t, "STOKHAR_NO", stokhar);
        if (!r)
            return std::nullopt;
        return cell(t, *r, "KALAN").toDouble();
    };
    ASSERT_EQ(kalan(), 4.0);

    EXPECT_EQ(changeBalance(db(), otherDealer, 0, stokhar, 2), 0);
    EXPECT_EQ(changeBalance(db(), dealer, item + 1, stokhar, 2), 0); // not this line's item
    EXPECT_EQ(changeBalance(db(), dealer, item, stokhar, 0), 0);
    EXPECT_EQ(changeBalance(db(), dealer, item, stokhar, 4), 0); // already so
    EXPECT_EQ(kalan(), 4.0);
    EXPECT_EQ(changeBalance(db(), dealer, item, stokhar, 2), 1);
    EXPECT_EQ(kalan(), 2.0);

    // The order's totals follow its lines.
    const TableData lines = orderLines(db(), kDealer, idno);
    const TableData orders = previousOrders(db(), kDealer);
    const std::size_t o = *rowWhere(orders, "IDNO", idno);
    EXPECT_DOUBLE_EQ(cell(orders, o, "TUTAR").toDouble(), cell(lines, 0, "TUTAR").toDouble());
    EXPECT_DOUBLE_EQ(cell(orders, o, "NETTUTAR").toDouble(), cell(lines, 0, "NETTUTAR").toDouble());

    EXPECT_EQ(deleteBalance(db(), otherDealer, item, stokhar), 0);
    EXPECT_EQ(kalan(), 2.0);
    EXPECT_EQ(deleteBalance(db(), dealer, item, stokhar), 1);
    EXPECT_FALSE(kalan().has_value());
    EXPECT_EQ(deleteBalance(db(), dealer, item, stokhar), 0);
    EXPECT_EQ(changeBalance(db(), dealer, item, stokhar, 3), 0); // nothing open any more
    const TableData after = orderLines(db(), kDealer, idno);
    ASSERT_EQ(after.rowCount(), 1u);
    EXPECT_EQ(cell(after, 0, "KALAN").toDouble(), 0.0);
}

TEST_F(OrdersTest, OnlyWiderRightsChangeAnOpenLinesPrice)
{
    emptyBaskets();
    addLine(dealer, plainItem(), 2);
    const int idno = *placeAll(dealer);
    const int stokhar
        = scalar(QStringLiteral("SELECT STOKHAR_NO FROM SIPARIS_SATIR WHERE IDNO = ?"), {idno})
              .toInt();
    const struct
    {
        const char *what;
        Caller who;
        double fiyat, ind;
        int result;
    } cases[] = {
        {"dealer", dealer, 200, 10, 0},
        {"salesperson without wider rights", plainSalesperson, 200, 10, 0},
        {"discount above 100", salesperson, 200, 120, 0},
        {"negative price", salesperson, -1, 10, 0},
        {"wider rights", salesperson, 200, 10, 1},
        {"same again", salesperson, 200, 10, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(changeBalancePrice(db(), c.who, 0, stokhar, c.fiyat, c.ind), c.result) << c.what;
    const TableData t = orderLines(db(), kDealer, idno);
    EXPECT_DOUBLE_EQ(cell(t, 0, "BIRIMFIYAT").toDouble(), 200.0);
    EXPECT_DOUBLE_EQ(cell(t, 0, "NETBIRIMFIYAT").toDouble(), 180.0);
    EXPECT_EQ(cell(t, 0, "INDIRIMYAZI").toString(), QStringLiteral("%10"));
    EXPECT_DOUBLE_EQ(cell(t, 0, "NETTUTAR").toDouble(), 360.0);
}

// --- overdue warning -------------------------------------------------------------------

TEST_F(OrdersTest, OverdueWarningCountsUnpaidDebtsPastTheirDueDate)
{
    const double today = scalar(QStringLiteral("SELECT MAX(TARIH) FROM CARI_HAREKET")).toDouble();
    const struct
    {
        const char *what;
        std::vector<std::array<double, 3>> entries; // debit, credit, due in days from today
        QString warning;
    } cases[] = {
        {"nothing owed", {}, QString()},
        {"paid in full", {{1000, 0, -90}, {0, 1000, -10}}, QString()},
        {"due later", {{1000, 0, 30}}, QString()},
        {"partly paid, oldest first",
         {{1000, 0, -90}, {2500, 0, 20}, {0, 400, -10}},
         QStringLiteral("Vadesi geçmiş 600,00 TL bakiyeniz bulunmaktadır. Lütfen ödeme yapınız.")},
        {"thousands",
         {{12345.67, 0, -5}},
         QStringLiteral("Vadesi geçmiş 12.345,67 TL bakiyeniz bulunmaktadır. Lütfen ödeme "
                        "yapınız.")},
    };
    for (const auto &c : cases) {
        devExec(db().connection(), QStringLiteral("DELETE FROM CARI_HAREKET WHERE CARINO = 1040"));
        DevQuery ins(db().connection(),
                     QStringLiteral("INSERT INTO CARI_HAREKET (CARINO, TARIH, TURADI, BORC, "
                                    "ALACAK, VADE) VALUES (1040, ?, 'Test', ?, ?, ?)"));
        for (const auto &e : c.entries)
            ins.execWith({today - 100, e[0], e[1], today + e[2]});
        EXPECT_EQ(overdueWarning(db(), 1040), c.warning) << c.what;
    }
}

TEST_F(OrdersTest, SomeDemoAccountsHaveAnOverdueWarning)
{
    int warned = 0;
    for (int carino = kDealer; carino < kDealer + 8; ++carino)
        warned += !overdueWarning(db(), carino).isEmpty();
    EXPECT_GT(warned, 0);
    EXPECT_LT(warned, 8);
}

// --- over the wire ---------------------------------------------------------------

namespace {

using wire::Value;
using WT = wire::WireType;

// The registered methods in-process, called with the parameters in the order
// the client sends them.
class OrdersWireTest : public OrdersTest
{
protected:
    void SetUp() override
    {
        OrdersTest::SetUp();
        devmethods::registerCatalogueAndOrderMethods(m_rpc, db(), DevServerOptions{});
        m_rpc.start("127.0.0.1", 0);
        m_conn.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
        m_conn.params()[QStringLiteral("Port")] = QString::number(m_rpc.port());
        m_conn.open();
    }
    void TearDown() override { m_rpc.stop(); }

    Value login(const char *machineId, int carino = 0)
    {
        const DevLoginRecord r = db().loginRecord(QString::fromLatin1(machineId), false);
        TSonucBilgisi b;
        b.setSirano(r.Sirano);
        b.setBILGISAYARID(r.BILGISAYARID);
        b.setCARINO(carino ? carino : r.CARINO);
        b.setMusteriTipi(r.MusteriTipi);
        return Value::object(wire::marshal(&b));
    }

    // The result (or the return value after the inputs) of one call.
    Value call(const char *method, const std::vector<Value> &in, WT result)
    {
        std::vector<WT> types;
        for (const Value &v : in)
            types.push_back(v.type);
        auto cmd = m_conn.DBXConnection_()->CreateCommand();
        cmd->CommandType = QStringLiteral("DataSnap.ServerMethod");
        cmd->Text = QStringLiteral("TServerMethods1.") + QString::fromLatin1(method);
        cmd->Prepare(types, {}, result);
        for (std::size_t i = 0; i < in.size(); ++i)
            cmd->Parameter(int(i)).value() = in[i];
        cmd->ExecuteUpdate();
        return result == WT::None ? Value() : cmd->Parameter(int(in.size())).value();
    }

    // SepetEkle2 and SepetGuncelle2: the eleventh argument is the campaign flag
    // or the basket line.
    std::vector<Value> lineArgs(int stokno, double miktar, double fiyat, int eleventh)
    {
        return {login("DEMO-SATICI-0003", kDealer),
                Value::integer(kDealer),
                Value::integer(stokno),
                Value::string(QStringLiteral("BARKOD")),
                Value::string(QStringLiteral("ADI")),
                Value::dbl(miktar),
                Value::dbl(20),
                Value::dbl(fiyat),
                Value::dbl(10),
                Value::integer(salesperson.sirano),
                Value::integer(eleventh),
                Value::dbl(5),
                Value::dbl(0),
                Value::dbl(0)};
    }

    rpc::RpcServer m_rpc;
    SQLConnection m_conn;
};

} // namespace

TEST_F(OrdersWireTest, BasketToOrderToBalancesWithTheClientsArguments)
{
    emptyBaskets();
    const int item = plainItem();
    ASSERT_EQ(call("SepetEkle2", lineArgs(item, 3, 100, 0), WT::Integer).i, 1);
    Value b = call("SepetVer2", {Value::integer(kDealer)}, WT::DataPacket);
    ASSERT_TRUE(b.table);
    ASSERT_EQ(b.table->rowCount(), 1u);
    const int sirano = cell(*b.table, 0, "SIRANO").toInt();
    EXPECT_DOUBLE_EQ(cell(*b.table, 0, "NETTUTAR").toDouble(), 256.5); // 100 x 3, %10+%5

    ASSERT_EQ(call("SepetGuncelle2", lineArgs(0, 4, 100, sirano), WT::Integer).i, 1);
    call("SepetSecimGuncelle", {Value::integer(sirano), Value::integer(1)}, WT::None);
    b = call("SepetVer2", {Value::integer(kDealer)}, WT::DataPacket);
    EXPECT_DOUBLE_EQ(cell(*b.table, 0, "MIKTAR").toDouble(), 4.0);
    EXPECT_EQ(cell(*b.table, 0, "SEC").toInt(), 1);

    const Value carriers = call("KargolarVer", {Value::integer(3)}, WT::Reader);
    ASSERT_TRUE(carriers.table);
    const int carrier = cell(*carriers.table, 0, "SIRANO").toInt();
    const Value saved = call("SiparisKaydet",
                             {login("DEMO-BAYI-0001"),
                              Value::integer(kDealer),
                              Value::integer(1),
                              Value::integer(3),
                              Value::string(QStringLiteral("Not")),
                              Value::integer(dealer.sirano),
                              Value::integer(carrier)},
                             WT::Boolean);
    EXPECT_TRUE(saved.b);
    EXPECT_EQ(call("SepetVer2", {Value::integer(kDealer)}, WT::DataPacket).table->rowCount(), 0u);

    const Value orders = call("OncekiSiparisler", {Value::integer(kDealer)}, WT::Reader);
    const int idno = cell(*orders.table, 0, "IDNO").toInt();
    const Value footer
        = call("SiparisAytintisiDip", {Value::integer(0), Value::integer(idno)}, WT::Object);
    const auto f = wire::unmarshalAs<TSiparisDipAyrinti>(footer.json);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->SizinMesaj(), QStringLiteral("Not"));
    EXPECT_EQ(f->Kargo(), cell(*carriers.table, 0, "ADI").toString());
    EXPECT_TRUE(call("SiparisAytintisiDip", {Value::integer(0), Value::integer(999999)}, WT::Object)
                    .isNullObject());

    const Value open = call("BakiyelerVer2", {Value::integer(kDealer)}, WT::Reader);
    const auto row = rowWhere(*open.table, "IDNO", idno);
    ASSERT_TRUE(row.has_value());
    const int stokhar = cell(*open.table, *row, "STOKHAR_NO").toInt();
    auto balanceArgs = [&](double adet) {
        return std::vector<Value>{login("DEMO-SATICI-0003", kDealer),
                                  Value::integer(0),
                                  Value::integer(sirano),
                                  Value::integer(stokhar),
                                  Value::dbl(adet),
                                  Value::dbl(adet),
                                  Value::string(QStringLiteral("BARKOD"))};
    };
    EXPECT_EQ(call("BakiyeDegistir", balanceArgs(2), WT::Integer).i, 1);
    std::vector<Value> price = balanceArgs(2);
    price.push_back(Value::dbl(50));
    price.push_back(Value::dbl(20));
    EXPECT_EQ(call("BakiyeFiyatDegistir", price, WT::Integer).i, 1);
    const Value lines
        = call("SiparisAyrintisi2", {Value::integer(kDealer), Value::integer(idno)}, WT::Reader);
    EXPECT_DOUBLE_EQ(cell(*lines.table, 0, "KALAN").toDouble(), 2.0);
    EXPECT_DOUBLE_EQ(cell(*lines.table, 0, "NETBIRIMFIYAT").toDouble(), 40.0);
    EXPECT_EQ(call("BakiyeDuzenle", balanceArgs(2), WT::Integer).i, 1);
    EXPECT_EQ(call("TumSiparislerVer", {Value::integer(kDealer), Value::integer(item)}, WT::Reader)
                  .table->rowCount(),
              allOrderLines(db(), kDealer, item).rowCount());
}
