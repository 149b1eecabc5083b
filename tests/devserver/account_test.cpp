#include "accountqueries.h"
#include "database.h"
#include "promotionqueries.h"
#include "seed.h"
#include "sqlutil.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace qv;

namespace {

class AccountTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        DevDatabaseOptions o;
        o.path = s_dir->filePath(QStringLiteral("account.sqlite"));
        o.stockCount = 300;
        s_db = new DevDatabase(o);
    }
    static void TearDownTestSuite()
    {
        delete s_db;
        delete s_dir;
        s_db = nullptr;
        s_dir = nullptr;
    }

    static DevDatabase &db() { return *s_db; }
    static QVariant scalar(const QString &sql, std::initializer_list<QVariant> args = {})
    {
        return devScalar(s_db->connection(), sql, args);
    }
    static DevViewer viewer(const char *machine)
    {
        return viewerByMachine(db(), QString::fromLatin1(machine));
    }

    static inline QTemporaryDir *s_dir = nullptr;
    static inline DevDatabase *s_db = nullptr;
};

QStringList columnsOf(const TableData &t)
{
    QStringList names;
    for (const FieldDef &f : t.fieldDefs())
        names << f.name;
    return names;
}

QStringList split(const char *list)
{
    return QString::fromUtf8(list).split(QStringLiteral(", "));
}

double sumOf(const TableData &t, const char *column)
{
    const int col = t.indexOf(QString::fromLatin1(column));
    double s = 0;
    for (std::size_t r = 0; r < t.rowCount(); ++r)
        s += t.value(r, col).toDouble();
    return s;
}

// A PDF file in outline: header, trailer, a cross-reference table where
// startxref says, and at least one page.
void expectPdf(const QByteArray &pdf)
{
    ASSERT_TRUE(pdf.startsWith("%PDF-")) << pdf.left(16).toStdString();
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    const qsizetype sx = pdf.lastIndexOf("startxref");
    ASSERT_GT(sx, 0);
    const qsizetype xref = pdf.mid(sx + 9).trimmed().split('\n').value(0).trimmed().toLongLong();
    ASSERT_GT(xref, 0);
    EXPECT_TRUE(pdf.mid(xref).startsWith("xref"));
    EXPECT_TRUE(pdf.contains("/Type /Page\n") || pdf.contains("/Type /Page\r")
                || pdf.contains("/Type /Page ") || pdf.contains("/Type/Page"))
        << "no page object";
    EXPECT_GT(pdf.size(), 1000);
}

} // namespace

TEST_F(AccountTest, TableResultsCarryTheirColumnsInOrder)
{
    const DevViewer boss = viewer("DEMO-SATICI-0003");
    const int invoice
        = scalar(QStringLiteral("SELECT MIN(IDNO) FROM FATURA WHERE CARINO = 1001")).toInt();
    const int collection
        = scalar(QStringLiteral("SELECT MIN(IDNO) FROM TAHSILAT WHERE CARINO = 1001")).toInt();
    const char *invoiceColumns
        = "OEMNO, STOKADI, FINISHKOD, MARKA, MODEL, ANAGRUP, OZELKOD, BIRIM, BARKOD, "
          "STOKHAR_HAREKETTARIHI, STOKHAR_HAREKETTIPI2, EVRAKNO, STOKHAR_MIKTAR, "
          "STOKHAR_TLBIRIMFIYATI, STOKHAR_TLVERGI, STOKHAR_TLTUTAR, STOKHAR_INDIRIM1, "
          "STOKHAR_INDIRIM2, STOKHAR_INDIRIM3, STOKHAR_INDIRIM4, STOKHAR_INDIRIM5, "
          "STOKHAR_INDIRIM6, STOKHAR_INDIRIM7, STOKHAR_INDIRIM8, STOKHAR_DOVIZBIRIMFIYATI, "
          "STOKHAR_DOVIZVERGI, STOKHAR_DOVIZTUTAR, IRSALIYEEVRAKNO, STOKHAR_IRSTARIHI, KDV, "
          "STOKHAR_PARTI, STOKHAR_BEDEN, STOKHAR_RENK, SATIRACIKLMASI, STOKHAR_TOPLAMINDIRIM, "
          "STOKHAR_MASRAF1, STOKHAR_MASRAF2, STOKHAR_TOPLAMMASRAF, STOKHAR_DOVIZTOPLAMINDIRIM, "
          "STOKHAR_DOVIZTOPLAMMASRAF, STOKHAR_SAAT, STOKHAR_NETTLBIRIMFIYATI, "
          "STOKHAR_NETDOVIZBIRIMFIYATI, STOKHAR_NETTLTUTAR, STOKHAR_NETDOVIZTUTAR, "
          "STOKHAR_KURTL, STOKHAR_VADE, SIPARISTIPI, SIPARISEVRAKNO, SIPARISTARIHI, "
          "IRSALIYETIPINO, IRSALIYETIP2, STOKCARIKOD, SUBE_NO, STOKHAR_CARINO, KUR_KURSIMGE, "
          "SATICIADI, URETICIKODU, DPKOD, ENADI, PKOD, BELGENO, IDNO";
    const char *customerColumns
        = "CARINO, CARIKOD, CARIADI, SATICISI, TLBAKIYE, DURUM, OZELKOD, KOD1, KOD2, KOD3, "
          "KOD4, KOD5, TEL1, TEL2, ILCE, IL, GSM, SEPET, YETKILI, INDIRIM, VADE, "
          "VADEKONTROLGUN, VADEKONTROLAY, VERGIDAIRESI, VERGINO, ADRES1, ADRES2, ANAGRUP, "
          "ALTGRUP, FAX1, FAX2, EMAIL, ALINDI, ONAYLANDI, GORULDU, HAZIRLANDI, "
          "PARCALIHAZIRLANDI";
    struct Case
    {
        const char *what;
        TableData table;
        const char *columns;
        bool rows;
    };
    const Case cases[] = {
        {"CariEkstreVer",
         accountStatement(db(), 1001),
         "CARINO, TARIH, TURADI, EVRAK, BORC, ALACAK, KUR, BAKIYE, D, IDNO, ACIKLAMA",
         true},
        {"FaturaGetir", invoiceLines(db(), 1001, invoice), invoiceColumns, true},
        {"FaturaAltGetir",
         invoiceTotals(db(), invoice),
         "TOPLAM, TOPLAMINDIRIM, MATRAH, KDVDAHIL, KDVTUTAR",
         true},
        {"Tahsilat",
         collectionEntries(db(), collection),
         "Tarih, Türü, Cins, EvrakNo, Vade, Tutar, Kur, KurTL, Açıklama, Döviz Tutar, Ref, Saat",
         true},
        {"CariAra", searchCustomers(db(), boss, QString()), customerColumns, true},
        {"CariSepetVer", customersByStatus(db(), boss, 1), customerColumns, true},
        {"CariSepetVer unknown code", customersByStatus(db(), boss, 99), customerColumns, false},
        {"RaporAlinanSiparisler",
         ordersReceivedReport(db(), boss, 0, 1e6),
         "SATICIADI, IDNO, CARINO, TARIH, KUR, KURTL, VERENIDNO, KARGO, TESLIM, VEREN, CARIKOD, "
         "CARIADI, DURUM, KARGOADI, VERGI, NETTUTAR, TUTAR",
         true},
        {"RaporEnCokSatilanStoklar",
         stockSoldReport(db(), boss, 0, 1e6),
         "BARKOD, KOD, ADI, DEPARTMAN, MIKTAR, NETTUTAR, TLVERGI, TUTAR",
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(columnsOf(c.table), split(c.columns));
        EXPECT_EQ(c.table.rowCount() > 0, c.rows);
    }
}

TEST_F(AccountTest, ReportFieldsHaveTheTypesTheReportsWindowDeclares)
{
    const DevViewer boss = viewer("DEMO-SATICI-0003");
    const TableData orders = ordersReceivedReport(db(), boss, 0, 1e6);
    const std::vector<std::pair<const char *, FieldType>> expected
        = {{"SATICIADI", FieldType::String},
           {"IDNO", FieldType::Float},
           {"CARINO", FieldType::Integer},
           {"TARIH", FieldType::DateTime},
           {"KURTL", FieldType::Float},
           {"VERENIDNO", FieldType::Integer},
           {"CARIADI", FieldType::String},
           {"TUTAR", FieldType::Float}};
    for (const auto &[name, type] : expected)
        EXPECT_EQ(orders.fieldDef(orders.indexOf(QString::fromLatin1(name))).type, type) << name;
    const TableData stock = stockSoldReport(db(), boss, 0, 1e6);
    for (int i = 0; i < stock.fieldCount(); ++i)
        EXPECT_EQ(stock.fieldDef(i).type, i < 4 ? FieldType::String : FieldType::Float);
}

TEST_F(AccountTest, StatementAgreesWithInvoicesAndCollections)
{
    const TableData st = accountStatement(db(), 1001);
    const int turadi = st.indexOf(u"TURADI");
    const int idno = st.indexOf(u"IDNO");
    int invoices = 0, collections = 0;
    for (std::size_t r = 0; r < st.rowCount(); ++r) {
        const QString kind = st.value(r, turadi).toString();
        const int id = st.value(r, idno).toInt();
        const double borc = st.value(r, st.indexOf(u"BORC")).toDouble();
        const double alacak = st.value(r, st.indexOf(u"ALACAK")).toDouble();
        EXPECT_EQ(st.value(r, st.indexOf(u"D")).toString(), QStringLiteral(" "));
        if (kind.contains(QStringLiteral("Fatura"))) {
            ++invoices;
            const TableData totals = invoiceTotals(db(), id);
            ASSERT_EQ(totals.rowCount(), 1u);
            EXPECT_DOUBLE_EQ(totals.value(0, totals.indexOf(u"KDVDAHIL")).toDouble(), borc);
            const TableData lines = invoiceLines(db(), 1001, id);
            ASSERT_GT(lines.rowCount(), 0u);
            EXPECT_NEAR(sumOf(lines, "STOKHAR_NETTLTUTAR"),
                        totals.value(0, totals.indexOf(u"MATRAH")).toDouble(),
                        0.005);
            EXPECT_NEAR(sumOf(lines, "STOKHAR_TLTUTAR"),
                        totals.value(0, totals.indexOf(u"TOPLAM")).toDouble(),
                        0.005);
            // Another account cannot read the invoice.
            EXPECT_EQ(invoiceLines(db(), 1002, id).rowCount(), 0u);
        } else if (kind == QStringLiteral("Tahsilat")) {
            ++collections;
            const TableData t = collectionEntries(db(), id);
            ASSERT_EQ(t.rowCount(), 1u);
            EXPECT_DOUBLE_EQ(t.value(0, t.indexOf(u"Tutar")).toDouble(), alacak);
        }
    }
    EXPECT_EQ(invoices,
              scalar(QStringLiteral("SELECT COUNT(*) FROM FATURA WHERE CARINO = 1001")).toInt());
    EXPECT_EQ(collections,
              scalar(QStringLiteral("SELECT COUNT(*) FROM TAHSILAT WHERE CARINO = 1001")).toInt());

    const double balance = sumOf(st, "BORC") - sumOf(st, "ALACAK");
    EXPECT_EQ(accountBalanceText(db(), 1001),
              QString::number(std::round(balance * 100) / 100, 'f', 2));
    const auto details = customerDetails(db(), QStringLiteral("DEMO-BAYI-0001"));
    ASSERT_TRUE(details);
    EXPECT_EQ(details->CARINO(), 1001);
    EXPECT_EQ(details->KULLANICIADI(), QStringLiteral("BAYI1"));
    EXPECT_NEAR(details->TLBAKIYE(), balance, 0.005);
    EXPECT_FALSE(customerDetails(db(), QStringLiteral("NO-SUCH-PC")));
    EXPECT_THROW(accountBalanceText(db(), 999999), std::exception);
}

TEST_F(AccountTest, DocumentsAreRealPdfFiles)
{
    const int card = scalar(QStringLiteral("SELECT MIN(IDNO) FROM TAHSILAT WHERE "
                                           "SANALPOSSIRANO IS NOT NULL"))
                         .toInt();
    const int cash = scalar(QStringLiteral("SELECT MIN(IDNO) FROM TAHSILAT WHERE "
                                           "SANALPOSSIRANO IS NULL"))
                         .toInt();
    const int receipt = collectionReceiptNo(db(), card);
    ASSERT_GT(receipt, 0);
    EXPECT_EQ(collectionReceiptNo(db(), cash), 0);
    const QByteArray pdf = collectionReceiptPdf(db(), receipt);
    expectPdf(pdf);
    EXPECT_EQ(collectionReceiptPdf(db(), receipt), pdf); // the same document every time
    EXPECT_TRUE(collectionReceiptPdf(db(), 0).isEmpty());
    EXPECT_TRUE(collectionReceiptPdf(db(), 987654).isEmpty());

    const int boss = viewer("DEMO-SATICI-0003").sirano;
    const DevViewer one = viewer("DEMO-SATICI-0001");
    const int foreign
        = scalar(QStringLiteral("SELECT MIN(CARINO) FROM CARI WHERE SATICINO <> ?"), {one.saticiNo})
              .toInt();
    const double day = scalar(QStringLiteral("SELECT MAX(TARIH) FROM CARI_HAREKET")).toDouble();
    struct Case
    {
        const char *what;
        QByteArray bytes;
        bool document;
    };
    const Case cases[] = {
        {"summary", accountReportPdf(db(), 6, boss, 1001, QStringLiteral("X"), day, day), true},
        {"receivables", accountReportPdf(db(), 6, boss, 0, QStringLiteral("."), day, day), true},
        {"sales table", accountReportPdf(db(), 7, boss, 1001, QString(), day - 365, day), true},
        {"unknown report", accountReportPdf(db(), 5, boss, 1001, QString(), day, day), false},
        {"unknown user", accountReportPdf(db(), 6, 987654, 1001, QString(), day, day), false},
        {"another's customer",
         accountReportPdf(db(), 6, one.sirano, foreign, QString(), day, day),
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.document)
            expectPdf(c.bytes);
        else
            EXPECT_TRUE(c.bytes.isEmpty());
    }
}

TEST_F(AccountTest, OpeningScreensCarryTheirJpegAsUpperCaseHex)
{
    const int count = openingScreenCount(db());
    EXPECT_EQ(count,
              scalar(QStringLiteral("SELECT COUNT(*) FROM ACILIS_EKRAN WHERE ACILIS = 1")).toInt());
    ASSERT_GT(count, 0);
    for (int i = 0; i < count; ++i) {
        const auto s = openingScreen(db(), i);
        ASSERT_TRUE(s);
        const QString hex = s->Resim();
        EXPECT_EQ(hex, hex.toUpper());
        EXPECT_EQ(hex.size() % 2, 0);
        const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
        EXPECT_EQ(bytes.size() * 2, hex.size()); // every character a digit
        const QImage image = QImage::fromData(bytes, "JPEG");
        EXPECT_FALSE(image.isNull()) << i;
        EXPECT_FALSE(s->Baslik().isEmpty());
    }
    EXPECT_FALSE(openingScreen(db(), count));
    EXPECT_FALSE(openingScreen(db(), -1));
    const auto all = announcementScreens(db());
    EXPECT_EQ(int(all->Ekranlar().size()),
              scalar(QStringLiteral("SELECT COUNT(*) FROM ACILIS_EKRAN")).toInt());
    EXPECT_EQ(hexText(QByteArray("\x00\x4a\xff", 3)), QStringLiteral("004AFF"));
}

TEST_F(AccountTest, BannersAndTickerHaveTheirFormats)
{
    EXPECT_TRUE(bannerPicture(db(), 1).startsWith("GIF89a"));
    EXPECT_TRUE(bannerPicture(db(), 2).startsWith("GIF89a"));
    EXPECT_TRUE(bannerPicture(db(), 3).startsWith("BM"));
    EXPECT_TRUE(bannerPicture(db(), 4).isEmpty());
    const QString ticker = tickerText(db());
    for (const char *part : {"<FONT COLOR=", "<B>", "&amp;", "&nbsp;", "<A HREF=", "</A>"})
        EXPECT_TRUE(ticker.contains(QString::fromLatin1(part))) << part;
}

TEST_F(AccountTest, CountersCountTheRows)
{
    const DevViewer dealer = viewer("DEMO-BAYI-0001");
    const DevViewer noCampaigns = viewer("DEMO-BAYI-0004");
    const TableData b = balloonCounters(db(), dealer, 1001);
    ASSERT_EQ(b.rowCount(), 1u);
    EXPECT_EQ(b.fieldDef(4).type, FieldType::Float);
    EXPECT_EQ(b.value(0, 0).toInt(),
              scalar(QStringLiteral("SELECT COUNT(*) FROM SEPET WHERE CARINO = 1001 AND "
                                    "SIPARISNO IS NULL"))
                  .toInt());
    EXPECT_EQ(b.value(0, 1).toInt(),
              scalar(QStringLiteral("SELECT COUNT(*) FROM STOK WHERE YENI = 1")).toInt());
    EXPECT_EQ(b.value(0, 2).toInt(),
              scalar(QStringLiteral("SELECT COUNT(*) FROM STOK WHERE KAMPANYA = 1")).toInt());
    EXPECT_EQ(b.value(0, 3).toInt(),
              scalar(QStringLiteral("SELECT COUNT(*) FROM ACILIS_EKRAN")).toInt());
    EXPECT_DOUBLE_EQ(b.value(0, 4).toDouble(),
                     scalar(QStringLiteral("SELECT COUNT(*) FROM SIPARIS_SATIR l JOIN SIPARIS o ON "
                                           "o.IDNO = l.IDNO WHERE o.CARINO = 1001 AND l.MIKTAR > "
                                           "l.TESLIMEDILEN"))
                         .toDouble());
    EXPECT_GT(b.value(0, 0).toInt() + b.value(0, 4).toInt(), 0);
    EXPECT_EQ(balloonCounters(db(), noCampaigns, 1004).value(0, 2).toInt(), 0);
    // A dealer asking for another account's figures gets none.
    EXPECT_EQ(balloonCounters(db(), dealer, 1002).value(0, 0).toInt(), 0);

    const DevViewer boss = viewer("DEMO-SATICI-0003");
    EXPECT_EQ(
        customersWithBasket(db(), boss),
        scalar(QStringLiteral("SELECT COUNT(DISTINCT CARINO) FROM SEPET WHERE SIPARISNO IS NULL"))
            .toInt());
    const TTusSonuclari counts = orderStatusCounts(db(), boss);
    const int byStatus[] = {counts.Alindi(),
                            counts.Onaylandi(),
                            counts.Goruldu(),
                            counts.ParcaliHazirlandi(),
                            counts.Hazirlandi(),
                            counts.SevkEdildi()};
    const char *columnOfCode[]
        = {"ALINDI", "ONAYLANDI", "GORULDU", "PARCALIHAZIRLANDI", "HAZIRLANDI", nullptr};
    for (int status = 1; status <= 6; ++status) {
        SCOPED_TRACE(status);
        EXPECT_EQ(byStatus[status - 1],
                  scalar(QStringLiteral("SELECT COUNT(*) FROM SIPARIS WHERE DURUMNO = ?"), {status})
                      .toInt());
        // List code status + 1 names the customers behind that count.
        const TableData list = customersByStatus(db(), boss, status + 1);
        EXPECT_EQ(
            int(list.rowCount()),
            scalar(QStringLiteral("SELECT COUNT(DISTINCT CARINO) FROM SIPARIS WHERE DURUMNO = ?"),
                   {status})
                .toInt());
        if (const char *col = columnOfCode[status - 1]) {
            double total = sumOf(list, col);
            EXPECT_EQ(int(total), byStatus[status - 1]);
        }
    }
    const TableData baskets = customersByStatus(db(), boss, 1);
    EXPECT_EQ(int(baskets.rowCount()), customersWithBasket(db(), boss));
    for (std::size_t r = 0; r < baskets.rowCount(); ++r)
        EXPECT_GT(baskets.value(r, baskets.indexOf(u"SEPET")).toInt(), 0);
}

TEST_F(AccountTest, SalespeopleSeeTheirOwnCustomersUnlessWiderRights)
{
    const DevViewer one = viewer("DEMO-SATICI-0001");
    ASSERT_TRUE(one.known);
    const QString ownName
        = scalar(QStringLiteral("SELECT ADI FROM SATICI WHERE SATICINO = ?"), {one.saticiNo})
              .toString();
    struct Case
    {
        const char *machine;
        int expected;
    };
    const Case cases[] = {
        {"DEMO-SATICI-0001",
         scalar(QStringLiteral("SELECT COUNT(*) FROM CARI WHERE SATICINO = ?"), {one.saticiNo})
             .toInt()},
        {"DEMO-SATICI-0003", scalar(QStringLiteral("SELECT COUNT(*) FROM CARI")).toInt()},
        {"DEMO-BAYI-0001", 1},
        {"DEMO-SATICI-0005", 0}, // inactive
        {"NO-SUCH-PC", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.machine);
        const DevViewer v = viewer(c.machine);
        const TableData all = searchCustomers(db(), v, QString());
        EXPECT_EQ(int(all.rowCount()), c.expected);
        EXPECT_LE(customersWithBasket(db(), v), c.expected);
    }
    const TableData mine = searchCustomers(db(), one, QString());
    for (std::size_t r = 0; r < mine.rowCount(); ++r)
        EXPECT_EQ(mine.value(r, mine.indexOf(u"SATICISI")).toString(), ownName);
    const int foreign
        = scalar(QStringLiteral("SELECT MIN(CARINO) FROM CARI WHERE SATICINO <> ?"), {one.saticiNo})
              .toInt();
    EXPECT_FALSE(viewerSeesAccount(db(), one, foreign));
    EXPECT_TRUE(viewerSeesAccount(db(), viewer("DEMO-SATICI-0003"), foreign));
    const TableData dealer = searchCustomers(db(), viewer("DEMO-BAYI-0001"), QString());
    EXPECT_EQ(dealer.value(0, 0).toInt(), 1001);
}

TEST_F(AccountTest, CustomerSearchFoldsTurkishLetters)
{
    const DevViewer boss = viewer("DEMO-SATICI-0003");
    const QString name
        = scalar(QStringLiteral("SELECT CARIADI FROM CARI WHERE CARINO = 1001")).toString();
    const QString code
        = scalar(QStringLiteral("SELECT CARIKOD FROM CARI WHERE CARINO = 1001")).toString();
    const QString firstWord = name.section(u' ', 0, 0);
    const QStringList texts = {firstWord.toLower(),
                               firstWord.toUpper().replace(u'I', u'i'),
                               code,
                               QStringLiteral("1001"),
                               QStringLiteral("  ") + firstWord + QStringLiteral(" ")};
    for (const QString &t : texts) {
        SCOPED_TRACE(t.toStdString());
        const TableData found = searchCustomers(db(), boss, t);
        std::set<int> carinos;
        for (std::size_t r = 0; r < found.rowCount(); ++r)
            carinos.insert(found.value(r, 0).toInt());
        EXPECT_TRUE(carinos.count(1001));
    }
    EXPECT_EQ(searchCustomers(db(), boss, QStringLiteral("ZZQXW NOTHING")).rowCount(), 0u);
}

TEST_F(AccountTest, MailsAreStoredWithEveryFieldAsSent)
{
    DevMail m;
    m.tur = 0;
    m.bilgisayarId = QStringLiteral("DEMO-BAYI-0001");
    m.baslik = QStringLiteral("<b>Fatura</b> & \"iade\" talebi, acil");
    m.firmaAdi = QStringLiteral("ÖZ TİCARET OTO YEDEK PARÇA LTD. ŞTİ.");
    m.adres1 = QStringLiteral("Çarşı Mah. Gül Sok. No:5/3");
    m.adres2 = QString();
    m.ilce = QStringLiteral("Üsküdar");
    m.sehir = QStringLiteral("İSTANBUL");
    m.telefon = QStringLiteral("0216 555 12 34");
    m.fax = QStringLiteral("  ");
    m.vd = QStringLiteral("Kısıklı");
    m.vn = QStringLiteral("1234567890");
    m.yetkili = QStringLiteral("Ayşe Çelik");
    m.kullaniciAdi = QStringLiteral("BAYI1");
    m.sifre = QStringLiteral("ş'1\"2;--");
    m.mail = QStringLiteral("ayse@example.com");
    m.kargoAmbar = QStringLiteral("Aras, Yurtiçi");
    m.konu = QStringLiteral("a,\"b c\",\"d \"\"e\"\"\"\r\nikinci satır\nüçüncü");
    DevMail request = m;
    request.tur = 1;
    request.baslik = QStringLiteral("Şifre Değiştirme İsteği");
    request.konu = QString();

    const std::size_t before = receivedMails(db()).size();
    const int first = storeMail(db(), m);
    const int second = storeMail(db(), request);
    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
    const std::vector<DevMail> mails = receivedMails(db());
    ASSERT_EQ(mails.size(), before + 2);
    for (const auto &[sent, stored] :
         {std::pair{m, mails[before]}, std::pair{request, mails[before + 1]}}) {
        DevMail expected = sent;
        expected.sirano = stored.sirano;
        expected.tarih = stored.tarih;
        EXPECT_EQ(stored, expected) << stored.baslik.toStdString();
        EXPECT_GT(stored.tarih, 45000.0); // a day number of this century
    }
    EXPECT_EQ(mails[before].sirano, first);
}
