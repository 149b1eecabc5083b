#include "orderqueries.h"

#include "errors.h"
#include "pricing.h"
#include "sqlutil.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QSqlQuery>

#include <cmath>
#include <vector>

namespace qv::orders {

namespace {

// --- tables ----------------------------------------------------------------

FieldType typeOf(const QString &name)
{
    static const QHash<QString, FieldType> types = [] {
        QHash<QString, FieldType> t;
        for (const char *n : {"SEC",
                              "SIRANO",
                              "SIPARISNO",
                              "CARINO",
                              "AKTAR",
                              "STOKNO",
                              "VERENIDNO",
                              "TESLIMID",
                              "KARGOID",
                              "IDNO",
                              "VERENSIRANO",
                              "STOK_STOKNO",
                              "DURUM",
                              "STOKHAR_NO",
                              "BARKOD_BARKODNO",
                              "RESIM",
                              "K",
                              "Y"})
            t.insert(QString::fromLatin1(n), FieldType::Integer);
        for (const char *n : {"VERILISTARIHI", "TARIH", "VADE"})
            t.insert(QString::fromLatin1(n), FieldType::DateTime);
        for (const char *n :
             {"KALAN",         "KDV",           "ALINANSIPARIS", "VERILENSIPARIS",
              "FIYAT",         "LISTEFIYAT1",   "KAMPFIYAT",     "INDIRIM",
              "NETFIYAT",      "KDVDAHIL",      "ESKIFIYAT",     "IND1",
              "IND2",          "IND3",          "IND4",          "MIKTAR",
              "BIRIMFIYAT",    "TUTAR",         "INDIRIMORANI1", "INDIRIMORANI2",
              "INDIRIMORANI3", "INDIRIMORANI4", "INDIRIMTUTAR",  "NETBIRIMFIYAT",
              "VERGITUTARI",   "NETTUTAR",      "KURTL",         "TESLIMEDILEN",
              "ILKFIYAT",      "ELDEKI",        "VERGI",         "TLBIRIMFIYAT",
              "TLVERGI",       "TLTUTAR",       "INDIRIM1",      "INDIRIM2",
              "INDIRIM3",      "INDIRIM4",      "INDIRIM5",      "INDIRIM6",
              "INDIRIM7",      "INDIRIM8",      "TOPLAMINDIRIM", "MASRAF1",
              "MASRAF2",       "TOPLAMMASRAF",  "NETTLTUTAR",    "KDVDAHILBIRIMFIYAT",
              "KDVDAHILTUTAR"})
            t.insert(QString::fromLatin1(n), FieldType::Float);
        return t;
    }();
    return types.value(name, FieldType::String);
}

using Names = std::vector<QString>;

Names names(std::initializer_list<const char *> list)
{
    Names n;
    for (const char *s : list)
        n.push_back(QString::fromLatin1(s));
    return n;
}

Names without(Names n, std::initializer_list<const char *> drop)
{
    for (const char *d : drop)
        std::erase(n, QString::fromLatin1(d));
    return n;
}

Names plus(Names n, std::initializer_list<const char *> more)
{
    for (const char *m : more)
        n.push_back(QString::fromLatin1(m));
    return n;
}

// Fills a table by column name, so that a query's select list need not follow
// the column order the client is promised.
class RowTable
{
public:
    explicit RowTable(const Names &cols, const QHash<QString, FieldType> &overrides = {})
    {
        for (const QString &c : cols) {
            m_index.insert(c, int(m_index.size()));
            m_table.addField({c, overrides.value(c, typeOf(c)), 0});
        }
        m_row.resize(cols.size());
    }
    void set(const QString &name, const QVariant &v)
    {
        const auto it = m_index.constFind(name);
        if (it == m_index.constEnd())
            throw Error(QStringLiteral("No column %1").arg(name));
        m_row[std::size_t(it.value())] = v;
    }
    void set(const char *name, const QVariant &v) { set(QString::fromLatin1(name), v); }
    void commit()
    {
        m_table.appendRow(m_row);
        m_row.assign(m_row.size(), QVariant());
    }
    TableData take() { return std::move(m_table); }

private:
    TableData m_table;
    QHash<QString, int> m_index;
    std::vector<QVariant> m_row;
};

const Names &basketColumns()
{
    static const Names n
        = names({"SEC",          "VERILISTARIHI", "SIRANO",        "SIPARISNO",     "CARINO",
                 "TARIH",        "AKTAR",         "STOKNO",        "BARKOD",        "FINISHKOD",
                 "OEMNO",        "STOKADI",       "MIKTAR",        "BIRIMFIYAT",    "TUTAR",
                 "INDIRIMYAZI",  "INDIRIMORANI1", "INDIRIMORANI2", "INDIRIMORANI3", "INDIRIMORANI4",
                 "INDIRIMTUTAR", "NETBIRIMFIYAT", "KDV",           "VERGITUTARI",   "NETTUTAR",
                 "KUR",          "KURTL",         "VERENIDNO",     "SAAT",          "TESLIMID",
                 "KARGOID",      "ACIKLAMA",      "IDNO",          "VERENSIRANO",   "VEREN",
                 "CARIKOD",      "CARIADI",       "OEM1",          "OEM2",          "OEM3",
                 "OEM4",         "STOK_STOKNO",   "URETICIKODU",   "DIGERADI",      "DPKOD",
                 "MARKA",        "MODEL",         "ANAGRUP",       "OZELKOD",       "PKOD",
                 "DURUM",        "KALAN"});
    return n;
}

const Names &orderLineColumns()
{
    static const Names n
        = plus(without(basketColumns(), {"SEC", "DURUM"}), {"TESLIM", "KARGO", "TESLIMEDILEN"});
    return n;
}

const Names &balanceColumns()
{
    static const Names n
        = plus(without(orderLineColumns(), {"CARINO"}),
               {"ILKFIYAT", "STOKHAR_NO", "ELDEKI", "DURUM", "ALINANSIPARIS", "VERILENSIPARIS"});
    return n;
}

// --- dates, money ------------------------------------------------------------

QString timeOfDay(double dayNumber)
{
    return fromDayNumber(dayNumber).time().toString(QStringLiteral("HH:mm"));
}

struct LineAmounts
{
    double tutar = 0, indirim = 0, netBirim = 0, net = 0, vergi = 0;
};

// The gross amount, the net unit price after the rates one after another,
// the net amount of the quantity at that unit price, and its VAT.
LineAmounts amountsOf(double miktar, double fiyat, const std::array<double, 4> &rates, double kdv)
{
    LineAmounts a;
    a.tutar = RoundTo2Decimals(miktar * fiyat);
    a.netBirim = netPrice(DevPrice{fiyat, rates});
    a.net = RoundTo2Decimals(miktar * a.netBirim);
    a.indirim = RoundTo2Decimals(a.tutar - a.net);
    a.vergi = RoundTo2Decimals(a.net * kdv / 100.0);
    return a;
}

bool validRates(const std::array<double, 4> &rates)
{
    for (double r : rates) {
        if (!std::isfinite(r) || r < 0 || r > 100)
            return false;
    }
    return true;
}

// --- who may do what -------------------------------------------------------------

struct Authority
{
    int sirano = 0;
    int musteriTipi = 0;
    int ownCarino = 0;
    QString adi;
    bool salesperson() const { return musteriTipi == 1 || musteriTipi == 2; }
};

std::optional<Authority> authorityOf(const QSqlDatabase &db, const Caller &caller)
{
    DevQuery q(db,
               QStringLiteral("SELECT MUSTERITIPI, COALESCE(CARINO, 0), ADI FROM KULLANICI "
                              "WHERE SIRANO = ? AND BILGISAYARID = ? AND AKTIF = 1"));
    q.bindAll({caller.sirano, caller.machineId}).exec();
    if (!q.next())
        return std::nullopt;
    Authority a;
    a.sirano = caller.sirano;
    a.musteriTipi = q.value(0).toInt();
    a.ownCarino = q.value(1).toInt();
    a.adi = q.value(2).toString();
    return a;
}

// A dealer acts for the own account only; a salesperson for the account the
// record carries, which must be the one asked for.
std::optional<Authority> authorityFor(const QSqlDatabase &db, const Caller &caller, int carino)
{
    auto a = authorityOf(db, caller);
    if (!a || carino <= 0)
        return std::nullopt;
    if (a->salesperson() ? carino != caller.carino : carino != a->ownCarino)
        return std::nullopt;
    if (!devScalar(db, QStringLiteral("SELECT 1 FROM CARI WHERE CARINO = ?"), {carino}).isValid())
        return std::nullopt;
    return a;
}

// SQLite's deferred BEGIN cannot turn into a writer once another connection
// has written (WAL answers busy at once instead of waiting), so writes take
// the write lock up front.
class WriteTransaction
{
public:
    explicit WriteTransaction(const QSqlDatabase &db)
        : m_db(db)
    {
        devExec(m_db, QStringLiteral("BEGIN IMMEDIATE"));
        m_open = true;
    }
    ~WriteTransaction()
    {
        if (m_open) {
            QSqlQuery q(m_db);
            q.exec(QStringLiteral("ROLLBACK"));
        }
    }
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;
    void commit()
    {
        devExec(m_db, QStringLiteral("COMMIT"));
        m_open = false;
    }

private:
    QSqlDatabase m_db;
    bool m_open = false;
};

int rowsAffected(DevQuery &q)
{
    return q.query().numRowsAffected();
}

// --- account prices ------------------------------------------------------------

struct ItemPrice
{
    DevPrice price;
    bool campaign = false;
};

// As the stock search prices it: a campaign price is net, with no account
// discount on top; user type 4 gets no campaigns.
ItemPrice priceOf(const DevPriceRules &rules,
                  int musteriTipi,
                  int stokno,
                  const QString &marka,
                  const QString &anagrup,
                  double liste,
                  bool kampanya,
                  double kampfiyat)
{
    if (musteriTipi != 4 && kampanya && kampfiyat > 0)
        return {DevPrice{kampfiyat, {}}, true};
    return {rules.priceFor(stokno, marka, anagrup, liste), false};
}

// --- catalogue lists -------------------------------------------------------------

const char kItemSelect[]
    = "SELECT STOKNO, BARKOD, BARKODNO, ADI, DIGERADI, OEMNO, OEM1, OEM2, OEM3, OEM4, "
      "FINISHKOD, URETICIKODU, DPKOD, BIRIM, MARKA, MODEL, ANAGRUP, OZELKOD, PKOD, KDV, "
      "LISTEFIYAT1, KAMPFIYAT, KAMPANYA, YENI, RESIM, DURUM, KALAN, ALINANSIPARIS, "
      "VERILENSIPARIS FROM STOK ";

// The columns both lists fill the same way; the rates travel as IND1..IND4
// too, because the add-to-basket dialog starts from them.
void fillItem(RowTable &t, QSqlQuery &q, const ItemPrice &p)
{
    for (const char *c :
         {"BARKOD", "ADI",           "DIGERADI",      "OEMNO",       "OEM1",  "OEM2",
          "OEM3",   "OEM4",          "FINISHKOD",     "URETICIKODU", "DPKOD", "BIRIM",
          "MARKA",  "MODEL",         "ANAGRUP",       "OZELKOD",     "PKOD",  "KDV",
          "KALAN",  "ALINANSIPARIS", "VERILENSIPARIS"})
        t.set(c, q.value(QString::fromLatin1(c)));
    t.set("STOK_STOKNO", q.value(QStringLiteral("STOKNO")));
    t.set("BARKOD_BARKODNO", q.value(QStringLiteral("BARKODNO")));
    const double net = netPrice(p.price);
    t.set("FIYAT", p.price.fiyat);
    t.set("K", p.campaign ? 1 : 0);
    t.set("INDIRIMYAZI", discountText(p.price.rates));
    t.set("INDIRIM", p.price.rates[0]);
    t.set("NETFIYAT", net);
    t.set("KDVDAHIL", withVat(net, q.value(QStringLiteral("KDV")).toDouble()));
    for (int i = 0; i < 4; ++i)
        t.set(QStringLiteral("IND%1").arg(i + 1), p.price.rates[std::size_t(i)]);
}

} // namespace

TableData newItems(DevDatabase &db, int carino)
{
    RowTable t(
        names({"OEM1",        "OEM2",          "OEM3",           "OEM4",        "BARKOD",
               "ADI",         "STOK_STOKNO",   "FINISHKOD",      "URETICIKODU", "BARKOD_BARKODNO",
               "DIGERADI",    "DPKOD",         "OEMNO",          "BIRIM",       "MARKA",
               "MODEL",       "ANAGRUP",       "OZELKOD",        "KALAN",       "PKOD",
               "KDV",         "ALINANSIPARIS", "VERILENSIPARIS", "FIYAT",       "K",
               "LISTEFIYAT1", "KAMPFIYAT",     "INDIRIMYAZI",    "INDIRIM",     "NETFIYAT",
               "KDVDAHIL",    "IND1",          "IND2",           "IND3",        "IND4"}));
    const QSqlDatabase c = db.connection();
    const DevPriceRules rules = loadPriceRules(c, carino);
    int musteriTipi = 0;
    if (const QVariant v = devScalar(
            c,
            QStringLiteral("SELECT MIN(MUSTERITIPI) FROM KULLANICI WHERE CARINO = ? AND AKTIF = 1"),
            {carino});
        v.isValid() && !v.isNull())
        musteriTipi = v.toInt(); // the account's users decide whether it sees campaigns
    DevQuery q(c,
               QString::fromLatin1(kItemSelect)
                   + QStringLiteral("WHERE YENI = 1 ORDER BY EKLEMETARIHI DESC, STOKNO"));
    q.exec();
    while (q.next()) {
        QSqlQuery &r = q.query();
        const ItemPrice p = priceOf(rules,
                                    musteriTipi,
                                    r.value(0).toInt(),
                                    r.value(14).toString(),
                                    r.value(16).toString(),
                                    r.value(20).toDouble(),
                                    r.value(22).toInt() == 1,
                                    r.value(21).toDouble());
        fillItem(t, r, p);
        t.set("LISTEFIYAT1", r.value(20));
        t.set("KAMPFIYAT", p.campaign ? r.value(21).toDouble() : 0.0);
        t.commit();
    }
    return t.take();
}

TableData campaignItems(DevDatabase &db, int carino, int musteriTipi)
{
    RowTable t(names({"OEM1",
                      "OEM2",
                      "OEM3",
                      "OEM4",
                      "BARKOD",
                      "ADI",
                      "STOK_STOKNO",
                      "RESIM",
                      "FINISHKOD",
                      "URETICIKODU",
                      "BARKOD_BARKODNO",
                      "DIGERADI",
                      "DPKOD",
                      "OEMNO",
                      "BIRIM",
                      "MARKA",
                      "MODEL",
                      "ANAGRUP",
                      "OZELKOD",
                      "KALAN",
                      "PKOD",
                      "KDV",
                      "ALINANSIPARIS",
                      "VERILENSIPARIS",
                      "ESKIFIYAT",
                      "FIYAT",
                      "Y",
                      "K",
                      "INDIRIM",
                      "INDIRIMYAZI",
                      "NETFIYAT",
                      "KDVDAHIL",
                      "DURUM",
                      "IND1",
                      "IND2",
                      "IND3",
                      "IND4"}));
    if (musteriTipi == 4)
        return t.take();
    const QSqlDatabase c = db.connection();
    const DevPriceRules rules = loadPriceRules(c, carino);
    DevQuery q(c,
               QString::fromLatin1(kItemSelect)
                   + QStringLiteral("WHERE KAMPANYA = 1 AND KAMPFIYAT > 0 ORDER BY ADI, STOKNO"));
    q.exec();
    while (q.next()) {
        QSqlQuery &r = q.query();
        const ItemPrice p = priceOf(rules,
                                    musteriTipi,
                                    r.value(0).toInt(),
                                    r.value(14).toString(),
                                    r.value(16).toString(),
                                    r.value(20).toDouble(),
                                    true,
                                    r.value(21).toDouble());
        fillItem(t, r, p);
        t.set("ESKIFIYAT", r.value(20));
        t.set("RESIM", r.value(24));
        t.set("Y", r.value(23));
        t.set("DURUM", r.value(25));
        t.commit();
    }
    return t.take();
}

TableData stockMovements(DevDatabase &db, int carino, int stokno)
{
    RowTable t(names({"BARKOD",        "TARIH",
                      "TURU",          "EVRAKSERI",
                      "EVRAKSIRA",     "MIKTAR",
                      "TLBIRIMFIYAT",  "TLVERGI",
                      "TLTUTAR",       "INDIRIM1",
                      "INDIRIM2",      "INDIRIM3",
                      "INDIRIM4",      "INDIRIM5",
                      "INDIRIM6",      "INDIRIM7",
                      "INDIRIM8",      "TOPLAMINDIRIM",
                      "MASRAF1",       "MASRAF2",
                      "TOPLAMMASRAF",  "NETBIRIMFIYAT",
                      "NETTLTUTAR",    "VADE",
                      "STOKCARIKOD",   "KDVDAHILBIRIMFIYAT",
                      "KDVDAHILTUTAR", "SATICI"}));
    DevQuery q(db.connection(),
               QStringLiteral(
                   "SELECT s.BARKOD, f.TARIH, f.TIPI, f.EVRAKNO, l.MIKTAR, l.BIRIMFIYAT, "
                   "l.INDIRIM1, l.INDIRIM2, l.INDIRIM3, l.INDIRIM4, l.KDV, l.MASRAF1, l.MASRAF2, "
                   "f.VADE, c.CARIKOD, f.SATICIADI "
                   "FROM FATURA_SATIR l JOIN FATURA f ON f.IDNO = l.IDNO "
                   "JOIN STOK s ON s.STOKNO = l.STOKNO JOIN CARI c ON c.CARINO = f.CARINO "
                   "WHERE f.CARINO = ? AND l.STOKNO = ? ORDER BY f.TARIH DESC, l.SIRANO"));
    q.bindAll({carino, stokno}).exec();
    while (q.next()) {
        const double miktar = q.value(4).toDouble();
        const std::array<double, 4> rates = {q.value(6).toDouble(),
                                             q.value(7).toDouble(),
                                             q.value(8).toDouble(),
                                             q.value(9).toDouble()};
        const double kdv = q.value(10).toDouble();
        const LineAmounts a = amountsOf(miktar, q.value(5).toDouble(), rates, kdv);
        const double m1 = q.value(11).toDouble(), m2 = q.value(12).toDouble();
        // Document numbers are a letter series followed by the running number.
        const QString evrak = q.value(3).toString();
        qsizetype split = 0;
        while (split < evrak.size() && !evrak[split].isDigit())
            ++split;
        t.set("BARKOD", q.value(0));
        t.set("TARIH", q.value(1));
        t.set("TURU", q.value(2));
        t.set("EVRAKSERI", evrak.left(split));
        t.set("EVRAKSIRA", evrak.mid(split));
        t.set("MIKTAR", miktar);
        t.set("TLBIRIMFIYAT", q.value(5));
        t.set("TLVERGI", a.vergi);
        t.set("TLTUTAR", a.tutar);
        for (int i = 0; i < 8; ++i)
            t.set(QStringLiteral("INDIRIM%1").arg(i + 1), i < 4 ? rates[std::size_t(i)] : 0.0);
        t.set("TOPLAMINDIRIM", a.indirim);
        t.set("MASRAF1", m1);
        t.set("MASRAF2", m2);
        t.set("TOPLAMMASRAF", RoundTo2Decimals(m1 + m2));
        t.set("NETBIRIMFIYAT", a.netBirim);
        t.set("NETTLTUTAR", a.net);
        t.set("VADE", q.value(13));
        t.set("STOKCARIKOD", q.value(14));
        t.set("KDVDAHILBIRIMFIYAT", withVat(a.netBirim, kdv));
        t.set("KDVDAHILTUTAR", RoundTo2Decimals(a.net + a.vergi));
        t.set("SATICI", q.value(15));
        t.commit();
    }
    return t.take();
}

// --- basket ------------------------------------------------------------------

int addBasketLine(DevDatabase &db, const Caller &caller, const BasketLine &line)
{
    if (!std::isfinite(line.miktar) || line.miktar <= 0)
        return 0;
    const QSqlDatabase c = db.connection();
    WriteTransaction tx(c);
    const auto who = authorityFor(c, caller, line.carino);
    if (!who)
        return 0;

    DevQuery item(c,
                  QStringLiteral("SELECT BARKOD, ADI, MARKA, ANAGRUP, LISTEFIYAT1, KAMPANYA, "
                                 "KAMPFIYAT, KDV FROM STOK WHERE STOKNO = ?"));
    item.bind(0, line.stokno).exec();
    if (!item.next())
        return 0;
    const DevPriceRules rules = loadPriceRules(c, line.carino);
    ItemPrice p = priceOf(rules,
                          who->musteriTipi,
                          line.stokno,
                          item.value(2).toString(),
                          item.value(3).toString(),
                          item.value(4).toDouble(),
                          item.value(5).toInt() == 1,
                          item.value(6).toDouble());
    if (who->salesperson()) {
        if (!std::isfinite(line.fiyat) || line.fiyat < 0 || !validRates(line.rates))
            return 0;
        p.price = DevPrice{line.fiyat, line.rates};
    }
    const double now = toDayNumber(QDateTime::currentDateTime());
    {
        DevQuery ins(c,
                     QStringLiteral(
                         "INSERT INTO SEPET (CARINO, STOKNO, BARKOD, STOKADI, MIKTAR, BIRIMFIYAT, "
                         "INDIRIMORANI1, INDIRIMORANI2, INDIRIMORANI3, INDIRIMORANI4, KDV, K, SEC, "
                         "TARIH, SAAT, VERENSIRANO) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,0,?,?,?)"));
        ins.execWith({line.carino,
                      line.stokno,
                      item.value(0),
                      item.value(1),
                      line.miktar,
                      p.price.fiyat,
                      p.price.rates[0],
                      p.price.rates[1],
                      p.price.rates[2],
                      p.price.rates[3],
                      item.value(7),
                      p.campaign ? 1 : 0,
                      now,
                      timeOfDay(now),
                      who->sirano});
    }
    tx.commit();
    return 1;
}

int updateBasketLine(DevDatabase &db, const Caller &caller, int sirano, const BasketLine &line)
{
    if (!std::isfinite(line.miktar) || line.miktar <= 0)
        return 0;
    const QSqlDatabase c = db.connection();
    WriteTransaction tx(c);
    const auto who = authorityFor(c, caller, line.carino);
    if (!who)
        return 0;
    int changed = 0;
    {
        // A dealer changes the quantity only; the price stays the account's.
        QString sql = QStringLiteral("UPDATE SEPET SET MIKTAR = ?");
        std::vector<QVariant> args{line.miktar};
        if (who->salesperson()) {
            if (!std::isfinite(line.fiyat) || line.fiyat < 0 || !validRates(line.rates))
                return 0;
            sql += QStringLiteral(", BIRIMFIYAT = ?, INDIRIMORANI1 = ?, INDIRIMORANI2 = ?, "
                                  "INDIRIMORANI3 = ?, INDIRIMORANI4 = ?");
            args.insert(args.end(),
                        {line.fiyat, line.rates[0], line.rates[1], line.rates[2], line.rates[3]});
        }
        sql += QStringLiteral(" WHERE SIRANO = ? AND CARINO = ? AND SIPARISNO IS NULL");
        args.insert(args.end(), {sirano, line.carino});
        DevQuery q(c, sql);
        for (std::size_t i = 0; i < args.size(); ++i)
            q.bind(int(i), args[i]);
        q.exec();
        changed = rowsAffected(q);
    }
    tx.commit();
    return changed > 0 ? 1 : 0;
}

int deleteBasketLine(DevDatabase &db, const Caller &caller, int sirano)
{
    const QSqlDatabase c = db.connection();
    WriteTransaction tx(c);
    if (!authorityFor(c, caller, caller.carino))
        return 0;
    int removed = 0;
    {
        DevQuery q(c,
                   QStringLiteral(
                       "DELETE FROM SEPET WHERE SIRANO = ? AND CARINO = ? AND SIPARISNO IS NULL"));
        q.execWith({sirano, caller.carino});
        removed = rowsAffected(q);
    }
    tx.commit();
    return removed;
}

int clearBasket(DevDatabase &db, const Caller &caller)
{
    const QSqlDatabase c = db.connection();
    WriteTransaction tx(c);
    if (!authorityFor(c, caller, caller.carino))
        return 0;
    int removed = 0;
    {
        DevQuery q(c, QStringLiteral("DELETE FROM SEPET WHERE CARINO = ? AND SIPARISNO IS NULL"));
        q.execWith({caller.carino});
        removed = rowsAffected(q);
    }
    tx.commit();
    return removed;
}

void setLineSelection(DevDatabase &db, int sirano, int secim)
{
    DevQuery q(db.connection(),
               QStringLiteral("UPDATE SEPET SET SEC = ? WHERE SIRANO = ? AND SIPARISNO IS NULL"));
    q.execWith({secim != 0 ? 1 : 0, sirano});
}

TableData basket(DevDatabase &db, int carino)
{
    RowTable t(basketColumns());
    DevQuery q(
        db.connection(),
        QStringLiteral("SELECT b.SEC, b.TARIH, b.SIRANO, b.CARINO, b.STOKNO, b.BARKOD, b.STOKADI, "
                       "b.MIKTAR, b.BIRIMFIYAT, b.INDIRIMORANI1, b.INDIRIMORANI2, b.INDIRIMORANI3, "
                       "b.INDIRIMORANI4, b.KDV, b.KUR, b.KURTL, b.VERENSIRANO, b.SAAT, b.ACIKLAMA, "
                       "COALESCE(k.ADI, ''), c.CARIKOD, c.CARIADI, s.FINISHKOD, s.OEMNO, s.OEM1, "
                       "s.OEM2, s.OEM3, s.OEM4, s.URETICIKODU, s.DIGERADI, s.DPKOD, s.MARKA, "
                       "s.MODEL, s.ANAGRUP, s.OZELKOD, s.PKOD, s.DURUM, s.KALAN "
                       "FROM SEPET b JOIN STOK s ON s.STOKNO = b.STOKNO "
                       "JOIN CARI c ON c.CARINO = b.CARINO "
                       "LEFT JOIN KULLANICI k ON k.SIRANO = b.VERENSIRANO "
                       "WHERE b.CARINO = ? AND b.SIPARISNO IS NULL ORDER BY b.SIRANO"));
    q.bind(0, carino).exec();
    while (q.next()) {
        const std::array<double, 4> rates = {q.value(9).toDouble(),
                                             q.value(10).toDouble(),
                                             q.value(11).toDouble(),
                                             q.value(12).toDouble()};
        const double kdv = q.value(13).toDouble();
        const LineAmounts a = amountsOf(q.value(7).toDouble(), q.value(8).toDouble(), rates, kdv);
        t.set("SEC", q.value(0));
        t.set("VERILISTARIHI", q.value(1));
        t.set("SIRANO", q.value(2));
        t.set("CARINO", q.value(3));
        t.set("TARIH", q.value(1));
        t.set("AKTAR", 0);
        t.set("STOKNO", q.value(4));
        t.set("STOK_STOKNO", q.value(4));
        t.set("BARKOD", q.value(5));
        t.set("STOKADI", q.value(6));
        t.set("MIKTAR", q.value(7));
        t.set("BIRIMFIYAT", q.value(8));
        t.set("TUTAR", a.tutar);
        t.set("INDIRIMYAZI", discountText(rates));
        for (int i = 0; i < 4; ++i)
            t.set(QStringLiteral("INDIRIMORANI%1").arg(i + 1), rates[std::size_t(i)]);
        t.set("INDIRIMTUTAR", a.indirim);
        t.set("NETBIRIMFIYAT", a.netBirim);
        t.set("KDV", kdv);
        t.set("VERGITUTARI", a.vergi);
        t.set("NETTUTAR", a.net);
        t.set("KUR", q.value(14));
        t.set("KURTL", q.value(15));
        t.set("VERENIDNO", q.value(16));
        t.set("VERENSIRANO", q.value(16));
        t.set("SAAT", q.value(17));
        t.set("ACIKLAMA", q.value(18));
        t.set("VEREN", q.value(19));
        t.set("CARIKOD", q.value(20));
        t.set("CARIADI", q.value(21));
        int col = 22;
        for (const char *n : {"FINISHKOD",
                              "OEMNO",
                              "OEM1",
                              "OEM2",
                              "OEM3",
                              "OEM4",
                              "URETICIKODU",
                              "DIGERADI",
                              "DPKOD",
                              "MARKA",
                              "MODEL",
                              "ANAGRUP",
                              "OZELKOD",
                              "PKOD",
                              "DURUM",
                              "KALAN"})
            t.set(n, q.value(col++));
        t.commit();
    }
    return t.take();
}

QString overdueWarning(DevDatabase &db, int carino)
{
    const QSqlDatabase c = db.connection();
    // The demo books end on their own date; against the wall clock every old
    // debt would be overdue.
    const QVariant today = devScalar(c, QStringLiteral("SELECT MAX(TARIH) FROM CARI_HAREKET"));
    if (!today.isValid() || today.isNull())
        return {};
    double credit = devScalar(c,
                              QStringLiteral("SELECT COALESCE(SUM(ALACAK), 0) FROM CARI_HAREKET "
                                             "WHERE CARINO = ?"),
                              {carino})
                        .toDouble();
    // Payments settle the oldest debts first; what stays unpaid past its due
    // date is overdue.
    DevQuery q(c,
               QStringLiteral("SELECT BORC, VADE FROM CARI_HAREKET WHERE CARINO = ? AND BORC > 0 "
                              "ORDER BY VADE, TARIH, SIRANO"));
    q.bind(0, carino).exec();
    double overdue = 0;
    while (q.next()) {
        double borc = q.value(0).toDouble();
        const double paid = std::min(credit, borc);
        credit -= paid;
        borc -= paid;
        if (borc > 0 && q.value(1).toDouble() < today.toDouble())
            overdue += borc;
    }
    overdue = RoundTo2Decimals(overdue);
    if (overdue < 0.01)
        return {};
    return QStringLiteral("Vadesi geçmiş %1 TL bakiyeniz bulunmaktadır. Lütfen ödeme yapınız.")
        .arg(FormatFloat(QStringLiteral("#,###,##0.00"), overdue, QLocale(QLocale::Turkish)));
}

// --- order confirmation ----------------------------------------------------------

namespace {

TableData choiceTable(DevDatabase &db, const char *idName, const QString &sql)
{
    RowTable t(names({idName, "ADI"}));
    DevQuery q(db.connection(), sql);
    q.exec();
    while (q.next()) {
        t.set(idName, q.value(0));
        t.set("ADI", q.value(1));
        t.commit();
    }
    return t.take();
}

} // namespace

TableData deliveryKinds(DevDatabase &db)
{
    return choiceTable(
        db, "TESLIMID", QStringLiteral("SELECT TESLIMID, ADI FROM TESLIM_TURU ORDER BY TESLIMID"));
}

TableData cargoKinds(DevDatabase &db)
{
    return choiceTable(
        db, "KARGOID", QStringLiteral("SELECT KARGOID, ADI FROM KARGO_TURU ORDER BY KARGOID"));
}

TableData carriers(DevDatabase &db, int kargoid)
{
    RowTable t(names({"SIRANO", "ADI", "UYARI"}));
    DevQuery q(db.connection(),
               QStringLiteral(
                   "SELECT SIRANO, ADI, UYARI FROM KARGO_FIRMA WHERE KARGOID = ? ORDER BY SIRANO"));
    q.bind(0, kargoid).exec();
    while (q.next()) {
        t.set("SIRANO", q.value(0));
        t.set("ADI", q.value(1));
        t.set("UYARI", q.value(2));
        t.commit();
    }
    return t.take();
}

namespace {

// Keeps an order's header totals equal to the sum of its lines.
void refreshOrderTotals(const QSqlDatabase &c, int idno)
{
    double tutar = 0, net = 0, vergi = 0;
    {
        DevQuery q(c,
                   QStringLiteral("SELECT MIKTAR, BIRIMFIYAT, INDIRIMORANI1, INDIRIMORANI2, "
                                  "INDIRIMORANI3, INDIRIMORANI4, KDV FROM SIPARIS_SATIR "
                                  "WHERE IDNO = ?"));
        q.bind(0, idno).exec();
        while (q.next()) {
            const LineAmounts a = amountsOf(q.value(0).toDouble(),
                                            q.value(1).toDouble(),
                                            {q.value(2).toDouble(),
                                             q.value(3).toDouble(),
                                             q.value(4).toDouble(),
                                             q.value(5).toDouble()},
                                            q.value(6).toDouble());
            tutar += a.tutar;
            net += a.net;
            vergi += a.vergi;
        }
    }
    DevQuery u(
        c, QStringLiteral("UPDATE SIPARIS SET TUTAR = ?, NETTUTAR = ?, VERGI = ? WHERE IDNO = ?"));
    u.execWith({RoundTo2Decimals(tutar), RoundTo2Decimals(net), RoundTo2Decimals(vergi), idno});
}

} // namespace

std::optional<int> placeOrder(DevDatabase &db, const Caller &caller, const OrderHeader &h)
{
    const QSqlDatabase c = db.connection();
    WriteTransaction tx(c);
    const auto who = authorityFor(c, caller, h.carino);
    if (!who)
        return std::nullopt;
    const bool validHeader
        = devScalar(c, QStringLiteral("SELECT 1 FROM TESLIM_TURU WHERE TESLIMID = ?"), {h.teslimid})
              .isValid()
          && devScalar(c,
                       QStringLiteral("SELECT 1 FROM KARGO_FIRMA WHERE SIRANO = ? AND KARGOID = ?"),
                       {h.kargoFirma, h.kargoid})
                 .isValid();
    if (!validHeader)
        return std::nullopt;

    struct Line
    {
        int sirano, stokno;
        QVariant barkod, stokadi;
        double miktar, fiyat, liste, kdv;
        std::array<double, 4> rates;
    };
    std::vector<Line> lines;
    {
        DevQuery q(
            c,
            QStringLiteral(
                "SELECT b.SIRANO, b.STOKNO, b.BARKOD, b.STOKADI, b.MIKTAR, b.BIRIMFIYAT, "
                "s.LISTEFIYAT1, b.KDV, b.INDIRIMORANI1, b.INDIRIMORANI2, b.INDIRIMORANI3, "
                "b.INDIRIMORANI4 FROM SEPET b JOIN STOK s ON s.STOKNO = b.STOKNO "
                "WHERE b.CARINO = ? AND b.SIPARISNO IS NULL AND b.SEC = 1 ORDER BY b.SIRANO"));
        q.bind(0, h.carino).exec();
        while (q.next()) {
            lines.push_back({q.value(0).toInt(),
                             q.value(1).toInt(),
                             q.value(2),
                             q.value(3),
                             q.value(4).toDouble(),
                             q.value(5).toDouble(),
                             q.value(6).toDouble(),
                             q.value(7).toDouble(),
                             {q.value(8).toDouble(),
                              q.value(9).toDouble(),
                              q.value(10).toDouble(),
                              q.value(11).toDouble()}});
        }
    }
    if (lines.empty())
        return std::nullopt;

    int idno = 0;
    {
        DevQuery ins(
            c,
            QStringLiteral("INSERT INTO SIPARIS (CARINO, TARIH, VERENSIRANO, VEREN, TESLIMID, "
                           "KARGOID, KARGOFIRMANO, DURUMNO, DURUM, VERENINNOTU) "
                           "VALUES (?,?,?,?,?,?,?,1,?,?)"));
        ins.execWith({h.carino,
                      toDayNumber(QDateTime::currentDateTime()),
                      who->sirano,
                      who->adi,
                      h.teslimid,
                      h.kargoid,
                      h.kargoFirma,
                      QStringLiteral("Alındı"),
                      h.aciklama});
        idno = ins.query().lastInsertId().toInt();
    }
    {
        DevQuery ins(c,
                     QStringLiteral(
                         "INSERT INTO SIPARIS_SATIR (IDNO, SEPETSIRANO, STOKNO, BARKOD, STOKADI, "
                         "MIKTAR, BIRIMFIYAT, ILKFIYAT, INDIRIMORANI1, INDIRIMORANI2, "
                         "INDIRIMORANI3, INDIRIMORANI4, KDV) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        DevQuery take(c,
                      QStringLiteral("UPDATE SEPET SET SIPARISNO = ? WHERE SIRANO = ? "
                                     "AND SIPARISNO IS NULL"));
        for (const Line &l : lines) {
            ins.execWith({idno,
                          l.sirano,
                          l.stokno,
                          l.barkod,
                          l.stokadi,
                          l.miktar,
                          l.fiyat,
                          l.liste,
                          l.rates[0],
                          l.rates[1],
                          l.rates[2],
                          l.rates[3],
                          l.kdv});
            take.execWith({idno, l.sirano});
            if (rowsAffected(take) != 1)
                throw Error(QStringLiteral("Sepet satırı %1 siparişe alınamadı.").arg(l.sirano));
        }
    }
    refreshOrderTotals(c, idno);
    tx.commit();
    return idno;
}

// --- previous orders, balances -------------------------------------------------------

TableData previousOrders(DevDatabase &db, int carino)
{
    RowTable t(names({"CARINO",
                      "IDNO",
                      "TARIH",
                      "KUR",
                      "KURTL",
                      "VERENIDNO",
                      "KARGO",
                      "TESLIM",
                      "VEREN",
                      "CARIKOD",
                      "CARIADI",
                      "VERGI",
                      "NETTUTAR",
                      "TUTAR",
                      "DURUM",
                      "KARGOADI",
                      "VERENINNOTU",
                      "ALANNOTU"}),
               {{QStringLiteral("DURUM"), FieldType::String}});
    DevQuery q(
        db.connection(),
        QStringLiteral("SELECT o.CARINO, o.IDNO, o.TARIH, o.KUR, o.KURTL, o.VERENSIRANO, "
                       "COALESCE(kt.ADI, ''), COALESCE(t.ADI, ''), o.VEREN, c.CARIKOD, c.CARIADI, "
                       "o.VERGI, o.NETTUTAR, o.TUTAR, o.DURUM, COALESCE(f.ADI, ''), o.VERENINNOTU, "
                       "o.ALANNOTU FROM SIPARIS o JOIN CARI c ON c.CARINO = o.CARINO "
                       "LEFT JOIN KARGO_TURU kt ON kt.KARGOID = o.KARGOID "
                       "LEFT JOIN TESLIM_TURU t ON t.TESLIMID = o.TESLIMID "
                       "LEFT JOIN KARGO_FIRMA f ON f.SIRANO = o.KARGOFIRMANO "
                       "WHERE o.CARINO = ? ORDER BY o.TARIH DESC, o.IDNO DESC"));
    q.bind(0, carino).exec();
    static const Names cols = names({"CARINO",
                                     "IDNO",
                                     "TARIH",
                                     "KUR",
                                     "KURTL",
                                     "VERENIDNO",
                                     "KARGO",
                                     "TESLIM",
                                     "VEREN",
                                     "CARIKOD",
                                     "CARIADI",
                                     "VERGI",
                                     "NETTUTAR",
                                     "TUTAR",
                                     "DURUM",
                                     "KARGOADI",
                                     "VERENINNOTU",
                                     "ALANNOTU"});
    while (q.next()) {
        for (std::size_t i = 0; i < cols.size(); ++i)
            t.set(cols[i], q.value(int(i)));
        t.commit();
    }
    return t.take();
}

namespace {

enum class LineSet { OneOrder, Open, All };

TableData orderLineTable(DevDatabase &db, const Names &cols, LineSet set, int carino, int key)
{
    RowTable t(cols);
    QString where;
    std::vector<QVariant> args;
    if (carino != 0) {
        where = QStringLiteral("o.CARINO = ?");
        args.push_back(carino);
    } else {
        where = QStringLiteral("1 = 1");
    }
    switch (set) {
    case LineSet::OneOrder:
        where += QStringLiteral(" AND o.IDNO = ?");
        args.push_back(key);
        break;
    case LineSet::Open:
        where += QStringLiteral(" AND l.MIKTAR > l.TESLIMEDILEN");
        break;
    case LineSet::All:
        if (key != 0) {
            where += QStringLiteral(" AND l.STOKNO = ?");
            args.push_back(key);
        }
        break;
    }
    DevQuery q(
        db.connection(),
        QStringLiteral("SELECT o.TARIH, l.SEPETSIRANO, o.IDNO, o.CARINO, l.STOKNO, l.BARKOD, "
                       "l.STOKADI, l.MIKTAR, l.BIRIMFIYAT, l.INDIRIMORANI1, l.INDIRIMORANI2, "
                       "l.INDIRIMORANI3, l.INDIRIMORANI4, l.KDV, o.KUR, o.KURTL, o.VERENSIRANO, "
                       "l.ACIKLAMA, o.TESLIMID, o.KARGOID, o.VEREN, c.CARIKOD, c.CARIADI, "
                       "COALESCE(t.ADI, ''), COALESCE(kt.ADI, ''), l.TESLIMEDILEN, l.ILKFIYAT, "
                       "l.STOKHAR_NO, s.KALAN, s.DURUM, s.ALINANSIPARIS, s.VERILENSIPARIS, "
                       "s.FINISHKOD, s.OEMNO, s.OEM1, s.OEM2, s.OEM3, s.OEM4, s.URETICIKODU, "
                       "s.DIGERADI, s.DPKOD, s.MARKA, s.MODEL, s.ANAGRUP, s.OZELKOD, s.PKOD "
                       "FROM SIPARIS_SATIR l JOIN SIPARIS o ON o.IDNO = l.IDNO "
                       "JOIN STOK s ON s.STOKNO = l.STOKNO JOIN CARI c ON c.CARINO = o.CARINO "
                       "LEFT JOIN TESLIM_TURU t ON t.TESLIMID = o.TESLIMID "
                       "LEFT JOIN KARGO_TURU kt ON kt.KARGOID = o.KARGOID WHERE %1 "
                       "ORDER BY o.TARIH DESC, o.IDNO DESC, l.STOKHAR_NO")
            .arg(where));
    for (std::size_t i = 0; i < args.size(); ++i)
        q.bind(int(i), args[i]);
    q.exec();
    const bool balances = set != LineSet::OneOrder;
    while (q.next()) {
        const std::array<double, 4> rates = {q.value(9).toDouble(),
                                             q.value(10).toDouble(),
                                             q.value(11).toDouble(),
                                             q.value(12).toDouble()};
        const double miktar = q.value(7).toDouble();
        const double kdv = q.value(13).toDouble();
        const LineAmounts a = amountsOf(miktar, q.value(8).toDouble(), rates, kdv);
        const double tarih = q.value(0).toDouble();
        t.set("VERILISTARIHI", tarih);
        t.set("SIRANO", q.value(1));
        t.set("SIPARISNO", q.value(2));
        if (!balances)
            t.set("CARINO", q.value(3));
        t.set("TARIH", tarih);
        t.set("AKTAR", 1);
        t.set("STOKNO", q.value(4));
        t.set("STOK_STOKNO", q.value(4));
        t.set("BARKOD", q.value(5));
        t.set("STOKADI", q.value(6));
        t.set("MIKTAR", miktar);
        t.set("BIRIMFIYAT", q.value(8));
        t.set("TUTAR", a.tutar);
        t.set("INDIRIMYAZI", discountText(rates));
        for (int i = 0; i < 4; ++i)
            t.set(QStringLiteral("INDIRIMORANI%1").arg(i + 1), rates[std::size_t(i)]);
        t.set("INDIRIMTUTAR", a.indirim);
        t.set("NETBIRIMFIYAT", a.netBirim);
        t.set("KDV", kdv);
        t.set("VERGITUTARI", a.vergi);
        t.set("NETTUTAR", a.net);
        t.set("KUR", q.value(14));
        t.set("KURTL", q.value(15));
        t.set("VERENIDNO", q.value(16));
        t.set("VERENSIRANO", q.value(16));
        t.set("SAAT", timeOfDay(tarih));
        t.set("ACIKLAMA", q.value(17));
        t.set("TESLIMID", q.value(18));
        t.set("KARGOID", q.value(19));
        t.set("IDNO", q.value(2));
        t.set("VEREN", q.value(20));
        t.set("CARIKOD", q.value(21));
        t.set("CARIADI", q.value(22));
        t.set("TESLIM", q.value(23));
        t.set("KARGO", q.value(24));
        const double teslim = q.value(25).toDouble();
        t.set("TESLIMEDILEN", teslim);
        t.set("KALAN", std::max(0.0, miktar - teslim)); // here the open quantity, not the stock
        if (balances) {
            t.set("ILKFIYAT", q.value(26));
            t.set("STOKHAR_NO", q.value(27));
            t.set("ELDEKI", q.value(28));
            t.set("DURUM", q.value(29));
            t.set("ALINANSIPARIS", q.value(30));
            t.set("VERILENSIPARIS", q.value(31));
        }
        int col = 32;
        for (const char *n : {"FINISHKOD",
                              "OEMNO",
                              "OEM1",
                              "OEM2",
                              "OEM3",
                              "OEM4",
                              "URETICIKODU",
                              "DIGERADI",
                              "DPKOD",
                              "MARKA",
                              "MODEL",
                              "ANAGRUP",
                              "OZELKOD",
                              "PKOD"})
            t.set(n, q.value(col++));
        t.commit();
    }
    return t.take();
}

} // namespace

TableData orderLines(DevDatabase &db, int carino, int idno)
{
    return orderLineTable(db, orderLineColumns(), LineSet::OneOrder, carino, idno);
}

TableData openBalances(DevDatabase &db, int carino)
{
    return orderLineTable(db, balanceColumns(), LineSet::Open, carino, 0);
}

TableData allOrderLines(DevDatabase &db, int carino, int stokno)
{
    return orderLineTable(db, balanceColumns(), LineSet::All, carino, stokno);
}

std::optional<OrderFooter> orderFooter(DevDatabase &db, int carino, int idno)
{
    DevQuery q(
        db.connection(),
        QStringLiteral("SELECT o.VERENINNOTU, o.DURUM, o.VEREN, COALESCE(f.ADI, ''), o.ALANNOTU, "
                       "COALESCE(t.ADI, ''), COALESCE(kt.ADI, ''), o.SATICINOTU FROM SIPARIS o "
                       "LEFT JOIN KARGO_FIRMA f ON f.SIRANO = o.KARGOFIRMANO "
                       "LEFT JOIN TESLIM_TURU t ON t.TESLIMID = o.TESLIMID "
                       "LEFT JOIN KARGO_TURU kt ON kt.KARGOID = o.KARGOID "
                       "WHERE o.IDNO = ? AND (? = 0 OR o.CARINO = ?)"));
    q.bindAll({idno, carino, carino}).exec();
    if (!q.next())
        return std::nullopt;
    OrderFooter f;
    f.sizinMesaj = q.value(0).toString();
    f.durumu = q.value(1).toString();
    f.veren = q.value(2).toString();
    f.kargo = q.value(3).toString();
    f.bizimMesaj = q.value(4).toString();
    f.teslimCinsi = q.value(5).toString();
    f.kargoCinsi = q.value(6).toString();
    f.saticiNotu = q.value(7).toString();
    return f;
}

namespace {

struct OpenLine
{
    int idno = 0;
    double miktar = 0, teslim = 0, fiyat = 0;
    std::array<double, 4> rates = {};
};

// The caller's order line with an open balance, or nothing.
std::optional<OpenLine> openLineOf(const QSqlDatabase &c,
                                   const Caller &caller,
                                   int stokno,
                                   int stokharNo)
{
    DevQuery q(
        c,
        QStringLiteral("SELECT l.IDNO, l.MIKTAR, l.TESLIMEDILEN, l.BIRIMFIYAT, l.INDIRIMORANI1, "
                       "l.INDIRIMORANI2, l.INDIRIMORANI3, l.INDIRIMORANI4 FROM SIPARIS_SATIR l "
                       "JOIN SIPARIS o ON o.IDNO = l.IDNO WHERE l.STOKHAR_NO = ? AND o.CARINO = ? "
                       "AND (? = 0 OR l.STOKNO = ?) AND l.MIKTAR > l.TESLIMEDILEN"));
    q.bindAll({stokharNo, caller.carino, stokno, stokno}).exec();
    if (!q.next())
        return std::nullopt;
    OpenLine l;
    l.idno = q.value(0).toInt();
    l.miktar = q.value(1).toDouble();
    l.teslim = q.value(2).toDouble();
    l.fiyat = q.value(3).toDouble();
    l.rates = {
        q.value(4).toDouble(), q.value(5).toDouble(), q.value(6).toDouble(), q.value(7).toDouble()};
    return l;
}

int updateOpenLine(const QSqlDatabase &c, int stokharNo, const OpenLine &l, const OpenLine &now)
{
    if (now.miktar == l.miktar && now.fiyat == l.fiyat && now.rates == l.rates)
        return 0;
    DevQuery u(c,
               QStringLiteral("UPDATE SIPARIS_SATIR SET MIKTAR = ?, BIRIMFIYAT = ?, "
                              "INDIRIMORANI1 = ?, INDIRIMORANI2 = ?, INDIRIMORANI3 = ?, "
                              "INDIRIMORANI4 = ? WHERE STOKHAR_NO = ?"));
    u.execWith(
        {now.miktar, now.fiyat, now.rates[0], now.rates[1], now.rates[2], now.rates[3], stokharNo});
    refreshOrderTotals(c, l.idno);
    return 1;
}

template<typename Change>
int changeOpenLine(DevDatabase &db,
                   const Caller &caller,
                   int stokno,
                   int stokharNo,
                   bool priceRights,
                   Change change)
{
    const QSqlDatabase c = db.connection();
    WriteTransaction tx(c);
    const auto who = authorityFor(c, caller, caller.carino);
    if (!who || (priceRights && who->musteriTipi != 2))
        return 0;
    const auto line = openLineOf(c, caller, stokno, stokharNo);
    if (!line)
        return 0;
    OpenLine now = *line;
    if (!change(now))
        return 0;
    const int changed = updateOpenLine(c, stokharNo, *line, now);
    tx.commit();
    return changed;
}

} // namespace

int deleteBalance(DevDatabase &db, const Caller &caller, int stokno, int stokharNo)
{
    // The ordered quantity shrinks to what was delivered: nothing stays open.
    return changeOpenLine(db, caller, stokno, stokharNo, false, [](OpenLine &l) {
        l.miktar = l.teslim;
        return true;
    });
}

int changeBalance(DevDatabase &db, const Caller &caller, int stokno, int stokharNo, double kalan)
{
    if (!std::isfinite(kalan) || kalan <= 0)
        return 0;
    return changeOpenLine(db, caller, stokno, stokharNo, false, [kalan](OpenLine &l) {
        l.miktar = l.teslim + kalan;
        return true;
    });
}

int changeBalancePrice(
    DevDatabase &db, const Caller &caller, int stokno, int stokharNo, double fiyat, double ind)
{
    if (!std::isfinite(fiyat) || fiyat < 0 || !std::isfinite(ind) || ind < 0 || ind > 100)
        return 0;
    // One rate, as the price dialog computes the net price from it.
    return changeOpenLine(db, caller, stokno, stokharNo, true, [fiyat, ind](OpenLine &l) {
        l.fiyat = fiyat;
        l.rates = {ind, 0, 0, 0};
        return true;
    });
}

} // namespace qv::orders
