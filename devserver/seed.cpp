#include "seed.h"

#include "pictures.h"
#include "pricing.h"
#include "schema.h"
#include "searchtext.h"
#include "sqlutil.h"

#include <QDateTime>
#include <QSet>
#include <QTime>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace qv {

namespace {

constexpr DevDemoLogin kDemoLogins[] = {
    {"DEMO-BAYI-0001", "BAYI1", "1234", 0, true, 1001, 0},
    {"DEMO-BAYI-0002", "BAYI2", "1234", 0, true, 1002, 0},
    {"DEMO-BAYI-0003", "BAYI3", "1234", 3, true, 1003, 0},
    {"DEMO-BAYI-0004", "BAYI4", "1234", 4, true, 1004, 0},
    {"DEMO-BAYI-0005", "BAYI5", "1234", 0, false, 1005, 0},
    {"DEMO-BAYI-0006", "BAYI6", "5678", 3, true, 1006, 0},
    {"DEMO-BAYI-0007", "BAYI7", "5678", 4, true, 1007, 0},
    {"DEMO-BAYI-0008", "Bayi8", "1234", 0, true, 1008, 0},
    {"DEMO-SATICI-0001", "SATICI1", "1234", 1, true, 0, 1},
    {"DEMO-SATICI-0002", "SATICI2", "1234", 1, true, 0, 2},
    {"DEMO-SATICI-0003", "SATICI3", "1234", 2, true, 0, 3},
    {"DEMO-SATICI-0004", "SATICI4", "1234", 2, true, 0, 4},
    {"DEMO-SATICI-0005", "SATICI5", "1234", 1, false, 0, 5},
};

// Deterministic on every platform: no std:: distributions, whose results
// differ between standard libraries.
class Rng
{
public:
    explicit Rng(std::uint32_t seed)
        : m_gen(seed)
    {}
    int below(int n) { return int(m_gen() % std::uint32_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    double unit() { return double(m_gen()) / 4294967296.0; }
    bool chance(double p) { return unit() < p; }
    template<typename T>
    const T &pick(const std::vector<T> &v)
    {
        return v[std::size_t(below(int(v.size())))];
    }

private:
    std::mt19937 m_gen;
};

struct Brand
{
    const char *name;
    const char *eanPrefix;              // 7 digits
    std::vector<const char *> patterns; // '#' digit, '@' letter
    const char *ozelkod;
};

const std::vector<Brand> &brands()
{
    static const std::vector<Brand> list = {
        {"BOSCH", "4047024", {"0 986 ### ###", "0 986 4## ###", "F 026 ### ###"}, "OES"},
        {"VALEO", "3276428", {"######", "8#####"}, "OES"},
        {"MANN-FILTER",
         "4011558",
         {"W ###/##", "C ## ###", "HU ###/# X", "CU ####", "WK ###/#"},
         "OES"},
        {"SACHS", "4013872", {"### ###", "3000 ### ###", "315 ### ###"}, "OES"},
        {"TRW", "3322937", {"GDB####", "DF####", "JGM####", "JTE####"}, "OES"},
        {"FEBI", "4027816", {"#####", "######"}, "EŞDEĞER"},
        {"LEMFÖRDER", "4030665", {"##### ##", "#### ###"}, "OES"},
        {"MAHLE", "4009026", {"OC ###", "LX ####", "KL ###", "CR ### 000S"}, "OES"},
        {"NGK", "0087295", {"BKR#E", "BKR#EIX-11", "ZFR#F-11", "U####"}, "OES"},
        {"GATES", "5414465", {"K015###XS", "#PK####", "T4####"}, "OES"},
        {"SKF", "7316571", {"VKMA 0####", "VKBA ####", "VKJA #####"}, "OES"},
        {"DELPHI", "5012759", {"LP####", "HDA###", "TC####"}, "OES"},
        {"TEXTAR", "4019722", {"#######", "92######"}, "OES"},
        {"LUK", "4005108", {"6## #### ##", "510 #### ##"}, "OES"},
        {"FILTRON", "5904608", {"OP ###", "AP ###/#", "PP ###/#", "K ####"}, "EŞDEĞER"},
        {"MONROE", "5412096", {"G####", "E####", "MK###"}, "EŞDEĞER"},
        {"INA", "4005109", {"530 #### ##", "532 #### ##"}, "OES"},
        {"DAYCO", "8021787", {"KTB###", "#PK####", "KTBWP####"}, "EŞDEĞER"},
        {"NISSENS", "5707286", {"#####", "9####"}, "EŞDEĞER"},
        {"BERU", "4014427", {"ZSE###", "GN###", "Z###"}, "OES"},
        {"OSRAM", "4008321", {"64###", "64###NBS"}, "OES"},
        {"CORTECO", "3358960", {"#####B", "########"}, "EŞDEĞER"},
        {"CONTITECH", "4028977", {"CT####K#", "CT####WP#"}, "OES"},
        {"ELRING", "4041248", {"###.###", "###.##0"}, "OES"},
        {"FAG", "4005106", {"713 6## ###", "566###"}, "OES"},
    };
    return list;
}

int brandIndex(const char *name)
{
    const auto &b = brands();
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (QString::fromUtf8(b[i].name) == QString::fromUtf8(name))
            return int(i);
    }
    return 0;
}

struct PartKind
{
    const char *group;
    const char *name;
    const char *otherName;
    const char *unit;
    double minPrice;
    double maxPrice;
    std::vector<const char *> brandNames;
    int weight;
};

const std::vector<PartKind> &partKinds()
{
    static const std::vector<PartKind> list = {
        {"FREN",
         "ÖN FREN BALATASI",
         "FRONT BRAKE PAD SET",
         "TAKIM",
         650,
         2600,
         {"BOSCH", "TRW", "TEXTAR", "VALEO", "FEBI"},
         10},
        {"FREN",
         "ARKA FREN BALATASI",
         "REAR BRAKE PAD SET",
         "TAKIM",
         550,
         2100,
         {"BOSCH", "TRW", "TEXTAR", "FEBI"},
         7},
        {"FREN",
         "ÖN FREN DİSKİ",
         "FRONT BRAKE DISC",
         "ADET",
         1200,
         4200,
         {"BOSCH", "TRW", "TEXTAR", "FEBI"},
         7},
        {"FREN",
         "ARKA FREN KAMPANASI",
         "REAR BRAKE DRUM",
         "ADET",
         1100,
         3600,
         {"TRW", "BOSCH", "FEBI"},
         3},
        {"FREN",
         "FREN MERKEZİ",
         "BRAKE MASTER CYLINDER",
         "ADET",
         1800,
         5200,
         {"TRW", "BOSCH", "DELPHI"},
         2},
        {"FREN", "FREN HORTUMU", "BRAKE HOSE", "ADET", 180, 650, {"TRW", "FEBI", "BOSCH"}, 3},
        {"FREN",
         "ABS SENSÖRÜ",
         "ABS WHEEL SPEED SENSOR",
         "ADET",
         700,
         2400,
         {"BOSCH", "FEBI", "DELPHI", "TRW"},
         3},
        {"FİLTRE",
         "YAĞ FİLTRESİ",
         "OIL FILTER",
         "ADET",
         140,
         720,
         {"MANN-FILTER", "MAHLE", "BOSCH", "FILTRON"},
         10},
        {"FİLTRE",
         "HAVA FİLTRESİ",
         "AIR FILTER",
         "ADET",
         220,
         950,
         {"MANN-FILTER", "MAHLE", "BOSCH", "FILTRON"},
         9},
        {"FİLTRE",
         "YAKIT FİLTRESİ",
         "FUEL FILTER",
         "ADET",
         260,
         1500,
         {"MANN-FILTER", "MAHLE", "BOSCH", "DELPHI", "FILTRON"},
         6},
        {"FİLTRE",
         "POLEN FİLTRESİ",
         "CABIN AIR FILTER",
         "ADET",
         180,
         820,
         {"MANN-FILTER", "MAHLE", "BOSCH", "FILTRON", "VALEO"},
         6},
        {"SÜSPANSİYON",
         "AMORTİSÖR ÖN SAĞ",
         "SHOCK ABSORBER FRONT RIGHT",
         "ADET",
         1700,
         6200,
         {"SACHS", "MONROE", "BOSCH"},
         4},
        {"SÜSPANSİYON",
         "AMORTİSÖR ÖN SOL",
         "SHOCK ABSORBER FRONT LEFT",
         "ADET",
         1700,
         6200,
         {"SACHS", "MONROE", "BOSCH"},
         4},
        {"SÜSPANSİYON",
         "AMORTİSÖR ARKA",
         "SHOCK ABSORBER REAR",
         "ADET",
         1300,
         4800,
         {"SACHS", "MONROE"},
         4},
        {"SÜSPANSİYON",
         "SALINCAK ÖN SAĞ",
         "CONTROL ARM FRONT RIGHT",
         "ADET",
         1100,
         3900,
         {"LEMFÖRDER", "TRW", "FEBI"},
         3},
        {"SÜSPANSİYON",
         "SALINCAK ÖN SOL",
         "CONTROL ARM FRONT LEFT",
         "ADET",
         1100,
         3900,
         {"LEMFÖRDER", "TRW", "FEBI"},
         3},
        {"SÜSPANSİYON",
         "ROTİL",
         "BALL JOINT",
         "ADET",
         350,
         1200,
         {"LEMFÖRDER", "TRW", "FEBI", "DELPHI"},
         4},
        {"SÜSPANSİYON",
         "ROT BAŞI",
         "TIE ROD END",
         "ADET",
         300,
         1100,
         {"LEMFÖRDER", "TRW", "FEBI", "DELPHI"},
         4},
        {"SÜSPANSİYON",
         "Z ROT",
         "STABILISER LINK",
         "ADET",
         250,
         900,
         {"LEMFÖRDER", "TRW", "FEBI"},
         4},
        {"SÜSPANSİYON",
         "AMORTİSÖR TAKOZU",
         "TOP STRUT MOUNTING",
         "ADET",
         400,
         1600,
         {"SACHS", "LEMFÖRDER", "FEBI", "CORTECO"},
         3},
        {"MOTOR",
         "TRİGER SETİ",
         "TIMING BELT KIT",
         "SET",
         2400,
         9500,
         {"GATES", "SKF", "INA", "DAYCO", "CONTITECH"},
         5},
        {"MOTOR",
         "TRİGER KAYIŞI",
         "TIMING BELT",
         "ADET",
         600,
         2200,
         {"GATES", "DAYCO", "BOSCH"},
         3},
        {"MOTOR",
         "V KAYIŞI",
         "V-RIBBED BELT",
         "ADET",
         250,
         900,
         {"GATES", "DAYCO", "BOSCH", "SKF"},
         4},
        {"MOTOR",
         "SU POMPASI",
         "WATER PUMP",
         "ADET",
         1300,
         5200,
         {"SKF", "GATES", "INA", "VALEO"},
         3},
        {"MOTOR",
         "SİLİNDİR KAPAK CONTASI",
         "CYLINDER HEAD GASKET",
         "ADET",
         700,
         3200,
         {"ELRING", "CORTECO", "FEBI"},
         2},
        {"MOTOR",
         "MOTOR TAKOZU",
         "ENGINE MOUNTING",
         "ADET",
         650,
         2800,
         {"LEMFÖRDER", "FEBI", "CORTECO"},
         3},
        {"MOTOR",
         "KRANK KEÇESİ",
         "CRANKSHAFT SEAL",
         "ADET",
         150,
         600,
         {"CORTECO", "ELRING", "FEBI"},
         2},
        {"MOTOR",
         "GERGİ RULMANI",
         "TENSIONER PULLEY",
         "ADET",
         500,
         1900,
         {"SKF", "INA", "GATES", "DAYCO"},
         3},
        {"ELEKTRİK", "BUJİ", "SPARK PLUG", "ADET", 110, 480, {"NGK", "BOSCH", "BERU"}, 6},
        {"ELEKTRİK",
         "ATEŞLEME BOBİNİ",
         "IGNITION COIL",
         "ADET",
         900,
         3200,
         {"BOSCH", "BERU", "DELPHI", "VALEO", "NGK"},
         3},
        {"ELEKTRİK",
         "MARŞ MOTORU",
         "STARTER MOTOR",
         "ADET",
         4200,
         12500,
         {"BOSCH", "VALEO", "DELPHI"},
         2},
        {"ELEKTRİK",
         "ALTERNATÖR",
         "ALTERNATOR",
         "ADET",
         5200,
         16500,
         {"BOSCH", "VALEO", "DELPHI"},
         2},
        {"ELEKTRİK",
         "OKSİJEN SENSÖRÜ",
         "LAMBDA SENSOR",
         "ADET",
         1100,
         4200,
         {"BOSCH", "NGK", "DELPHI"},
         2},
        {"ELEKTRİK", "SİLECEK SÜPÜRGESİ", "WIPER BLADE", "TAKIM", 250, 950, {"BOSCH", "VALEO"}, 4},
        {"ELEKTRİK",
         "KIZDIRMA BUJİSİ",
         "GLOW PLUG",
         "ADET",
         220,
         800,
         {"BOSCH", "BERU", "NGK", "DELPHI"},
         3},
        {"DEBRİYAJ",
         "DEBRİYAJ SETİ",
         "CLUTCH KIT",
         "SET",
         3800,
         15500,
         {"VALEO", "SACHS", "LUK"},
         5},
        {"DEBRİYAJ",
         "DEBRİYAJ BASKISI",
         "CLUTCH PRESSURE PLATE",
         "ADET",
         2200,
         7800,
         {"VALEO", "SACHS", "LUK"},
         2},
        {"DEBRİYAJ",
         "DEBRİYAJ RULMANI",
         "CLUTCH RELEASE BEARING",
         "ADET",
         650,
         2600,
         {"VALEO", "SACHS", "LUK", "SKF", "INA"},
         3},
        {"DEBRİYAJ",
         "VOLANT",
         "DUAL MASS FLYWHEEL",
         "ADET",
         9500,
         26000,
         {"LUK", "SACHS", "VALEO"},
         1},
        {"ŞANZIMAN",
         "ŞANZIMAN TAKOZU",
         "GEARBOX MOUNTING",
         "ADET",
         550,
         2200,
         {"LEMFÖRDER", "FEBI", "CORTECO"},
         3},
        {"ŞANZIMAN",
         "AKS KÖRÜĞÜ",
         "DRIVE SHAFT BOOT",
         "TAKIM",
         220,
         850,
         {"FEBI", "SKF", "LEMFÖRDER"},
         3},
        {"ŞANZIMAN", "AKS BAŞI", "CV JOINT", "ADET", 1400, 4800, {"SKF", "FEBI"}, 3},
        {"ŞANZIMAN",
         "VİTES HALATI",
         "GEAR CHANGE CABLE",
         "ADET",
         650,
         2200,
         {"FEBI", "CORTECO"},
         2},
        {"SOĞUTMA",
         "RADYATÖR",
         "ENGINE RADIATOR",
         "ADET",
         2800,
         9500,
         {"VALEO", "MAHLE", "NISSENS"},
         3},
        {"SOĞUTMA",
         "TERMOSTAT",
         "THERMOSTAT",
         "ADET",
         350,
         1500,
         {"MAHLE", "VALEO", "GATES", "FEBI"},
         3},
        {"SOĞUTMA",
         "FAN MOTORU",
         "RADIATOR FAN MOTOR",
         "ADET",
         1800,
         6500,
         {"VALEO", "BOSCH", "NISSENS"},
         2},
        {"SOĞUTMA",
         "RADYATÖR HORTUMU",
         "RADIATOR HOSE",
         "ADET",
         200,
         850,
         {"GATES", "FEBI", "CORTECO"},
         3},
        {"SOĞUTMA",
         "KLİMA KOMPRESÖRÜ",
         "AIR CONDITIONING COMPRESSOR",
         "ADET",
         9000,
         24000,
         {"VALEO", "DELPHI", "MAHLE", "NISSENS"},
         1},
        {"RULMAN",
         "ÖN TEKER RULMANI",
         "FRONT WHEEL BEARING KIT",
         "TAKIM",
         700,
         3200,
         {"SKF", "FAG", "FEBI"},
         4},
        {"RULMAN",
         "ARKA TEKER RULMANI",
         "REAR WHEEL BEARING KIT",
         "TAKIM",
         650,
         2900,
         {"SKF", "FAG", "FEBI"},
         3},
        {"AYDINLATMA", "FAR AMPULÜ H7", "BULB H7 12V 55W", "ADET", 80, 420, {"OSRAM", "BOSCH"}, 3},
        {"AYDINLATMA",
         "FAR AMPULÜ H4",
         "BULB H4 12V 60/55W",
         "ADET",
         80,
         420,
         {"OSRAM", "BOSCH"},
         2},
    };
    return list;
}

struct Vehicle
{
    const char *make;
    const char *model;
    std::vector<const char *> oemPatterns;
    bool finish; // Ford's finish codes
};

const std::vector<Vehicle> &vehicles()
{
    static const std::vector<Vehicle> list = {
        {"FIAT", "DOBLO 1.3 MJT", {"5#######", "46######", "7#######"}, false},
        {"FIAT", "EGEA 1.3 MJT", {"5#######", "52######"}, false},
        {"FIAT", "LINEA 1.3 MJT", {"5#######", "46######"}, false},
        {"FIAT", "FIORINO 1.3 MJT", {"5#######", "55######"}, false},
        {"TOFAŞ", "ŞAHİN 1.6", {"7#######", "46######"}, false},
        {"RENAULT", "CLIO IV 1.5 DCI", {"77########", "#########R"}, false},
        {"RENAULT", "MEGANE III 1.5 DCI", {"77########", "#########R"}, false},
        {"RENAULT", "FLUENCE 1.5 DCI", {"77########", "#########R"}, false},
        {"DACIA", "DUSTER 1.5 DCI", {"#########R", "60########"}, false},
        {"FORD", "TRANSIT V347 2.4 TDCI", {"#@##-#@###-@@", "#@##-#####-@@"}, true},
        {"FORD", "FOCUS II 1.6 TDCI", {"#@##-#@###-@@", "#@##-#####-@@"}, true},
        {"FORD", "COURIER 1.5 TDCI", {"@#@#-#@###-@@"}, true},
        {"FORD", "FIESTA 1.4 TDCI", {"#@##-#@###-@@"}, true},
        {"VW", "PASSAT B6 1.6 TDI", {"#@#######@", "#@#######"}, false},
        {"VW", "GOLF VI 1.6 TDI", {"#@#######@", "#@#######"}, false},
        {"VW", "CADDY 1.6 TDI", {"#@#######@", "#@#######"}, false},
        {"TOYOTA", "COROLLA 1.4 D4D", {"#####-#####", "#####-##@##"}, false},
        {"TOYOTA", "YARIS 1.33", {"#####-#####"}, false},
        {"HYUNDAI", "ACCENT ERA 1.5 CRDI", {"#####-#@@##", "#####-#####"}, false},
        {"HYUNDAI", "I20 1.4 CRDI", {"#####-#@@##", "#####-#####"}, false},
        {"OPEL", "ASTRA H 1.3 CDTI", {"9#######", "## ## ###"}, false},
        {"OPEL", "CORSA D 1.3 CDTI", {"9#######", "## ## ###"}, false},
        {"PEUGEOT", "301 1.6 HDI", {"16########", "####.@#"}, false},
        {"CITROEN", "BERLINGO 1.6 HDI", {"16########", "####.@#"}, false},
        {"HONDA", "CIVIC 1.6 I-VTEC", {"#####-@@@-@##"}, false},
        {"MERCEDES", "SPRINTER 2.2 CDI", {"@ ### ### ## ##"}, false},
    };
    return list;
}

QString fillPattern(Rng &rng, const char *pattern)
{
    QString out;
    for (const char *p = pattern; *p; ++p) {
        if (*p == '#')
            out += QChar(u'0' + rng.below(10));
        else if (*p == '@')
            out += QChar(u'A' + rng.below(26));
        else
            out += QChar::fromLatin1(*p);
    }
    return out;
}

QString ean13(const QString &twelve)
{
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (twelve[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return twelve + QChar(u'0' + (10 - sum % 10) % 10);
}

double dayNumber(const QDate &date, const QTime &time = QTime(0, 0))
{
    return toDayNumber(QDateTime(date, time));
}

// Inserts rows in multi-row statements: QtSql's per-call overhead, not
// SQLite, is what a bulk load spends its time on.
class BatchInsert
{
public:
    BatchInsert(const QSqlDatabase &db, QString table, QStringList columns, int rowsPerStatement)
        : m_db(db)
        , m_table(std::move(table))
        , m_columns(std::move(columns))
        , m_rows(rowsPerStatement)
    {
        m_full = std::make_unique<DevQuery>(m_db, sql(m_rows));
    }

    void add(std::initializer_list<QVariant> values)
    {
        for (const QVariant &v : values)
            m_pending.push_back(v);
        if (m_pending.size() == std::size_t(m_rows * m_columns.size())) {
            run(*m_full);
            m_pending.clear();
        }
    }
    void flush()
    {
        if (m_pending.empty())
            return;
        DevQuery q(m_db, sql(int(m_pending.size() / std::size_t(m_columns.size()))));
        run(q);
        m_pending.clear();
    }

private:
    QString sql(int rows) const
    {
        QString one = QStringLiteral("(") + QStringLiteral("?,").repeated(m_columns.size());
        one.chop(1);
        one += u')';
        QString s
            = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(m_table, m_columns.join(u','));
        for (int i = 0; i < rows; ++i) {
            if (i)
                s += u',';
            s += one;
        }
        return s;
    }
    void run(DevQuery &q)
    {
        for (std::size_t i = 0; i < m_pending.size(); ++i)
            q.bind(int(i), m_pending[i]);
        q.exec();
    }

    QSqlDatabase m_db;
    QString m_table;
    QStringList m_columns;
    int m_rows;
    std::unique_ptr<DevQuery> m_full;
    std::vector<QVariant> m_pending;
};

struct StockItem
{
    int stokno;
    QString marka;
    QString anagrup;
    QString adi;
    QString barkod;
    double liste;
    double kampfiyat;
    bool kampanya;
};

const QStringList kFirmWords = {
    QStringLiteral("ÖZKAN"),   QStringLiteral("YILDIZ"),  QStringLiteral("AKSOY"),
    QStringLiteral("GÜNEŞ"),   QStringLiteral("ERDEM"),   QStringLiteral("KARADENİZ"),
    QStringLiteral("ANADOLU"), QStringLiteral("EGE"),     QStringLiteral("MARMARA"),
    QStringLiteral("TOROS"),   QStringLiteral("BAŞKENT"), QStringLiteral("ÇUKUROVA"),
    QStringLiteral("KARTAL"),  QStringLiteral("DOĞAN"),   QStringLiteral("ŞİMŞEK"),
    QStringLiteral("ASLAN"),   QStringLiteral("KOÇAK"),   QStringLiteral("TUNA"),
    QStringLiteral("BİRLİK"),  QStringLiteral("GÜVEN"),   QStringLiteral("ÖZTÜRK"),
    QStringLiteral("POLAT"),   QStringLiteral("ÇETİN"),   QStringLiteral("KAYA"),
    QStringLiteral("UYSAL"),   QStringLiteral("AYDIN"),   QStringLiteral("DEMİRCİ"),
    QStringLiteral("KILIÇ"),   QStringLiteral("AKGÜL"),   QStringLiteral("ERTAŞ"),
};
const QStringList kFirmKinds = {QStringLiteral("OTO YEDEK PARÇA"), QStringLiteral("OTOMOTİV")};
const QStringList kFirmSuffixes = {QStringLiteral("LTD. ŞTİ."),
                                   QStringLiteral("TİC. LTD. ŞTİ."),
                                   QStringLiteral("SAN. VE TİC. A.Ş."),
                                   QStringLiteral("TİC.")};

struct City
{
    const char *name;
    const char *areaCode;
    std::vector<const char *> districts;
};

const std::vector<City> &cities()
{
    static const std::vector<City> list = {
        {"İSTANBUL", "0212", {"BAYRAMPAŞA", "İKİTELLİ", "ÜMRANİYE", "KARTAL", "ESENYURT"}},
        {"ANKARA", "0312", {"OSTİM", "YENİMAHALLE", "ETİMESGUT", "SİNCAN"}},
        {"İZMİR", "0232", {"BORNOVA", "KARABAĞLAR", "ÇİĞLİ", "GAZİEMİR"}},
        {"BURSA", "0224", {"OSMANGAZİ", "NİLÜFER", "YILDIRIM"}},
        {"KONYA", "0332", {"SELÇUKLU", "KARATAY", "MERAM"}},
        {"ADANA", "0322", {"SEYHAN", "YÜREĞİR", "ÇUKUROVA"}},
        {"GAZİANTEP", "0342", {"ŞAHİNBEY", "ŞEHİTKAMİL"}},
        {"KAYSERİ", "0352", {"MELİKGAZİ", "KOCASİNAN"}},
        {"ESKİŞEHİR", "0222", {"ODUNPAZARI", "TEPEBAŞI"}},
        {"SAMSUN", "0362", {"İLKADIM", "ATAKUM", "CANİK"}},
        {"TRABZON", "0462", {"ORTAHİSAR", "AKÇAABAT"}},
        {"ANTALYA", "0242", {"KEPEZ", "MURATPAŞA"}},
        {"DENİZLİ", "0258", {"MERKEZEFENDİ", "PAMUKKALE"}},
        {"MERSİN", "0324", {"TOROSLAR", "AKDENİZ", "YENİŞEHİR"}},
        {"KOCAELİ", "0262", {"İZMİT", "GEBZE"}},
    };
    return list;
}

const QStringList kPeople = {
    QStringLiteral("AHMET YILMAZ"),
    QStringLiteral("MEHMET KAYA"),
    QStringLiteral("AYŞE DEMİR"),
    QStringLiteral("MUSTAFA ÇELİK"),
    QStringLiteral("FATMA ŞAHİN"),
    QStringLiteral("HÜSEYİN YILDIZ"),
    QStringLiteral("EMRE ÖZTÜRK"),
    QStringLiteral("ZEYNEP AYDIN"),
    QStringLiteral("ALİ ARSLAN"),
    QStringLiteral("İBRAHİM DOĞAN"),
    QStringLiteral("HASAN KILIÇ"),
    QStringLiteral("MURAT ASLAN"),
    QStringLiteral("ELİF KOÇ"),
    QStringLiteral("OSMAN KURT"),
    QStringLiteral("SERKAN ÖZDEMİR"),
    QStringLiteral("GÖKHAN ŞİMŞEK"),
    QStringLiteral("BURAK POLAT"),
    QStringLiteral("ÖMER ERDOĞAN"),
};

QString mailName(const QString &person)
{
    QString s = searchKey(QString(person).replace(u' ', u'.')).toLower();
    // searchKey drops the dot; put it back between the two names
    const QStringList parts = person.split(u' ');
    if (parts.size() == 2)
        s = searchKey(parts[0]).toLower() + u'.' + searchKey(parts[1]).toLower();
    return s;
}

QString phone(Rng &rng, const QString &area)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(area)
        .arg(rng.between(200, 799))
        .arg(rng.between(10, 99))
        .arg(rng.between(10, 99));
}

QString gsm(Rng &rng)
{
    static const char *prefixes[] = {"0532", "0533", "0535", "0542", "0505", "0555", "0544"};
    return phone(rng, QString::fromLatin1(prefixes[rng.below(7)]));
}

std::array<double, 4> rates(std::initializer_list<double> r)
{
    std::array<double, 4> a = {};
    std::size_t i = 0;
    for (double v : r)
        a[i++] = v;
    return a;
}

class Seeder
{
public:
    Seeder(const QSqlDatabase &db, const DevSeedOptions &options)
        : m_db(db)
        , m_opt(options)
        , m_rng(options.randomSeed)
    {}

    void run()
    {
        settings();
        salespeople();
        customers();
        users();
        stock();
        priceRules();
        deliveryChoices();
        history();
        baskets();
        screens();
        balances();
    }

private:
    void settings()
    {
        DevQuery q(m_db, QStringLiteral("INSERT INTO AYAR (ANAHTAR, DEGER) VALUES (?, ?)"));
        q.execWith({QStringLiteral("SURUM"), QString::number(DevProgramVersion)});
        q.execWith(
            {QStringLiteral("KAYANYAZI"),
             // The ticker's markup: colours, bold, an entity and a link.
             QStringLiteral("<FONT COLOR=\"#C00000\"><B>Quorvel Otomotiv B2B</B></FONT> "
                            "sistemine hoş geldiniz. Saat 14:00'e kadar verilen siparişler aynı "
                            "gün kargoya teslim edilir.&nbsp;&nbsp;<FONT COLOR=\"navy\">Yaz "
                            "kampanyası 31 Temmuz'a kadar devam ediyor &amp; BOSCH filtrelerde "
                            "ek indirim!</FONT>&nbsp;&nbsp;<A "
                            "HREF=\"https://www.quorvel.com.tr/kampanya\"><U>Kampanya "
                            "ayrıntıları</U></A>")});
    }

    void salespeople()
    {
        DevQuery q(
            m_db,
            QStringLiteral("INSERT INTO SATICI (SATICINO, ADI, TELEFON, MAIL) VALUES (?,?,?,?)"));
        for (int i = 1; i <= DevSalespersonCount; ++i) {
            const QString name = kPeople[i - 1];
            q.execWith({i, name, gsm(m_rng), mailName(name) + QStringLiteral("@quorvel.com.tr")});
        }
    }

    void customers()
    {
        BatchInsert ins(m_db,
                        QStringLiteral("CARI"),
                        {QStringLiteral("CARINO"),
                         QStringLiteral("CARIKOD"),
                         QStringLiteral("CARIADI"),
                         QStringLiteral("ADRES1"),
                         QStringLiteral("ADRES2"),
                         QStringLiteral("ILCE"),
                         QStringLiteral("IL"),
                         QStringLiteral("TEL1"),
                         QStringLiteral("TEL2"),
                         QStringLiteral("GSM"),
                         QStringLiteral("FAX1"),
                         QStringLiteral("FAX2"),
                         QStringLiteral("VERGIDAIRESI"),
                         QStringLiteral("VERGINO"),
                         QStringLiteral("YETKILI"),
                         QStringLiteral("EMAIL"),
                         QStringLiteral("OZELKOD"),
                         QStringLiteral("KOD1"),
                         QStringLiteral("KOD2"),
                         QStringLiteral("KOD3"),
                         QStringLiteral("KOD4"),
                         QStringLiteral("KOD5"),
                         QStringLiteral("ANAGRUP"),
                         QStringLiteral("ALTGRUP"),
                         QStringLiteral("INDIRIM"),
                         QStringLiteral("VADE"),
                         QStringLiteral("VADEKONTROLGUN"),
                         QStringLiteral("VADEKONTROLAY"),
                         QStringLiteral("KARGOAMBAR"),
                         QStringLiteral("SATICINO"),
                         QStringLiteral("AKTIF")},
                        20);
        static const std::vector<std::array<double, 4>> defaults = {rates({10, 5}),
                                                                    rates({15}),
                                                                    rates({10, 5, 3}),
                                                                    rates({20}),
                                                                    rates({12.5}),
                                                                    rates({10}),
                                                                    rates({25, 5}),
                                                                    rates({5}),
                                                                    rates({})};
        for (int i = 0; i < DevCustomerCount; ++i) {
            const int carino = DevDemoDealerCarino + i;
            const City &city = cities()[std::size_t(i) % cities().size()];
            const QString il = QString::fromUtf8(city.name);
            const QString ilce = QString::fromUtf8(
                city.districts[std::size_t(m_rng.below(int(city.districts.size())))]);
            const QString area = QString::fromLatin1(city.areaCode);
            const QString firm = kFirmWords[i % kFirmWords.size()] + u' '
                                 + kFirmKinds[(i / kFirmWords.size()) % kFirmKinds.size()] + u' '
                                 + kFirmSuffixes[m_rng.below(int(kFirmSuffixes.size()))];
            const QString person = kPeople[std::size_t(m_rng.below(int(kPeople.size())))];
            const auto r = i == 0 ? rates({10, 5}) : defaults[std::size_t(i) % defaults.size()];
            m_defaultRates.push_back(r);
            const int vade = (i % 3 == 0) ? 60 : (i % 3 == 1 ? 30 : 45);
            const QString domain = searchKey(kFirmWords[i % kFirmWords.size()]).toLower()
                                   + QStringLiteral("oto.com.tr");
            ins.add({carino,
                     QStringLiteral("120.01.%1").arg(i + 1, 3, 10, QChar(u'0')),
                     firm,
                     QStringLiteral("%1 SANAYİ SİTESİ %2. BLOK NO:%3")
                         .arg(ilce)
                         .arg(m_rng.between(1, 30))
                         .arg(m_rng.between(1, 120)),
                     QStringLiteral("%1. SOKAK").arg(m_rng.between(1, 3000)),
                     ilce,
                     il,
                     phone(m_rng, area),
                     m_rng.chance(0.5) ? phone(m_rng, area) : QString(),
                     gsm(m_rng),
                     phone(m_rng, area),
                     QString(),
                     ilce + QStringLiteral(" V.D."),
                     QStringLiteral("%1%2")
                         .arg(m_rng.between(10000, 99999))
                         .arg(m_rng.between(10000, 99999)),
                     person,
                     QStringLiteral("info@") + domain,
                     i % 4 == 0 ? QStringLiteral("BAYİ") : QStringLiteral("PERAKENDE"),
                     il,
                     i % 5 == 0 ? QStringLiteral("A GRUBU") : QStringLiteral("B GRUBU"),
                     QString(),
                     QString(),
                     QString(),
                     i % 4 == 0 ? QStringLiteral("BAYİLER") : QStringLiteral("SERVİSLER"),
                     il,
                     discountText(r),
                     vade,
                     vade + 15,
                     (vade + 15) / 30,
                     m_rng.chance(0.5) ? QStringLiteral("YURTİÇİ KARGO ") + il
                                       : QStringLiteral("ARAS KARGO ") + il,
                     (i % DevSalespersonCount) + 1,
                     i == DevCustomerCount - 1 ? 0 : 1});
            m_vade.push_back(vade);
        }
        ins.flush();
    }

    void users()
    {
        DevQuery q(
            m_db,
            QStringLiteral("INSERT INTO KULLANICI (SIRANO, BILGISAYARID, ADI, SIFRE, MUSTERITIPI, "
                           "AKTIF, EMAIL, CARINO, SATICINO, BILGISAYARADI, KAYITTARIHI) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?,?)"));
        int sirano = 1;
        for (const DevDemoLogin &d : kDemoLogins) {
            const QString user = QString::fromUtf8(d.userName);
            q.execWith({sirano++,
                        QString::fromUtf8(d.machineId),
                        user,
                        QString::fromUtf8(d.password),
                        d.musteriTipi,
                        d.active ? 1 : 0,
                        user.toLower() + QStringLiteral("@example.com.tr"),
                        d.carino ? QVariant(d.carino) : QVariant(),
                        d.saticino ? QVariant(d.saticino) : QVariant(),
                        QStringLiteral("PC-") + user,
                        dayNumber(m_opt.today.addDays(-400))});
        }
        // Further dealers' own computers, so that most accounts have a user.
        for (int i = 8; i < 40; ++i) {
            const int carino = DevDemoDealerCarino + i;
            q.execWith({sirano++,
                        QStringLiteral("PC-%1-%2").arg(carino).arg(m_rng.between(1000, 9999)),
                        QStringLiteral("BAYI%1").arg(i + 1),
                        QString::number(m_rng.between(1000, 9999)),
                        0,
                        1,
                        QStringLiteral("bayi%1@example.com.tr").arg(i + 1),
                        carino,
                        QVariant(),
                        QStringLiteral("MUHASEBE-PC"),
                        dayNumber(m_opt.today.addDays(-m_rng.between(30, 900)))});
        }
    }

    void stock()
    {
        BatchInsert ins(m_db,
                        QStringLiteral("STOK"),
                        {QStringLiteral("STOKNO"),         QStringLiteral("BARKOD"),
                         QStringLiteral("BARKODNO"),       QStringLiteral("ADI"),
                         QStringLiteral("DIGERADI"),       QStringLiteral("OEMNO"),
                         QStringLiteral("OEM1"),           QStringLiteral("OEM2"),
                         QStringLiteral("OEM3"),           QStringLiteral("OEM4"),
                         QStringLiteral("FINISHKOD"),      QStringLiteral("URETICIKODU"),
                         QStringLiteral("DPKOD"),          QStringLiteral("BIRIM"),
                         QStringLiteral("MARKA"),          QStringLiteral("MODEL"),
                         QStringLiteral("ANAGRUP"),        QStringLiteral("OZELKOD"),
                         QStringLiteral("PKOD"),           QStringLiteral("KDV"),
                         QStringLiteral("LISTEFIYAT1"),    QStringLiteral("KAMPFIYAT"),
                         QStringLiteral("KAMPANYA"),       QStringLiteral("YENI"),
                         QStringLiteral("RESIM"),          QStringLiteral("DURUM"),
                         QStringLiteral("KALAN"),          QStringLiteral("ALINANSIPARIS"),
                         QStringLiteral("VERILENSIPARIS"), QStringLiteral("EKLEMETARIHI")},
                        30);
        BatchInsert kod(m_db,
                        QStringLiteral("STOK_KOD"),
                        {QStringLiteral("KOD"), QStringLiteral("STOKNO")},
                        200);
        BatchInsert kelime(m_db,
                           QStringLiteral("STOK_KELIME"),
                           {QStringLiteral("KELIME"), QStringLiteral("STOKNO")},
                           200);

        const auto &kinds = partKinds();
        std::vector<int> kindByWeight;
        for (std::size_t k = 0; k < kinds.size(); ++k)
            kindByWeight.insert(kindByWeight.end(), std::size_t(kinds[k].weight), int(k));
        std::vector<int> brandSerial(brands().size());
        for (std::size_t b = 0; b < brandSerial.size(); ++b)
            brandSerial[b] = m_rng.between(100, 5000);
        static const char *pkods[] = {"A", "B", "C"};
        static const char *shelves = "ABCDEFGHKM";

        for (int stokno = 1; stokno <= m_opt.stockCount; ++stokno) {
            const PartKind &kind = kinds[std::size_t(m_rng.pick(kindByWeight))];
            const char *brandName
                = kind.brandNames[std::size_t(m_rng.below(int(kind.brandNames.size())))];
            const int bi = brandIndex(brandName);
            const Brand &brand = brands()[std::size_t(bi)];
            const QString marka = QString::fromUtf8(brandName);
            const Vehicle &veh = vehicles()[std::size_t(m_rng.below(int(vehicles().size())))];
            const QString make = QString::fromUtf8(veh.make);
            const QString model = QString::fromUtf8(veh.model);

            const QString uretici = fillPattern(
                m_rng, brand.patterns[std::size_t(m_rng.below(int(brand.patterns.size())))]);
            QStringList oems;
            const int oemCount = m_rng.between(1, 5);
            for (int o = 0; o < oemCount; ++o)
                oems += fillPattern(
                    m_rng, veh.oemPatterns[std::size_t(m_rng.below(int(veh.oemPatterns.size())))]);
            while (oems.size() < 5)
                oems += QString();
            const QString finish
                = veh.finish ? QString::number(m_rng.between(1000000, 2999999)) : QString();
            const int serial = brandSerial[std::size_t(bi)]++ % 100000;
            const QString barkod = ean13(QString::fromLatin1(brand.eanPrefix)
                                         + QStringLiteral("%1").arg(serial, 5, 10, QChar(u'0')));
            const QString adi = QString::fromUtf8(kind.name) + u' ' + model;
            const QString group = QString::fromUtf8(kind.group);

            double liste = kind.minPrice + m_rng.unit() * (kind.maxPrice - kind.minPrice);
            static const double cents[] = {0.0, 0.5, 0.9};
            liste = std::floor(liste) + cents[m_rng.below(3)];
            const bool kampanya = m_rng.chance(0.04);
            const double kampfiyat
                = kampanya ? RoundTo2Decimals(liste * (0.78 + 0.12 * m_rng.unit())) : 0.0;
            const bool yeni = m_rng.chance(0.05);
            const double eklendi = dayNumber(
                m_opt.today.addDays(yeni ? -m_rng.between(0, 30) : -m_rng.between(60, 2000)));
            const bool resim = m_rng.chance(0.85);

            int durum;
            double kalan = 0, verilen = 0;
            const double r = m_rng.unit();
            if (r < 0.60) {
                durum = 1;
                kalan = m_rng.between(6, 200);
            } else if (r < 0.70) {
                durum = 2;
                kalan = m_rng.between(1, 5);
            } else if (r < 0.80) {
                durum = 3;
                verilen = m_rng.between(10, 100);
            } else if (r < 0.90) {
                durum = 0;
            } else if (r < 0.95) {
                durum = 4;
            } else {
                durum = 5;
                verilen = m_rng.between(5, 50);
            }
            const double alinan = m_rng.chance(0.3) ? m_rng.between(1, 20) : 0;

            ins.add({stokno,
                     barkod,
                     100000 + stokno,
                     adi,
                     QString::fromUtf8(kind.otherName),
                     oems[0],
                     oems[1],
                     oems[2],
                     oems[3],
                     oems[4],
                     finish,
                     uretici,
                     QStringLiteral("%1%2-%3")
                         .arg(QChar::fromLatin1(shelves[m_rng.below(10)]))
                         .arg(m_rng.between(1, 40), 2, 10, QChar(u'0'))
                         .arg(m_rng.between(1, 12), 2, 10, QChar(u'0')),
                     QString::fromUtf8(kind.unit),
                     marka,
                     make + u' ' + model,
                     group,
                     m_rng.chance(0.8) ? QString::fromUtf8(brand.ozelkod)
                                       : QStringLiteral("YERLİ ÜRETİM"),
                     QString::fromLatin1(pkods[m_rng.below(3)]),
                     20.0,
                     liste,
                     kampfiyat,
                     kampanya ? 1 : 0,
                     yeni ? 1 : 0,
                     resim ? 1 : 0,
                     durum,
                     kalan,
                     alinan,
                     verilen,
                     eklendi});

            QSet<QString> codes;
            for (const QString &c :
                 {barkod, uretici, finish, oems[0], oems[1], oems[2], oems[3], oems[4]}) {
                const QString key = searchKey(c);
                if (!key.isEmpty())
                    codes.insert(key);
            }
            QSet<QString> words = codes;
            for (const QString &text :
                 {adi, QString::fromUtf8(kind.otherName), marka, make + u' ' + model, group}) {
                for (const QString &w : searchWords(text))
                    words.insert(w);
            }
            QStringList sortedCodes(codes.begin(), codes.end());
            sortedCodes.sort();
            for (const QString &c : sortedCodes)
                kod.add({c, stokno});
            QStringList sortedWords(words.begin(), words.end());
            sortedWords.sort();
            for (const QString &w : sortedWords)
                kelime.add({w, stokno});

            m_items.push_back({stokno, marka, group, adi, barkod, liste, kampfiyat, kampanya});
        }
        ins.flush();
        kod.flush();
        kelime.flush();
    }

    void priceRules()
    {
        DevQuery q(m_db,
                   QStringLiteral(
                       "INSERT INTO FIYAT_KURAL (SIRANO, CARINO, STOKNO, MARKA, ANAGRUP, FIYAT, "
                       "IND1, IND2, IND3, IND4) VALUES (?,?,?,?,?,?,?,?,?,?)"));
        int sirano = 1;
        const QVariant nullInt;
        const QVariant nullText;
        const QVariant nullReal;
        auto add = [&](int carino,
                       int stokno,
                       const QString &marka,
                       const QString &grup,
                       std::optional<double> fiyat,
                       const std::array<double, 4> &r) {
            q.execWith({sirano++,
                        carino,
                        stokno ? QVariant(stokno) : nullInt,
                        marka.isEmpty() ? nullText : QVariant(marka),
                        grup.isEmpty() ? nullText : QVariant(grup),
                        fiyat ? QVariant(*fiyat) : nullReal,
                        r[0],
                        r[1],
                        r[2],
                        r[3]});
            DevPriceRule rule;
            rule.stokno = stokno;
            rule.marka = marka;
            rule.anagrup = grup;
            rule.fiyat = fiyat;
            rule.rates = r;
            m_rules[carino].add(rule);
        };
        for (int i = 0; i < DevCustomerCount; ++i) {
            const int carino = DevDemoDealerCarino + i;
            if (m_defaultRates[std::size_t(i)] != std::array<double, 4>{})
                add(carino, 0, {}, {}, std::nullopt, m_defaultRates[std::size_t(i)]);
        }
        // The demo dealer's rules are fixed; docs/devserver.md describes them.
        add(DevDemoDealerCarino, 0, QStringLiteral("BOSCH"), {}, std::nullopt, rates({20, 5}));
        add(DevDemoDealerCarino, 0, {}, QStringLiteral("FİLTRE"), std::nullopt, rates({15}));
        add(DevDemoDealerCarino,
            0,
            QStringLiteral("BOSCH"),
            QStringLiteral("FİLTRE"),
            std::nullopt,
            rates({25, 5, 2}));
        if (!m_items.empty()) {
            const StockItem &first = m_items.front();
            add(DevDemoDealerCarino,
                first.stokno,
                {},
                {},
                RoundTo2Decimals(first.liste * 0.85),
                rates({}));
        }
        static const QStringList someBrands = {QStringLiteral("VALEO"),
                                               QStringLiteral("SACHS"),
                                               QStringLiteral("TRW"),
                                               QStringLiteral("MANN-FILTER"),
                                               QStringLiteral("GATES"),
                                               QStringLiteral("SKF")};
        for (int i = 1; i < DevCustomerCount; ++i) {
            const int n = m_rng.below(3);
            QSet<QString> used;
            for (int k = 0; k < n; ++k) {
                const QString b = someBrands[m_rng.below(int(someBrands.size()))];
                if (used.contains(b))
                    continue;
                used.insert(b);
                add(DevDemoDealerCarino + i,
                    0,
                    b,
                    {},
                    std::nullopt,
                    rates({double(m_rng.between(3, 6) * 5), 5}));
            }
        }
    }

    void deliveryChoices()
    {
        DevQuery t(m_db, QStringLiteral("INSERT INTO TESLIM_TURU (TESLIMID, ADI) VALUES (?,?)"));
        t.execWith({1, QStringLiteral("Kargo ile Gönderim")});
        t.execWith({2, QStringLiteral("Depodan Teslim")});
        t.execWith({3, QStringLiteral("Servis Aracı ile")});
        t.execWith({4, QStringLiteral("Ambar ile Gönderim")});
        DevQuery k(m_db, QStringLiteral("INSERT INTO KARGO_TURU (KARGOID, ADI) VALUES (?,?)"));
        k.execWith({1, QStringLiteral("Alıcı Ödemeli")});
        k.execWith({2, QStringLiteral("Gönderici Ödemeli")});
        k.execWith({3, QStringLiteral("Anlaşmalı Kargo")});
        DevQuery f(m_db,
                   QStringLiteral(
                       "INSERT INTO KARGO_FIRMA (SIRANO, KARGOID, ADI, UYARI) VALUES (?,?,?,?)"));
        const QString late
            = QStringLiteral("Saat 16:00'dan sonraki siparişler ertesi gün kargoya verilir.");
        f.execWith({1, 1, QStringLiteral("YURTİÇİ KARGO"), late});
        f.execWith({2, 1, QStringLiteral("ARAS KARGO"), late});
        f.execWith({3, 1, QStringLiteral("MNG KARGO"), QString()});
        f.execWith({4,
                    2,
                    QStringLiteral("YURTİÇİ KARGO"),
                    QStringLiteral(
                        "Gönderici ödemeli gönderimler 5.000 TL üzeri siparişlerde geçerlidir.")});
        f.execWith({5, 2, QStringLiteral("SÜRAT KARGO"), QString()});
        f.execWith({6,
                    3,
                    QStringLiteral("HOROZ LOJİSTİK"),
                    QStringLiteral("Anlaşmalı kargoda teslimat 2-3 iş günüdür.")});
        f.execWith({7, 3, QStringLiteral("PTT KARGO"), QString()});
    }

    double lineNet(double miktar, const DevPrice &p) const
    {
        return RoundTo2Decimals(miktar * netPrice(p));
    }

    void history()
    {
        static const QString statusText[] = {QString(),
                                             QStringLiteral("Alındı"),
                                             QStringLiteral("Onaylandı"),
                                             QStringLiteral("Görüldü"),
                                             QStringLiteral("Parçalı Hazırlandı"),
                                             QStringLiteral("Hazırlandı"),
                                             QStringLiteral("Sevk Edildi")};
        static const QStringList dealerNotes
            = {QString(),
               QString(),
               QStringLiteral("Acil gönderim rica ederiz."),
               QStringLiteral("Faturayı e-posta ile gönderiniz."),
               QStringLiteral("Eksik ürün varsa parçalı gönderebilirsiniz.")};
        static const QStringList ourNotes
            = {QString(),
               QStringLiteral("Siparişiniz hazırlanıyor."),
               QStringLiteral("Eksik ürünler tedarik edilince gönderilecek."),
               QStringLiteral("Kargoya teslim edildi.")};
        static const QStringList collectionKinds = {QStringLiteral("Nakit"),
                                                    QStringLiteral("Kredi Kartı"),
                                                    QStringLiteral("Çek"),
                                                    QStringLiteral("Havale/EFT")};

        DevQuery order(
            m_db,
            QStringLiteral(
                "INSERT INTO SIPARIS (IDNO, CARINO, TARIH, VERENSIRANO, VEREN, TESLIMID, "
                "KARGOID, KARGOFIRMANO, DURUMNO, DURUM, VERENINNOTU, ALANNOTU, "
                "SATICINOTU, TUTAR, VERGI, NETTUTAR) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        BatchInsert line(m_db,
                         QStringLiteral("SIPARIS_SATIR"),
                         {QStringLiteral("STOKHAR_NO"),
                          QStringLiteral("IDNO"),
                          QStringLiteral("STOKNO"),
                          QStringLiteral("BARKOD"),
                          QStringLiteral("STOKADI"),
                          QStringLiteral("MIKTAR"),
                          QStringLiteral("TESLIMEDILEN"),
                          QStringLiteral("BIRIMFIYAT"),
                          QStringLiteral("ILKFIYAT"),
                          QStringLiteral("INDIRIMORANI1"),
                          QStringLiteral("INDIRIMORANI2"),
                          QStringLiteral("INDIRIMORANI3"),
                          QStringLiteral("INDIRIMORANI4"),
                          QStringLiteral("KDV")},
                         50);
        DevQuery invoice(
            m_db,
            QStringLiteral(
                "INSERT INTO FATURA (IDNO, CARINO, TARIH, EVRAKNO, TIPI, VADE, SATICIADI, "
                "IRSALIYENO, IRSTARIHI, SIPARISIDNO, TOPLAM, TOPLAMINDIRIM, MATRAH, "
                "KDVTUTAR, KDVDAHIL) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        BatchInsert invLine(m_db,
                            QStringLiteral("FATURA_SATIR"),
                            {QStringLiteral("SIRANO"),
                             QStringLiteral("IDNO"),
                             QStringLiteral("STOKNO"),
                             QStringLiteral("MIKTAR"),
                             QStringLiteral("BIRIMFIYAT"),
                             QStringLiteral("INDIRIM1"),
                             QStringLiteral("INDIRIM2"),
                             QStringLiteral("INDIRIM3"),
                             QStringLiteral("INDIRIM4"),
                             QStringLiteral("KDV"),
                             QStringLiteral("SIPARISSATIRNO")},
                            50);
        DevQuery collection(
            m_db,
            QStringLiteral(
                "INSERT INTO TAHSILAT (IDNO, CARINO, TARIH, TURU, CINS, EVRAKNO, VADE, "
                "TUTAR, ACIKLAMA, REF, SAAT, SANALPOSSIRANO) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"));
        DevQuery entry(
            m_db,
            QStringLiteral("INSERT INTO CARI_HAREKET (SIRANO, CARINO, TARIH, TURADI, EVRAK, BORC, "
                           "ALACAK, VADE, BELGEIDNO, ACIKLAMA) VALUES (?,?,?,?,?,?,?,?,?,?)"));

        int orderNo = 10001, lineNo = 1, invoiceNo = 1, invLineNo = 1, collectionNo = 1,
            entryNo = 1, sanalpos = 5001;
        const QDate start = m_opt.today.addMonths(-12);
        const QVariant nullInt;

        // Every account carries an opening balance.
        for (int i = 0; i < DevCustomerCount; ++i) {
            entry.execWith({entryNo++,
                            DevDemoDealerCarino + i,
                            dayNumber(start),
                            QStringLiteral("Devir"),
                            QStringLiteral("DEVİR"),
                            double(m_rng.between(0, 250) * 100),
                            0.0,
                            dayNumber(start),
                            0,
                            QStringLiteral("Önceki dönemden devir")});
        }

        const int historyCustomers = 8;
        for (int c = 0; c < historyCustomers; ++c) {
            const int carino = DevDemoDealerCarino + c;
            const int userSirano = c + 1; // the demo dealers' users come first
            const QString veren = QString::fromUtf8(kDemoLogins[c].userName);
            const QString saticiAdi = kPeople[c % DevSalespersonCount];
            const DevPriceRules &rules = m_rules[carino];
            std::map<int, double> invoicedByMonth;
            for (int month = 11; month >= 0; --month) {
                const int orders = m_rng.between(2, 4);
                for (int o = 0; o < orders; ++o) {
                    const int age = month * 30 + m_rng.between(0, 29);
                    const QDate date = m_opt.today.addDays(-age);
                    const QTime time(m_rng.between(8, 17), m_rng.between(0, 59));
                    int status;
                    if (age > 10)
                        status = m_rng.chance(0.9) ? 6 : 4;
                    else if (age > 5)
                        status = m_rng.chance(0.5) ? 5 : 4;
                    else if (age > 1)
                        status = m_rng.chance(0.5) ? 3 : 2;
                    else
                        status = 1;
                    if (month == 0 && o == 0)
                        status = 1 + c % 5; // every open state shows up in the counters

                    struct L
                    {
                        int no;
                        const StockItem *item;
                        double miktar, teslim;
                        DevPrice price;
                    };
                    std::vector<L> lines;
                    double tutar = 0, net = 0, vergi = 0;
                    const int count = m_rng.between(2, 8);
                    for (int l = 0; l < count; ++l) {
                        const StockItem &item
                            = m_items[std::size_t(m_rng.below(int(m_items.size())))];
                        const double miktar = m_rng.between(1, 10);
                        double teslim = 0;
                        if (status == 6)
                            teslim = m_rng.chance(0.9) ? miktar : std::floor(miktar / 2);
                        else if (status == 4)
                            teslim = m_rng.chance(0.5) ? miktar : std::floor(miktar / 2);
                        const DevPrice price
                            = rules.priceFor(item.stokno, item.marka, item.anagrup, item.liste);
                        lines.push_back({lineNo++, &item, miktar, teslim, price});
                        tutar += RoundTo2Decimals(miktar * price.fiyat);
                        const double n = lineNet(miktar, price);
                        net += n;
                        vergi += RoundTo2Decimals(n * 0.20);
                    }
                    const int idno = orderNo++;
                    order.execWith(
                        {idno,
                         carino,
                         dayNumber(date, time),
                         userSirano,
                         veren,
                         m_rng.between(1, 4),
                         m_rng.between(1, 3),
                         m_rng.between(1, 7),
                         status,
                         statusText[status],
                         dealerNotes[m_rng.below(int(dealerNotes.size()))],
                         status >= 4 ? ourNotes[m_rng.below(int(ourNotes.size()))] : QString(),
                         QString(),
                         RoundTo2Decimals(tutar),
                         RoundTo2Decimals(vergi),
                         RoundTo2Decimals(net)});
                    for (const L &l : lines) {
                        line.add({l.no,
                                  idno,
                                  l.item->stokno,
                                  l.item->barkod,
                                  l.item->adi,
                                  l.miktar,
                                  l.teslim,
                                  l.price.fiyat,
                                  l.item->liste,
                                  l.price.rates[0],
                                  l.price.rates[1],
                                  l.price.rates[2],
                                  l.price.rates[3],
                                  20.0});
                    }
                    if (status != 6 && status != 4)
                        continue;

                    // The delivered part is invoiced a day later.
                    const QDate invDate = date.addDays(1);
                    const int invId = invoiceNo++;
                    double top = 0, ind = 0;
                    for (const L &l : lines) {
                        if (l.teslim <= 0)
                            continue;
                        const double gross = RoundTo2Decimals(l.teslim * l.price.fiyat);
                        top += gross;
                        ind += gross - lineNet(l.teslim, l.price);
                    }
                    top = RoundTo2Decimals(top);
                    ind = RoundTo2Decimals(ind);
                    const double matrah = RoundTo2Decimals(top - ind);
                    const double kdv = RoundTo2Decimals(matrah * 0.20);
                    const double total = RoundTo2Decimals(matrah + kdv);
                    const QString evrak = QStringLiteral("QVF%1%2")
                                              .arg(invDate.year())
                                              .arg(invId, 6, 10, QChar(u'0'));
                    const double vade = dayNumber(invDate.addDays(m_vade[std::size_t(c)]));
                    invoice.execWith({invId,
                                      carino,
                                      dayNumber(invDate, QTime(17, 30)),
                                      evrak,
                                      QStringLiteral("Satış Faturası"),
                                      vade,
                                      saticiAdi,
                                      QStringLiteral("QVI%1%2")
                                          .arg(invDate.year())
                                          .arg(invId, 6, 10, QChar(u'0')),
                                      dayNumber(invDate),
                                      idno,
                                      top,
                                      ind,
                                      matrah,
                                      kdv,
                                      total});
                    entry.execWith({entryNo++,
                                    carino,
                                    dayNumber(invDate, QTime(17, 30)),
                                    QStringLiteral("Satış Faturası"),
                                    evrak,
                                    total,
                                    0.0,
                                    vade,
                                    invId,
                                    QStringLiteral("Sipariş No: %1").arg(idno)});
                    line.flush(); // the invoice lines point at these order lines
                    for (const L &l : lines) {
                        if (l.teslim <= 0)
                            continue;
                        invLine.add({invLineNo++,
                                     invId,
                                     l.item->stokno,
                                     l.teslim,
                                     l.price.fiyat,
                                     l.price.rates[0],
                                     l.price.rates[1],
                                     l.price.rates[2],
                                     l.price.rates[3],
                                     20.0,
                                     l.no});
                    }
                    invoicedByMonth[month] += total;
                }
            }
            // Collections: about what was invoiced the month before.
            for (int month = 10; month >= 0; --month) {
                const double due = invoicedByMonth[month + 1];
                if (due <= 0)
                    continue;
                const double amount = RoundTo2Decimals(due * (0.8 + 0.25 * m_rng.unit()));
                const QString kind = collectionKinds[m_rng.below(int(collectionKinds.size()))];
                const QDate date = m_opt.today.addDays(-(month * 30 + m_rng.between(0, 20)));
                const QTime time(m_rng.between(9, 17), m_rng.between(0, 59));
                const int id = collectionNo++;
                const bool card = kind == QStringLiteral("Kredi Kartı");
                const QString evrak
                    = QStringLiteral("QVT%1%2").arg(date.year()).arg(id, 6, 10, QChar(u'0'));
                collection.execWith(
                    {id,
                     carino,
                     dayNumber(date, time),
                     kind,
                     card ? QStringLiteral("Sanal POS") : kind,
                     evrak,
                     dayNumber(kind == QStringLiteral("Çek") ? date.addDays(60) : date),
                     amount,
                     card ? QStringLiteral("Online ödeme") : QStringLiteral("Cari tahsilat"),
                     QStringLiteral("R%1").arg(m_rng.between(100000, 999999)),
                     time.toString(QStringLiteral("HH:mm")),
                     card ? QVariant(sanalpos++) : nullInt});
                entry.execWith({entryNo++,
                                carino,
                                dayNumber(date, time),
                                QStringLiteral("Tahsilat"),
                                evrak,
                                0.0,
                                amount,
                                dayNumber(date),
                                id,
                                kind + QStringLiteral(" tahsilat")});
            }
        }
        line.flush();
        invLine.flush();
    }

    void baskets()
    {
        DevQuery q(
            m_db,
            QStringLiteral(
                "INSERT INTO SEPET (SIRANO, CARINO, STOKNO, BARKOD, STOKADI, MIKTAR, BIRIMFIYAT, "
                "INDIRIMORANI1, INDIRIMORANI2, INDIRIMORANI3, INDIRIMORANI4, KDV, K, SEC, TARIH, "
                "SAAT, VERENSIRANO) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        static const int perCustomer[] = {4, 2, 3, 1, 0, 2, 1, 0, 3, 0, 2, 1};
        int sirano = 1;
        for (int c = 0; c < int(std::size(perCustomer)); ++c) {
            const int carino = DevDemoDealerCarino + c;
            const DevPriceRules &rules = m_rules[carino];
            for (int l = 0; l < perCustomer[c]; ++l) {
                const StockItem &item = m_items[std::size_t(m_rng.below(int(m_items.size())))];
                const bool campaign = item.kampanya && kDemoLogins[std::min(c, 7)].musteriTipi != 4;
                DevPrice price = rules.priceFor(item.stokno, item.marka, item.anagrup, item.liste);
                if (campaign)
                    price = DevPrice{item.kampfiyat, {}};
                const QTime time(m_rng.between(8, 17), m_rng.between(0, 59));
                q.execWith({sirano++,
                            carino,
                            item.stokno,
                            item.barkod,
                            item.adi,
                            double(m_rng.between(1, 6)),
                            price.fiyat,
                            price.rates[0],
                            price.rates[1],
                            price.rates[2],
                            price.rates[3],
                            20.0,
                            campaign ? 1 : 0,
                            m_rng.chance(0.6) ? 1 : 0,
                            dayNumber(m_opt.today.addDays(-m_rng.between(0, 3)), time),
                            time.toString(QStringLiteral("HH:mm")),
                            c < 8 ? QVariant(c + 1) : QVariant()});
            }
        }
    }

    void screens()
    {
        struct Screen
        {
            QString title, subtitle, search;
            bool opening;
        };
        const Screen list[] = {
            {QStringLiteral("Yaz Kampanyası"),
             QStringLiteral("Seçili ürünlerde %30'a varan indirim"),
             QStringLiteral("#KAMPANYA#"),
             true},
            {QStringLiteral("Yeni Ürünler"),
             QStringLiteral("Bu ay kataloğa eklenen parçalar"),
             QStringLiteral("#YENİ#"),
             true},
            {QStringLiteral("Fren Balatalarında Fırsat"),
             QStringLiteral("BOSCH ve TRW balatalarda ek indirim"),
             QStringLiteral("BALATA"),
             true},
            {QStringLiteral("Triger Setleri"),
             QStringLiteral("GATES, SKF ve INA triger setleri stokta"),
             QStringLiteral("TRIGER SETI"),
             true},
            {QStringLiteral("Quorvel B2B"),
             QStringLiteral("7/24 sipariş, aynı gün kargo"),
             QString(),
             true},
            {QStringLiteral("Bayram Tatili"),
             QStringLiteral("Depomuz bayramın ikinci günü açıktır"),
             QString(),
             false},
            {QStringLiteral("Yeni Şube"),
             QStringLiteral("Ankara Ostim şubemiz hizmetinizde"),
             QString(),
             false},
        };
        DevQuery q(m_db,
                   QStringLiteral("INSERT INTO ACILIS_EKRAN (SIRANO, BASLIK, ARAMA, ACILIS, RESIM) "
                                  "VALUES (?,?,?,?,?)"));
        int i = 0;
        for (const Screen &s : list) {
            q.execWith({i + 1,
                        s.title,
                        s.search,
                        s.opening ? 1 : 0,
                        renderOpeningScreen(i, s.title, s.subtitle)});
            ++i;
        }
        DevQuery b(m_db, QStringLiteral("INSERT INTO BANNER (SIRANO, TUR, RESIM) VALUES (?,?,?)"));
        b.execWith({1, QStringLiteral("GIF"), renderHeaderBannerGif()});
        b.execWith({2, QStringLiteral("GIF"), renderStripBannerGif()});
        b.execWith({3, QStringLiteral("BMP"), renderLowerBannerBmp()});
    }

    void balances()
    {
        devExec(m_db,
                QStringLiteral("UPDATE CARI SET "
                               "TLBORC = (SELECT COALESCE(SUM(BORC), 0) FROM CARI_HAREKET h WHERE "
                               "h.CARINO = CARI.CARINO), "
                               "TLALACAK = (SELECT COALESCE(SUM(ALACAK), 0) FROM CARI_HAREKET h "
                               "WHERE h.CARINO = CARI.CARINO)"));
    }

    QSqlDatabase m_db;
    DevSeedOptions m_opt;
    Rng m_rng;
    std::vector<StockItem> m_items;
    std::vector<std::array<double, 4>> m_defaultRates;
    std::vector<int> m_vade;
    std::map<int, DevPriceRules> m_rules;
};

} // namespace

std::span<const DevDemoLogin> devDemoLogins()
{
    return kDemoLogins;
}

void seedDevDatabase(const QSqlDatabase &db, const DevSeedOptions &options)
{
    DevTransaction tx(db);
    // The whole load stays in memory until the commit instead of spilling
    // into the write-ahead log page by page.
    devExec(db, QStringLiteral("PRAGMA cache_size = -524288"));
    {
        Seeder seeder(db, options);
        seeder.run();
    }
    tx.commit();
    devExec(db, QStringLiteral("PRAGMA cache_size = -2000"));
    devExec(db, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

} // namespace qv
