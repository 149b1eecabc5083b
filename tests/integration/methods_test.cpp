// Every server method the client calls, once, through the real transport
// against the development server: the kind of result and, for tables, the
// columns the client binds or reads.

#include "devserverfixture.h"

#include "baglantiu.h"
#include "connection.h"
#include "dataset.h"
#include "errors.h"
#include "mobilstokunit.h"
#include "proxim.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

using qv::FieldType;

namespace {

enum class Kind { Integer, Boolean, String, Object, DataPacket, Reader, Stream, None };

const char *kindName(Kind k)
{
    switch (k) {
    case Kind::Integer:
        return "Integer";
    case Kind::Boolean:
        return "Boolean";
    case Kind::String:
        return "string";
    case Kind::Object:
        return "object";
    case Kind::DataPacket:
        return "data packet";
    case Kind::Reader:
        return "reader";
    case Kind::Stream:
        return "stream";
    case Kind::None:
        return "none";
    }
    return "?";
}

// What one call gave, copied out before its proxy goes.
struct Outcome
{
    Kind kind = Kind::None;
    bool objectPresent = false;
    std::vector<qv::FieldDef> columns;
    std::int64_t announced = 0;
    std::optional<QByteArray> bytes;
};

Outcome integerResult(std::int32_t)
{
    return {Kind::Integer};
}
Outcome booleanResult(bool)
{
    return {Kind::Boolean};
}
Outcome stringResult(const QString &)
{
    return {Kind::String};
}
Outcome objectResult(const qv::wire::Record *r)
{
    Outcome o{Kind::Object};
    o.objectPresent = r != nullptr;
    return o;
}
Outcome packetResult(const std::shared_ptr<qv::TableData> &t)
{
    Outcome o{Kind::DataPacket};
    if (!t)
        throw qv::Error("no data packet");
    o.columns = t->fieldDefs();
    return o;
}
Outcome readerResult(qv::TableReader *r)
{
    Outcome o{Kind::Reader};
    if (!r)
        throw qv::Error("no reader");
    for (int c = 0; c < r->columnCount(); ++c)
        o.columns.push_back({r->columnName(c), r->columnType(c), r->columnSize(c)});
    while (r->next()) {
    }
    return o;
}
Outcome streamResult(QIODevice *s, std::int64_t announced)
{
    Outcome o{Kind::Stream};
    o.announced = announced;
    o.bytes = qv::DownloadStream(s, announced);
    return o;
}

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList numbered(const char *prefix, int from, int to)
{
    QStringList l;
    for (int i = from; i <= to; ++i)
        l << QString::fromLatin1(prefix) + QString::number(i);
    return l;
}

const QStringList kBasketColumns = words(
    "SEC VERILISTARIHI SIRANO SIPARISNO CARINO TARIH AKTAR STOKNO BARKOD FINISHKOD OEMNO "
    "STOKADI MIKTAR BIRIMFIYAT TUTAR INDIRIMYAZI INDIRIMORANI1 INDIRIMORANI2 INDIRIMORANI3 "
    "INDIRIMORANI4 INDIRIMTUTAR NETBIRIMFIYAT KDV VERGITUTARI NETTUTAR KUR KURTL VERENIDNO SAAT "
    "TESLIMID KARGOID ACIKLAMA IDNO VERENSIRANO VEREN CARIKOD CARIADI OEM1 OEM2 OEM3 OEM4 "
    "STOK_STOKNO URETICIKODU DIGERADI DPKOD MARKA MODEL ANAGRUP OZELKOD PKOD DURUM KALAN");

QStringList orderDetailColumns()
{
    QStringList l = kBasketColumns;
    l.removeAll(QStringLiteral("SEC"));
    l.removeAll(QStringLiteral("DURUM"));
    return l + words("TESLIM KARGO TESLIMEDILEN");
}

QStringList balanceColumns()
{
    QStringList l = orderDetailColumns();
    l.removeAll(QStringLiteral("CARINO"));
    return l + words("ILKFIYAT STOKHAR_NO ELDEKI DURUM ALINANSIPARIS VERILENSIPARIS");
}

QStringList invoiceColumns()
{
    return words("OEMNO STOKADI FINISHKOD MARKA MODEL ANAGRUP OZELKOD BIRIM BARKOD "
                 "STOKHAR_HAREKETTARIHI STOKHAR_HAREKETTIPI2 EVRAKNO STOKHAR_MIKTAR "
                 "STOKHAR_TLBIRIMFIYATI STOKHAR_TLVERGI STOKHAR_TLTUTAR")
           + numbered("STOKHAR_INDIRIM", 1, 8)
           + words("STOKHAR_DOVIZBIRIMFIYATI STOKHAR_DOVIZVERGI STOKHAR_DOVIZTUTAR IRSALIYEEVRAKNO "
                   "STOKHAR_IRSTARIHI KDV STOKHAR_PARTI STOKHAR_BEDEN STOKHAR_RENK "
                   "SATIRACIKLMASI STOKHAR_TOPLAMINDIRIM STOKHAR_MASRAF1 STOKHAR_MASRAF2 "
                   "STOKHAR_TOPLAMMASRAF STOKHAR_DOVIZTOPLAMINDIRIM STOKHAR_DOVIZTOPLAMMASRAF "
                   "STOKHAR_SAAT STOKHAR_NETTLBIRIMFIYATI STOKHAR_NETDOVIZBIRIMFIYATI "
                   "STOKHAR_NETTLTUTAR STOKHAR_NETDOVIZTUTAR STOKHAR_KURTL STOKHAR_VADE "
                   "SIPARISTIPI SIPARISEVRAKNO SIPARISTARIHI IRSALIYETIPINO IRSALIYETIP2 "
                   "STOKCARIKOD SUBE_NO STOKHAR_CARINO KUR_KURSIMGE SATICIADI URETICIKODU DPKOD "
                   "ENADI PKOD BELGENO IDNO");
}

QStringList customerColumns()
{
    return words("CARINO CARIKOD CARIADI SATICISI TLBAKIYE DURUM OZELKOD") + numbered("KOD", 1, 5)
           + words("TEL1 TEL2 ILCE IL GSM SEPET YETKILI INDIRIM VADE VADEKONTROLGUN VADEKONTROLAY "
                   "VERGIDAIRESI VERGINO ADRES1 ADRES2 ANAGRUP ALTGRUP FAX1 FAX2 EMAIL ALINDI "
                   "ONAYLANDI GORULDU HAZIRLANDI PARCALIHAZIRLANDI");
}

QStringList stockMovementColumns()
{
    return words("BARKOD TARIH TURU EVRAKSERI EVRAKSIRA MIKTAR TLBIRIMFIYAT TLVERGI TLTUTAR")
           + numbered("INDIRIM", 1, 8)
           + words("TOPLAMINDIRIM MASRAF1 MASRAF2 TOPLAMMASRAF NETBIRIMFIYAT NETTLTUTAR VADE "
                   "STOKCARIKOD KDVDAHILBIRIMFIYAT KDVDAHILTUTAR SATICI");
}

// Columns of the reports window's declared fields: names in order and types.
using Typed = std::vector<std::pair<const char *, FieldType>>;
const Typed kOrdersReport = {
    {"SATICIADI", FieldType::String},
    {"IDNO", FieldType::Float},
    {"CARINO", FieldType::Integer},
    {"TARIH", FieldType::DateTime},
    {"KUR", FieldType::String},
    {"KURTL", FieldType::Float},
    {"VERENIDNO", FieldType::Integer},
    {"KARGO", FieldType::String},
    {"TESLIM", FieldType::String},
    {"VEREN", FieldType::String},
    {"CARIKOD", FieldType::String},
    {"CARIADI", FieldType::String},
    {"DURUM", FieldType::String},
    {"KARGOADI", FieldType::String},
    {"VERGI", FieldType::Float},
    {"NETTUTAR", FieldType::Float},
    {"TUTAR", FieldType::Float},
};
const Typed kStockReport = {
    {"BARKOD", FieldType::String},
    {"KOD", FieldType::String},
    {"ADI", FieldType::String},
    {"DEPARTMAN", FieldType::String},
    {"MIKTAR", FieldType::Float},
    {"NETTUTAR", FieldType::Float},
    {"TLVERGI", FieldType::Float},
    {"TUTAR", FieldType::Float},
};

// What a case expects besides the result kind.
struct Expect
{
    QStringList columns; // table results: exactly these names
    // Trailing columns the server adds for the add-to-basket dialog, which
    // reads all four discount rates of a stock row.
    QStringList extra;
    bool ordered = true;          // false where only the set of names is fixed
    Typed typed;                  // declared fields: names in order with types
    std::vector<FieldType> byPos; // readers read by position
    QByteArray magic;             // first bytes of a stream result
    bool objectRequired = false;  // an object result must not be null
};

// Values the calls need, found on the server before the table runs.
struct Facts
{
    std::unique_ptr<TSonucBilgisi> dealer;
    std::unique_ptr<TSonucBilgisi> satici;
    std::int32_t stokno = 1;
    QString barkod, stokadi;
    std::int32_t pictureStokno = 1;
    std::int32_t orderId = 0;
    std::int32_t invoiceId = 0;
    std::int32_t collectionId = 0;
    std::int32_t basketLine = 0;
    std::int32_t balanceStokno = 0, balanceBasketLine = 0, balanceOrderLine = 0;
    QString balanceBarkod;
};

const QString kDealerMachine = QStringLiteral("DEMO-BAYI-0001");
const QString kSaticiMachine = QStringLiteral("DEMO-SATICI-0003");
constexpr std::int32_t kDealerAccount = 1001;
constexpr double kFrom = 45658; // 1 January 2025
constexpr double kTo = 45838;   // 30 June 2025

struct MethodCase
{
    const char *method;
    Kind kind;
    std::function<Outcome(TServerMethods1Client &, Facts &)> call;
    Expect expect;
};

std::unique_ptr<TSonucBilgisi> copyOf(const TSonucBilgisi &b)
{
    auto c = std::make_unique<TSonucBilgisi>();
    c->Kopyala(b);
    return c;
}

QStringList names(const std::vector<qv::FieldDef> &cols)
{
    QStringList l;
    for (const auto &c : cols)
        l << c.name;
    return l;
}

class MethodsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        server = new qvtest::DevServer({"--seed-stock", "300"});
        facts = new Facts;
        findFacts(*facts);
    }
    static void TearDownTestSuite()
    {
        delete facts;
        facts = nullptr;
        delete server;
        server = nullptr;
    }

    static std::unique_ptr<qv::SQLConnection> connection()
    {
        auto c = std::make_unique<qv::SQLConnection>();
        c->params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
        c->params()[QStringLiteral("Port")] = QString::number(server->port());
        c->params()[QStringLiteral("DatasnapContext")] = QStringLiteral("datasnap/");
        return c;
    }

    // Runs f on a fresh proxy over a fresh open connection; a method the
    // server lacks only leaves its facts at their defaults.
    static void probe(const std::function<void(TServerMethods1Client &)> &f)
    {
        try {
            auto c = connection();
            c->open();
            TServerMethods1Client proxy(c->DBXConnection_());
            f(proxy);
        } catch (const qv::Error &) {
        }
    }

    static std::int32_t intAt(const qv::TableData &t, std::size_t row, const char *col)
    {
        const int i = t.indexOf(QString::fromLatin1(col));
        return i < 0 ? 0 : t.value(row, i).toInt();
    }

    static std::shared_ptr<qv::TableData> rowsOf(qv::TableReader *r)
    {
        if (!r)
            throw qv::Error("no reader");
        return std::make_shared<qv::TableData>(r->table());
    }

    static void findFacts(Facts &f)
    {
        f.dealer = std::make_unique<TSonucBilgisi>();
        f.satici = std::make_unique<TSonucBilgisi>();
        probe([&](TServerMethods1Client &p) {
            if (TSonucBilgisi *b = p.BuyukGetir(kDealerMachine))
                f.dealer->Kopyala(*b);
            if (TSonucBilgisi *b = p.BuyukGetir(kSaticiMachine))
                f.satici->Kopyala(*b);
        });
        probe([&](TServerMethods1Client &p) {
            const auto t = p.StokAraGetir(QStringLiteral("FİLTRE"), copyOf(*f.dealer));
            if (!t || t->rowCount() == 0)
                return;
            f.stokno = intAt(*t, 0, "STOK_STOKNO");
            f.barkod = t->value(0, t->indexOf(u"BARKOD")).toString();
            f.stokadi = t->value(0, t->indexOf(u"ADI")).toString();
            for (std::size_t r = 0; r < t->rowCount(); ++r) {
                if (intAt(*t, r, "RESIM") != 0) {
                    f.pictureStokno = intAt(*t, r, "STOK_STOKNO");
                    break;
                }
            }
        });
        probe([&](TServerMethods1Client &p) {
            const auto t = rowsOf(p.OncekiSiparisler(kDealerAccount));
            if (t->rowCount())
                f.orderId = intAt(*t, 0, "IDNO");
        });
        probe([&](TServerMethods1Client &p) {
            const auto t = rowsOf(p.BakiyelerVer2(kDealerAccount));
            if (!t->rowCount())
                return;
            f.balanceStokno = intAt(*t, 0, "STOKNO");
            f.balanceBasketLine = intAt(*t, 0, "SIRANO");
            f.balanceOrderLine = intAt(*t, 0, "IDNO");
            f.balanceBarkod = t->value(0, t->indexOf(u"BARKOD")).toString();
        });
        // An invoice and a collection paid by card from the statement.
        probe([&](TServerMethods1Client &p) {
            const auto t = rowsOf(p.CariEkstreVer(kDealerAccount));
            const int tur = t->indexOf(u"TURADI");
            for (std::size_t r = 0; r < t->rowCount(); ++r) {
                const QString kind = tur < 0 ? QString() : t->value(r, tur).toString().toUpper();
                const std::int32_t id = intAt(*t, r, "IDNO");
                if (!f.invoiceId && kind.contains(QStringLiteral("FATURA")))
                    f.invoiceId = id;
                if (!f.collectionId && !kind.contains(QStringLiteral("FATURA"))
                    && p.SanalposSiranoVer(id) > 0)
                    f.collectionId = id;
            }
        });
    }

    static std::vector<MethodCase> cases();

    static inline qvtest::DevServer *server = nullptr;
    static inline Facts *facts = nullptr;
};

std::vector<MethodCase> MethodsTest::cases()
{
    using P = TServerMethods1Client;
    using F = Facts;
    const std::vector<FieldType> choice = {FieldType::Integer, FieldType::String};
    return {
        {"BuyukGetir",
         Kind::Object,
         [](P &p, F &) { return objectResult(p.BuyukGetir(kDealerMachine)); },
         {.objectRequired = true}},
        {"StokAraGetir",
         Kind::DataPacket,
         [](P &p, F &f) {
             return packetResult(p.StokAraGetir(QStringLiteral("FREN"), copyOf(*f.dealer)));
         },
         {.columns = words("DURUM OEM1 OEM2 OEM3 OEM4 BARKOD ADI STOK_STOKNO FINISHKOD URETICIKODU "
                           "RESIM BARKOD_BARKODNO DIGERADI DPKOD OEMNO BIRIM MARKA MODEL ANAGRUP "
                           "OZELKOD KALAN PKOD KDV ALINANSIPARIS VERILENSIPARIS LISTEFIYAT1 "
                           "KAMPFIYAT FIYAT Y K INDIRIMYAZI NETFIYAT KDVDAHIL IND1"),
          .extra = words("IND2 IND3 IND4")}},
        {"YenilerVer2",
         Kind::DataPacket,
         [](P &p, F &) { return packetResult(p.YenilerVer2(kDealerAccount)); },
         {.columns = words("OEM1 OEM2 OEM3 OEM4 BARKOD ADI STOK_STOKNO FINISHKOD URETICIKODU "
                           "BARKOD_BARKODNO DIGERADI DPKOD OEMNO BIRIM MARKA MODEL ANAGRUP OZELKOD "
                           "KALAN PKOD KDV ALINANSIPARIS VERILENSIPARIS FIYAT K LISTEFIYAT1 "
                           "KAMPFIYAT INDIRIMYAZI INDIRIM NETFIYAT KDVDAHIL"),
          .extra = words("IND1 IND2 IND3 IND4")}},
        {"KampanyaliVer2",
         Kind::DataPacket,
         [](P &p, F &f) {
             return packetResult(p.KampanyaliVer2(kDealerAccount, f.dealer->MusteriTipi()));
         },
         {.columns = words("OEM1 OEM2 OEM3 OEM4 BARKOD ADI STOK_STOKNO RESIM FINISHKOD URETICIKODU "
                           "BARKOD_BARKODNO DIGERADI DPKOD OEMNO BIRIM MARKA MODEL ANAGRUP OZELKOD "
                           "KALAN PKOD KDV ALINANSIPARIS VERILENSIPARIS ESKIFIYAT FIYAT Y K "
                           "INDIRIM INDIRIMYAZI NETFIYAT KDVDAHIL DURUM"),
          .extra = words("IND1 IND2 IND3 IND4")}},
        {"StokHareketVer",
         Kind::DataPacket,
         [](P &p, F &f) { return packetResult(p.StokHareketVer(kDealerAccount, f.stokno)); },
         {.columns = stockMovementColumns()}},
        {"SepetEkle2",
         Kind::Integer,
         [](P &p, F &f) {
             return integerResult(p.SepetEkle2(copyOf(*f.dealer),
                                               kDealerAccount,
                                               f.stokno,
                                               f.barkod,
                                               f.stokadi,
                                               2,
                                               20,
                                               100,
                                               10,
                                               f.dealer->Sirano(),
                                               0,
                                               5,
                                               0,
                                               0));
         },
         {}},
        {"SepetVer2",
         Kind::DataPacket,
         [](P &p, F &f) {
             const auto t = p.SepetVer2(kDealerAccount);
             if (t && t->rowCount())
                 f.basketLine = intAt(*t, 0, "SIRANO");
             return packetResult(t);
         },
         {.columns = kBasketColumns}},
        {"SepetGuncelle2",
         Kind::Integer,
         [](P &p, F &f) {
             return integerResult(p.SepetGuncelle2(copyOf(*f.dealer),
                                                   kDealerAccount,
                                                   f.stokno,
                                                   f.barkod,
                                                   f.stokadi,
                                                   3,
                                                   20,
                                                   100,
                                                   10,
                                                   f.dealer->Sirano(),
                                                   f.basketLine,
                                                   5,
                                                   0,
                                                   0));
         },
         {}},
        {"SepetSatirSil",
         Kind::Integer,
         [](P &p, F &f) {
             return integerResult(
                 p.SepetSatirSil(copyOf(*f.dealer), f.basketLine, QStringLiteral("silindi")));
         },
         {}},
        {"SepetHepsiniSil",
         Kind::Integer,
         [](P &p, F &f) { return integerResult(p.SepetHepsiniSil(copyOf(*f.dealer))); },
         {}},
        {"SepetSecimGuncelle",
         Kind::None,
         [](P &p, F &f) {
             p.SepetSecimGuncelle(f.basketLine, 1);
             return Outcome{Kind::None};
         },
         {}},
        {"CariVadeGunGecmismiBul",
         Kind::String,
         [](P &p, F &) { return stringResult(p.CariVadeGunGecmismiBul(kDealerAccount)); },
         {}},
        {"TeslimVer",
         Kind::Reader,
         [](P &p, F &) { return readerResult(p.TeslimVer()); },
         {.byPos = choice}},
        {"KargoVer",
         Kind::Reader,
         [](P &p, F &) { return readerResult(p.KargoVer()); },
         {.byPos = choice}},
        {"KargolarVer",
         Kind::Reader,
         [](P &p, F &) { return readerResult(p.KargolarVer(1)); },
         {.columns = words("SIRANO ADI UYARI")}},
        {"SiparisKaydet",
         Kind::Boolean,
         [](P &p, F &f) {
             return booleanResult(p.SiparisKaydet(copyOf(*f.dealer),
                                                  kDealerAccount,
                                                  1,
                                                  1,
                                                  QStringLiteral("deneme"),
                                                  f.dealer->Sirano(),
                                                  1));
         },
         {}},
        {"OncekiSiparisler",
         Kind::Reader,
         [](P &p, F &) { return readerResult(p.OncekiSiparisler(kDealerAccount)); },
         {.columns = words("CARINO IDNO TARIH KUR KURTL VERENIDNO KARGO TESLIM VEREN CARIKOD "
                           "CARIADI VERGI NETTUTAR TUTAR DURUM KARGOADI VERENINNOTU ALANNOTU")}},
        {"SiparisAyrintisi2",
         Kind::Reader,
         [](P &p, F &f) { return readerResult(p.SiparisAyrintisi2(kDealerAccount, f.orderId)); },
         {.columns = orderDetailColumns(), .ordered = false}},
        {"SiparisAytintisiDip",
         Kind::Object,
         [](P &p, F &f) { return objectResult(p.SiparisAytintisiDip(0, f.orderId)); },
         {.objectRequired = true}},
        {"BakiyelerVer2",
         Kind::Reader,
         [](P &p, F &) { return readerResult(p.BakiyelerVer2(kDealerAccount)); },
         {.columns = balanceColumns(), .ordered = false}},
        {"BakiyeDuzenle",
         Kind::Integer,
         [](P &p, F &f) {
             return integerResult(p.BakiyeDuzenle(copyOf(*f.dealer),
                                                  f.balanceStokno,
                                                  f.balanceBasketLine,
                                                  f.balanceOrderLine,
                                                  1,
                                                  1,
                                                  f.balanceBarkod));
         },
         {}},
        {"BakiyeDegistir",
         Kind::Integer,
         [](P &p, F &f) {
             return integerResult(p.BakiyeDegistir(copyOf(*f.dealer),
                                                   f.balanceStokno,
                                                   f.balanceBasketLine,
                                                   f.balanceOrderLine,
                                                   1,
                                                   1,
                                                   f.balanceBarkod));
         },
         {}},
        {"BakiyeFiyatDegistir",
         Kind::Integer,
         [](P &p, F &f) {
             return integerResult(p.BakiyeFiyatDegistir(copyOf(*f.dealer),
                                                        f.balanceStokno,
                                                        f.balanceBasketLine,
                                                        f.balanceOrderLine,
                                                        1,
                                                        1,
                                                        f.balanceBarkod,
                                                        100,
                                                        10));
         },
         {}},
        {"TumSiparislerVer",
         Kind::Reader,
         [](P &p, F &f) { return readerResult(p.TumSiparislerVer(kDealerAccount, f.stokno)); },
         {.columns = balanceColumns(), .ordered = false}},
        {"CariEkstreVer",
         Kind::Reader,
         [](P &p, F &) { return readerResult(p.CariEkstreVer(kDealerAccount)); },
         {.columns = words("CARINO TARIH TURADI EVRAK BORC ALACAK KUR BAKIYE D IDNO ACIKLAMA")}},
        {"FaturaGetir",
         Kind::Reader,
         [](P &p, F &f) { return readerResult(p.FaturaGetir(kDealerAccount, f.invoiceId)); },
         {.columns = invoiceColumns()}},
        {"FaturaAltGetir",
         Kind::Reader,
         [](P &p, F &f) { return readerResult(p.FaturaAltGetir(f.invoiceId)); },
         {.columns = words("TOPLAM TOPLAMINDIRIM MATRAH KDVDAHIL KDVTUTAR")}},
        {"Tahsilat",
         Kind::Reader,
         [](P &p, F &f) { return readerResult(p.Tahsilat(f.collectionId)); },
         {.columns = {QStringLiteral("Tarih"),
                      QStringLiteral("Türü"),
                      QStringLiteral("Cins"),
                      QStringLiteral("EvrakNo"),
                      QStringLiteral("Vade"),
                      QStringLiteral("Tutar"),
                      QStringLiteral("Kur"),
                      QStringLiteral("KurTL"),
                      QStringLiteral("Açıklama"),
                      QStringLiteral("Döviz Tutar"),
                      QStringLiteral("Ref"),
                      QStringLiteral("Saat")}}},
        {"SanalposSiranoVer",
         Kind::Integer,
         [](P &p, F &f) { return integerResult(p.SanalposSiranoVer(f.collectionId)); },
         {}},
        {"SAnalPosPdfVer",
         Kind::Stream,
         [](P &p, F &f) {
             std::int64_t boy = 0;
             // The receipt's number comes from its collection, as the window does.
             const std::int32_t sirano = [&] {
                 auto c = connection();
                 c->open();
                 TServerMethods1Client q(c->DBXConnection_());
                 return q.SanalposSiranoVer(f.collectionId);
             }();
             QIODevice *s = p.SAnalPosPdfVer(sirano, boy);
             return streamResult(s, boy);
         },
         {.magic = "%PDF"}},
        {"CariDurumVer",
         Kind::String,
         [](P &p, F &) { return stringResult(p.CariDurumVer(kDealerAccount)); },
         {}},
        {"CariAra",
         Kind::Reader,
         [](P &p, F &f) { return readerResult(p.CariAra(copyOf(*f.satici), QString())); },
         {.columns = customerColumns()}},
        {"CariSepetVer",
         Kind::Reader,
         [](P &p, F &f) { return readerResult(p.CariSepetVer(copyOf(*f.satici), 2)); },
         {.columns = customerColumns()}},
        {"SepetSayisi",
         Kind::Integer,
         [](P &p, F &f) { return integerResult(p.SepetSayisi(copyOf(*f.satici))); },
         {}},
        {"TusSonuclariVer",
         Kind::Object,
         [](P &p, F &f) { return objectResult(p.TusSonuclariVer(copyOf(*f.satici))); },
         {.objectRequired = true}},
        {"RaporGetir",
         Kind::Stream,
         [](P &p, F &f) {
             std::int64_t size = 0;
             QIODevice *s = p.RaporGetir(
                 7, 7, f.satici->Sirano(), kDealerAccount, f.satici->SaticiAdi(), kFrom, kTo, size);
             return streamResult(s, size);
         },
         {.magic = "%PDF"}},
        {"RaporAlinanSiparisler",
         Kind::Reader,
         [](P &p, F &f) {
             return readerResult(p.RaporAlinanSiparisler(copyOf(*f.satici), kFrom, kTo));
         },
         {.typed = kOrdersReport}},
        {"RaporEnCokSatilanStoklar",
         Kind::Reader,
         [](P &p, F &f) {
             return readerResult(p.RaporEnCokSatilanStoklar(copyOf(*f.satici), kFrom, kTo));
         },
         {.typed = kStockReport}},
        {"KayanYaziGetir",
         Kind::String,
         [](P &p, F &) { return stringResult(p.KayanYaziGetir()); },
         {}},
        {"BannerResimVer",
         Kind::Stream,
         [](P &p, F &) {
             std::int64_t size = 0;
             QIODevice *s = p.BannerResimVer(size);
             return streamResult(s, size);
         },
         {.magic = "GIF8"}},
        {"BannerResimVer2",
         Kind::Stream,
         [](P &p, F &) {
             std::int64_t size = 0;
             QIODevice *s = p.BannerResimVer2(size);
             return streamResult(s, size);
         },
         {.magic = "GIF8"}},
        {"BannerResimVer3",
         Kind::Stream,
         [](P &p, F &) {
             std::int64_t size = 0;
             QIODevice *s = p.BannerResimVer3(size);
             return streamResult(s, size);
         },
         {.magic = "BM"}},
        {"AcilisReklamAdet",
         Kind::Integer,
         [](P &p, F &) { return integerResult(p.AcilisReklamAdet()); },
         {}},
        // The n-th opening screen; absent when there is none.
        {"AcilisREklamVer",
         Kind::Object,
         [](P &p, F &) { return objectResult(p.AcilisREklamVer(1)); },
         {}},
        {"AcilisEkranlarVer2",
         Kind::Object,
         [](P &p, F &) { return objectResult(p.AcilisEkranlarVer2()); },
         {.objectRequired = true}},
        {"BalonGetir",
         Kind::Reader,
         [](P &p, F &f) { return readerResult(p.BalonGetir(copyOf(*f.dealer))); },
         {.byPos = {FieldType::Integer,
                    FieldType::Integer,
                    FieldType::Integer,
                    FieldType::Integer,
                    FieldType::Float}}},
        {"MailGonserCari",
         Kind::Integer,
         [](P &p, F &) {
             const QString t = QStringLiteral("deneme");
             return integerResult(
                 p.MailGonserCari(kDealerMachine, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t));
         },
         {}},
        {"MailGonserCariNormal",
         Kind::Integer,
         [](P &p, F &) {
             const QString t = QStringLiteral("deneme");
             return integerResult(p.MailGonserCariNormal(kDealerMachine,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         t,
                                                         QStringLiteral("konu")));
         },
         {}},
        {"MobilCariBilgisiGetir",
         Kind::Object,
         [](P &p, F &) { return objectResult(p.MobilCariBilgisiGetir(0, kDealerMachine)); },
         {.objectRequired = true}},
        {"ResimVer5",
         Kind::Stream,
         [](P &p, F &f) {
             std::int64_t boy = 0;
             QIODevice *s = p.ResimVer5(f.pictureStokno, boy);
             return streamResult(s, boy);
         },
         {.magic = QByteArray("\xFF\xD8", 2)}},
    };
}

void check(const MethodCase &c, const Outcome &o)
{
    EXPECT_EQ(kindName(o.kind), kindName(c.kind));
    const Expect &e = c.expect;
    if (c.kind == Kind::Object && e.objectRequired) {
        EXPECT_TRUE(o.objectPresent) << "null object";
    }
    if (!e.columns.isEmpty()) {
        QStringList got = names(o.columns);
        QStringList want = e.columns + e.extra;
        if (!e.ordered) {
            got.sort();
            want.sort();
        }
        EXPECT_EQ(got.join(u' ').toStdString(), want.join(u' ').toStdString());
    }
    if (!e.typed.empty()) {
        ASSERT_EQ(o.columns.size(), e.typed.size()) << names(o.columns).join(u' ').toStdString();
        for (std::size_t i = 0; i < e.typed.size(); ++i) {
            EXPECT_EQ(o.columns[i].name, QString::fromLatin1(e.typed[i].first)) << i;
            EXPECT_STREQ(qv::fieldTypeName(o.columns[i].type), qv::fieldTypeName(e.typed[i].second))
                << e.typed[i].first;
        }
    }
    if (!e.byPos.empty()) {
        ASSERT_GE(o.columns.size(), e.byPos.size());
        for (std::size_t i = 0; i < e.byPos.size(); ++i)
            EXPECT_STREQ(qv::fieldTypeName(o.columns[i].type), qv::fieldTypeName(e.byPos[i]))
                << "column " << i;
    }
    if (!e.magic.isEmpty()) {
        EXPECT_GT(o.announced, 0);
        ASSERT_TRUE(o.bytes.has_value()) << "DownloadStream refused the bytes";
        EXPECT_TRUE(o.bytes->startsWith(e.magic)) << o.bytes->left(8).toHex().toStdString();
    }
}

TEST_F(MethodsTest, EveryMethodOnceThroughTheRealTransport)
{
    ASSERT_TRUE(server->running()) << server->log().toStdString();
    const auto all = cases();
    ASSERT_EQ(all.size(), 50u);
    QStringList missing;
    for (const MethodCase &c : all) {
        SCOPED_TRACE(c.method);
        auto conn = connection();
        conn->open();
        TServerMethods1Client proxy(conn->DBXConnection_());
        try {
            const Outcome o = c.call(proxy, *facts);
            check(c, o);
        } catch (const qv::Error &e) {
            const QString text = QString::fromUtf8(e.what());
            if (text.contains(QStringLiteral(" not found")))
                missing << QString::fromLatin1(c.method);
            ADD_FAILURE() << e.what();
            continue;
        }
        // The proxy addressed the method by its own name.
        const qv::DBXCommand *cmd = proxy.findCommand(QString::fromLatin1(c.method));
        ASSERT_NE(cmd, nullptr);
        EXPECT_EQ(cmd->Text, QStringLiteral("TServerMethods1.") + QLatin1String(c.method));
        EXPECT_EQ(cmd->CommandType, QStringLiteral("DataSnap.ServerMethod"));
    }
    EXPECT_TRUE(missing.isEmpty()) << "not served yet: " << missing.join(u' ').toStdString();
}

// The collection window copies the reader of Tahsilat only after
// SanalposSiranoVer has run on the same proxy.
TEST_F(MethodsTest, ReaderStaysReadableWhileAnotherMethodOfTheProxyRuns)
{
    auto conn = connection();
    conn->open();
    TServerMethods1Client proxy(conn->DBXConnection_());
    qv::TableReader *reader = proxy.Tahsilat(facts->collectionId);
    ASSERT_NE(reader, nullptr);
    const std::size_t rows = reader->table().rowCount();
    proxy.SanalposSiranoVer(facts->collectionId);
    qv::Dataset target;
    qv::CopyReaderToDataset(*reader, target);
    EXPECT_EQ(target.recordCount(), rows);
    EXPECT_EQ(target.fieldCount(), 12);
}

// The order confirmation reads both choice lists on two successive proxies
// over one open connection.
TEST_F(MethodsTest, DeliveryAndCargoChoicesOnSuccessiveProxiesOfOneConnection)
{
    auto conn = connection();
    conn->open();
    std::vector<std::pair<std::int32_t, QString>> teslim, kargo;
    for (auto *list : {&teslim, &kargo}) {
        TServerMethods1Client proxy(conn->DBXConnection_());
        qv::TableReader *r = list == &teslim ? proxy.TeslimVer() : proxy.KargoVer();
        ASSERT_NE(r, nullptr);
        while (r->next())
            list->emplace_back(r->intValue(0), r->stringValue(1));
    }
    EXPECT_FALSE(teslim.empty());
    EXPECT_FALSE(kargo.empty());
    for (const auto &[id, caption] : teslim)
        EXPECT_FALSE(caption.isEmpty()) << id;
}

} // namespace
