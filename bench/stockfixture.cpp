#include "stockfixture.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace qvbench {

using qv::FieldDef;
using qv::FieldType;

std::vector<FieldDef> stockListFields()
{
    const auto S = FieldType::String;
    const auto I = FieldType::Integer;
    const auto F = FieldType::Float;
    return {
        {"DURUM", I, 0},          {"OEM1", S, 30},       {"OEM2", S, 30},
        {"OEM3", S, 30},          {"OEM4", S, 30},       {"BARKOD", S, 30},
        {"ADI", S, 100},          {"STOK_STOKNO", I, 0}, {"FINISHKOD", S, 30},
        {"URETICIKODU", S, 30},   {"RESIM", I, 0},       {"BARKOD_BARKODNO", S, 30},
        {"DIGERADI", S, 100},     {"DPKOD", S, 30},      {"OEMNO", S, 30},
        {"BIRIM", S, 10},         {"MARKA", S, 50},      {"MODEL", S, 50},
        {"ANAGRUP", S, 50},       {"OZELKOD", S, 30},    {"KALAN", F, 0},
        {"PKOD", S, 30},          {"KDV", F, 0},         {"ALINANSIPARIS", F, 0},
        {"VERILENSIPARIS", F, 0}, {"LISTEFIYAT1", F, 0}, {"KAMPFIYAT", F, 0},
        {"FIYAT", F, 0},          {"Y", I, 0},           {"K", I, 0},
        {"INDIRIMYAZI", S, 50},   {"NETFIYAT", F, 0},    {"KDVDAHIL", F, 0},
        {"IND1", F, 0},
    };
}

namespace {

// splitmix64: tiny, and unlike the standard distributions the same everywhere.
class Random
{
public:
    explicit Random(std::uint64_t seed)
        : m_state(seed)
    {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    std::uint32_t below(std::uint32_t n) { return std::uint32_t(next() % n); }
    bool chance(std::uint32_t percent) { return below(100) < percent; }
    template<std::size_t N>
    std::string_view pick(const std::array<std::string_view, N> &a)
    {
        return a[below(std::uint32_t(N))];
    }

private:
    std::uint64_t m_state;
};

constexpr std::array<std::string_view, 20> kParts = {
    "ÖN FREN BALATASI", "ARKA FREN BALATASI",
    "YAĞ FİLTRESİ",     "HAVA FİLTRESİ",
    "POLEN FİLTRESİ",   "YAKIT FİLTRESİ",
    "DEBRİYAJ SETİ",    "AMORTİSÖR ÖN SAĞ",
    "ROT BAŞI SOL",     "SALINCAK ÜST SAĞ",
    "TRİGER SETİ",      "DEVİRDAİM POMPASI",
    "RADYATÖR",         "BUJİ",
    "FAR AMPULÜ H7",    "SİLECEK SÜPÜRGESİ 600MM",
    "ŞANZIMAN TAKOZU",  "EGZOZ SUSTURUCU",
    "KRANK KEÇESİ",     "TERMOSTAT",
};
constexpr std::array<std::string_view, 20> kOtherNames = {
    "FRONT BRAKE PAD", "REAR BRAKE PAD", "OIL FILTER",     "AIR FILTER",      "CABIN FILTER",
    "FUEL FILTER",     "CLUTCH KIT",     "SHOCK ABSORBER", "TIE ROD END",     "CONTROL ARM",
    "TIMING BELT KIT", "WATER PUMP",     "RADIATOR",       "SPARK PLUG",      "BULB H7",
    "WIPER BLADE",     "GEARBOX MOUNT",  "SILENCER",       "CRANKSHAFT SEAL", "THERMOSTAT",
};
constexpr std::array<std::string_view, 12> kBrands = {
    "BOSCH",
    "MANN",
    "SACHS",
    "TRW",
    "VALEO",
    "FEBI",
    "LEMFÖRDER",
    "MAHLE",
    "NGK",
    "GATES",
    "CONTİTECH",
    "BREMBO",
};
constexpr std::array<std::string_view, 10> kModels = {
    "FIAT DOBLO 1.3 MJT",
    "RENAULT CLIO IV",
    "FORD FOCUS III",
    "VW PASSAT B6",
    "TOYOTA COROLLA",
    "HYUNDAI ACCENT BLUE",
    "OPEL ASTRA J",
    "DACIA DUSTER 1.5 DCI",
    "PEUGEOT 301",
    "FİAT EGEA",
};
constexpr std::array<std::string_view, 7> kGroups = {
    "FREN SİSTEMİ",
    "FİLTRE",
    "SÜSPANSİYON",
    "MOTOR",
    "ELEKTRİK",
    "ŞANZIMAN",
    "SOĞUTMA",
};
constexpr std::array<std::string_view, 5> kSpecialCodes = {"A", "B", "C", "YERLİ", "İTHAL"};
constexpr std::array<std::string_view, 4> kUnits = {"ADET", "TAKIM", "METRE", "LİTRE"};

std::string code(Random &rnd, std::size_t length)
{
    static constexpr char kChars[] = "0123456789ABCDEFGHJKLMNPRSTUVYZ";
    std::string s(length, '0');
    for (char &c : s)
        c = kChars[rnd.below(sizeof kChars - 1)];
    return s;
}

// prefix followed by random digits (appending, not operator+, keeps GCC 12 quiet)
std::string digits(Random &rnd, std::size_t length, std::string_view prefix = {})
{
    std::string s(prefix);
    for (std::size_t i = 0; i < length; ++i)
        s += char('0' + rnd.below(10));
    return s;
}

double cents(double v)
{
    return std::round(v * 100.0) / 100.0;
}

} // namespace

qv::TableData makeStockTable(std::size_t rows, std::uint64_t seed)
{
    qv::TableData t;
    for (const FieldDef &f : stockListFields())
        t.addField(f);
    t.reserve(rows);
    Random rnd(seed);
    static constexpr std::array<int, 6> kRates = {0, 5, 10, 15, 20, 25};

    int col = 0;
    auto str = [&](std::string_view s) {
        t.column(col++).appendString(s);
    };
    auto strOrNull = [&](std::string_view s, bool present) {
        if (present)
            t.column(col++).appendString(s);
        else
            t.column(col++).appendNull();
    };
    auto i32 = [&](std::int32_t v) {
        t.column(col++).appendInt(v);
    };
    auto f64 = [&](double v) {
        t.column(col++).appendDouble(v);
    };

    for (std::size_t r = 0; r < rows; ++r) {
        col = 0;
        const auto part = rnd.below(std::uint32_t(kParts.size()));
        const std::string oem1 = code(rnd, 10);
        const std::string barcode = digits(rnd, 10, "869");
        const std::string_view brand = rnd.pick(kBrands);
        const std::string_view model = rnd.pick(kModels);
        const double kdv = rnd.chance(85) ? 18.0 : 8.0;
        const double list = cents(10.0 + double(rnd.below(500000)) / 100.0);
        const double camp = rnd.chance(15) ? cents(list * 0.85) : 0.0;
        const double price = camp > 0 ? camp : list;
        const int ind1 = kRates[rnd.below(kRates.size())];
        const int ind2 = rnd.chance(40) ? kRates[rnd.below(kRates.size())] : 0;
        const double net = cents(price * (1 - ind1 / 100.0) * (1 - ind2 / 100.0));
        std::string discountText;
        for (const int rate : {ind1, ind2}) {
            if (rate <= 0)
                continue;
            discountText.append(discountText.empty() ? "%" : "+%");
            discountText.append(std::to_string(rate));
        }

        i32(std::int32_t(rnd.below(6)));          // DURUM
        str(oem1);                                // OEM1
        strOrNull(code(rnd, 10), rnd.chance(60)); // OEM2
        strOrNull(code(rnd, 11), rnd.chance(30)); // OEM3
        strOrNull(code(rnd, 9), rnd.chance(10));  // OEM4
        str(barcode);                             // BARKOD
        str(kParts[part]);                        // ADI
        i32(std::int32_t(100000 + r));            // STOK_STOKNO
        str(digits(rnd, 6, "FN-"));               // FINISHKOD
        {                                         // URETICIKODU
            std::string maker = digits(rnd, 1);
            for (int i = 0; i < 3; ++i)
                maker.append(digits(rnd, 3, " "));
            str(maker);
        }
        i32(rnd.chance(70) ? 1 : 0);                  // RESIM
        str(barcode);                                 // BARKOD_BARKODNO
        strOrNull(kOtherNames[part], rnd.chance(80)); // DIGERADI
        str(digits(rnd, 5, "DP"));                    // DPKOD
        str(oem1);                                    // OEMNO
        str(rnd.pick(kUnits));                        // BIRIM
        str(brand);                                   // MARKA
        str(model);                                   // MODEL
        str(rnd.pick(kGroups));                       // ANAGRUP
        str(rnd.pick(kSpecialCodes));                 // OZELKOD
        f64(double(rnd.below(500)));                  // KALAN
        str(digits(rnd, 6, "P"));                     // PKOD
        f64(kdv);                                     // KDV
        f64(double(rnd.below(20)));                   // ALINANSIPARIS
        f64(double(rnd.below(20)));                   // VERILENSIPARIS
        f64(list);                                    // LISTEFIYAT1
        f64(camp);                                    // KAMPFIYAT
        f64(price);                                   // FIYAT
        if (rnd.chance(10))                           // Y
            t.column(col++).appendNull();
        else
            i32(rnd.chance(8) ? 1 : 0);
        i32(camp > 0 ? 1 : 0);               // K
        str(discountText);                   // INDIRIMYAZI
        f64(net);                            // NETFIYAT
        f64(cents(net * (1 + kdv / 100.0))); // KDVDAHIL
        f64(double(ind1));                   // IND1
    }
    t.finishColumns();
    return t;
}

} // namespace qvbench
