// Account, customer, report and mail queries.
#include "accountqueries.h"

#include "pdfdocs.h"
#include "pricing.h"
#include "searchtext.h"
#include "sqlutil.h"

#include "errors.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace qv {

namespace {

struct Col
{
    const char *name;
    FieldType type;
    int size;
};

TableData tableOf(std::initializer_list<Col> cols)
{
    TableData t;
    for (const Col &c : cols)
        t.addField({QString::fromUtf8(c.name), c.type, c.size});
    return t;
}

constexpr FieldType S = FieldType::String;
constexpr FieldType F = FieldType::Float;
constexpr FieldType I = FieldType::Integer;
constexpr FieldType D = FieldType::DateTime;

QString dateText(double day)
{
    return fromDayNumber(day).date().toString(QStringLiteral("dd.MM.yyyy"));
}

// Whole days from the first date to the end of the second.
std::pair<double, double> dayRange(double tarih1, double tarih2)
{
    return {std::floor(tarih1), std::floor(tarih2) + 1};
}

// The customers a viewer may see, as a condition on CARI c.
struct Scope
{
    QString sql;
    std::vector<QVariant> binds;
};

Scope scopeOf(const DevViewer &v)
{
    if (!v.known)
        return {QStringLiteral("0 = 1"), {}};
    if (v.musteriTipi == 2)
        return {QStringLiteral("1 = 1"), {}};
    if (v.musteriTipi == 1)
        return {QStringLiteral("c.SATICINO = ?"), {v.saticiNo}};
    return {QStringLiteral("c.CARINO = ?"), {v.carino}};
}

void bindList(DevQuery &q, const std::vector<QVariant> &values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        q.bind(int(i), values[i]);
}

DevViewer viewerWhere(DevDatabase &db, const char *where, const QVariant &key)
{
    DevQuery q(db.connection(),
               QStringLiteral("SELECT SIRANO, MUSTERITIPI, COALESCE(SATICINO, 0), "
                              "COALESCE(CARINO, 0) FROM KULLANICI WHERE AKTIF = 1 AND ")
                   + QString::fromUtf8(where));
    q.bind(0, key).exec();
    DevViewer v;
    if (q.next()) {
        v.known = true;
        v.sirano = q.value(0).toInt();
        v.musteriTipi = q.value(1).toInt();
        v.saticiNo = q.value(2).toInt();
        v.carino = q.value(3).toInt();
    }
    return v;
}

// ---- customer lists --------------------------------------------------------

TableData customerTable()
{
    return tableOf({{"CARINO", I, 0},
                    {"CARIKOD", S, 25},
                    {"CARIADI", S, 100},
                    {"SATICISI", S, 50},
                    {"TLBAKIYE", F, 0},
                    {"DURUM", S, 20},
                    {"OZELKOD", S, 30},
                    {"KOD1", S, 30},
                    {"KOD2", S, 30},
                    {"KOD3", S, 30},
                    {"KOD4", S, 30},
                    {"KOD5", S, 30},
                    {"TEL1", S, 20},
                    {"TEL2", S, 20},
                    {"ILCE", S, 30},
                    {"IL", S, 30},
                    {"GSM", S, 20},
                    {"SEPET", I, 0},
                    {"YETKILI", S, 50},
                    {"INDIRIM", S, 30},
                    {"VADE", I, 0},
                    {"VADEKONTROLGUN", I, 0},
                    {"VADEKONTROLAY", I, 0},
                    {"VERGIDAIRESI", S, 50},
                    {"VERGINO", S, 20},
                    {"ADRES1", S, 100},
                    {"ADRES2", S, 100},
                    {"ANAGRUP", S, 30},
                    {"ALTGRUP", S, 30},
                    {"FAX1", S, 20},
                    {"FAX2", S, 20},
                    {"EMAIL", S, 100},
                    {"ALINDI", I, 0},
                    {"ONAYLANDI", I, 0},
                    {"GORULDU", I, 0},
                    {"HAZIRLANDI", I, 0},
                    {"PARCALIHAZIRLANDI", I, 0}});
}

// Selected in the table's order, DURUM left out (made from the balance).
const char kCustomerSelect[]
    = "SELECT c.CARINO, c.CARIKOD, c.CARIADI, COALESCE(s.ADI, ''), "
      "(SELECT COALESCE(SUM(h.BORC - h.ALACAK), 0) FROM CARI_HAREKET h "
      " WHERE h.CARINO = c.CARINO), "
      "c.OZELKOD, c.KOD1, c.KOD2, c.KOD3, c.KOD4, c.KOD5, c.TEL1, c.TEL2, c.ILCE, c.IL, c.GSM, "
      "(SELECT COUNT(*) FROM SEPET b WHERE b.CARINO = c.CARINO AND b.SIPARISNO IS NULL), "
      "c.YETKILI, c.INDIRIM, c.VADE, c.VADEKONTROLGUN, c.VADEKONTROLAY, c.VERGIDAIRESI, "
      "c.VERGINO, c.ADRES1, c.ADRES2, c.ANAGRUP, c.ALTGRUP, c.FAX1, c.FAX2, c.EMAIL, "
      "(SELECT COUNT(*) FROM SIPARIS o WHERE o.CARINO = c.CARINO AND o.DURUMNO = 1), "
      "(SELECT COUNT(*) FROM SIPARIS o WHERE o.CARINO = c.CARINO AND o.DURUMNO = 2), "
      "(SELECT COUNT(*) FROM SIPARIS o WHERE o.CARINO = c.CARINO AND o.DURUMNO = 3), "
      "(SELECT COUNT(*) FROM SIPARIS o WHERE o.CARINO = c.CARINO AND o.DURUMNO = 5), "
      "(SELECT COUNT(*) FROM SIPARIS o WHERE o.CARINO = c.CARINO AND o.DURUMNO = 4) "
      "FROM CARI c LEFT JOIN SATICI s ON s.SATICINO = c.SATICINO WHERE ";

QString balanceSide(double balance)
{
    if (RoundTo2Decimals(balance) > 0)
        return QStringLiteral("Borçlu");
    if (RoundTo2Decimals(balance) < 0)
        return QStringLiteral("Alacaklı");
    return QString();
}

// Rows of the visible customers meeting extra (with its values); keep
// decides on the raw values when given.
TableData customerRows(DevDatabase &db,
                       const DevViewer &v,
                       const QString &extra,
                       const std::vector<QVariant> &extraBinds,
                       const std::function<bool(const std::vector<QVariant> &)> &keep = {})
{
    const Scope scope = scopeOf(v);
    QString sql = QString::fromUtf8(kCustomerSelect) + scope.sql;
    if (!extra.isEmpty())
        sql += QStringLiteral(" AND ") + extra;
    sql += QStringLiteral(" ORDER BY c.CARIADI, c.CARINO");
    DevQuery q(db.connection(), sql);
    std::vector<QVariant> binds = scope.binds;
    binds.insert(binds.end(), extraBinds.begin(), extraBinds.end());
    bindList(q, binds);
    q.exec();
    TableData t = customerTable();
    const int selected = t.fieldCount() - 1;
    while (q.next()) {
        std::vector<QVariant> row;
        row.reserve(std::size_t(selected + 1));
        for (int i = 0; i < selected; ++i)
            row.push_back(q.value(i));
        if (keep && !keep(row))
            continue;
        const double balance = RoundTo2Decimals(row[4].toDouble());
        row[4] = balance;
        row.insert(row.begin() + 5, balanceSide(balance));
        t.appendRow(row);
    }
    return t;
}

// ---- report documents ------------------------------------------------------

struct Movement
{
    double tarih;
    QString turadi, evrak, aciklama;
    double borc, alacak;
};

std::vector<Movement> movementsUntil(DevDatabase &db, int carino, double end)
{
    DevQuery q(
        db.connection(),
        QStringLiteral("SELECT TARIH, TURADI, EVRAK, ACIKLAMA, BORC, ALACAK FROM "
                       "CARI_HAREKET WHERE CARINO = ? AND TARIH < ? ORDER BY TARIH, SIRANO"));
    q.bindAll({carino, end}).exec();
    std::vector<Movement> list;
    while (q.next())
        list.push_back({q.value(0).toDouble(),
                        q.value(1).toString(),
                        q.value(2).toString(),
                        q.value(3).toString(),
                        q.value(4).toDouble(),
                        q.value(5).toDouble()});
    return list;
}

struct AccountHead
{
    bool found = false;
    QString carikod, cariadi, satici;
};

AccountHead accountHead(DevDatabase &db, int carino)
{
    DevQuery q(db.connection(),
               QStringLiteral("SELECT c.CARIKOD, c.CARIADI, COALESCE(s.ADI, '') FROM CARI c "
                              "LEFT JOIN SATICI s ON s.SATICINO = c.SATICINO WHERE c.CARINO = ?"));
    q.bind(0, carino).exec();
    AccountHead h;
    if (q.next())
        h = {true, q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
    return h;
}

QByteArray accountSummaryPdf(DevDatabase &db, int carino, const QString &saticiAdi, double day)
{
    const AccountHead head = accountHead(db, carino);
    if (!head.found)
        return {};
    const auto [from, end] = dayRange(day, day);
    Q_UNUSED(from);
    const std::vector<Movement> all = movementsUntil(db, carino, end);

    DevPdfDocument doc;
    doc.title = QStringLiteral("Cari Özeti");
    doc.lines << QStringLiteral("Cari: %1 - %2").arg(head.carikod, head.cariadi)
              << QStringLiteral("Satıcısı: %1")
                     .arg(saticiAdi.trimmed().isEmpty() ? head.satici : saticiAdi)
              << QStringLiteral("Tarih: %1").arg(dateText(day));
    double borc = 0, alacak = 0;
    for (const Movement &m : all) {
        borc += m.borc;
        alacak += m.alacak;
    }
    const double bakiye = RoundTo2Decimals(borc - alacak);
    doc.lines
        << QStringLiteral("Toplam Borç: %1   Toplam Alacak: %2")
               .arg(pdfMoney(borc), pdfMoney(alacak))
        << QStringLiteral("Bakiye: %1 %2").arg(pdfMoney(std::abs(bakiye)), balanceSide(bakiye));

    DevPdfTable t;
    t.caption = QStringLiteral("Son Hareketler");
    t.headers = {QStringLiteral("Tarih"),
                 QStringLiteral("Tür"),
                 QStringLiteral("Evrak No"),
                 QStringLiteral("Borç"),
                 QStringLiteral("Alacak"),
                 QStringLiteral("Bakiye")};
    t.weights = {12, 18, 20, 15, 15, 15};
    t.right = {false, false, false, true, true, true};
    double running = 0;
    const std::size_t shown = 30;
    const std::size_t skip = all.size() > shown ? all.size() - shown : 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Movement &m = all[i];
        running += m.borc - m.alacak;
        if (i < skip)
            continue;
        t.rows.push_back({dateText(m.tarih),
                          m.turadi,
                          m.evrak,
                          pdfMoney(m.borc),
                          pdfMoney(m.alacak),
                          pdfMoney(running)});
    }
    doc.tables.push_back(std::move(t));
    doc.closing << QStringLiteral("Quorvel Otomotiv - cari özet raporu");
    return renderPdf(doc);
}

QByteArray receivablesPdf(DevDatabase &db, const DevViewer &v, const QString &saticiAdi, double day)
{
    const Scope scope = scopeOf(v);
    const double end = dayRange(day, day).second;
    QString sql
        = QStringLiteral("SELECT c.CARIKOD, c.CARIADI, COALESCE(s.ADI, ''), "
                         "COALESCE(SUM(h.BORC), 0), COALESCE(SUM(h.ALACAK), 0), "
                         "COALESCE(SUM(CASE WHEN h.VADE < ? THEN h.BORC - h.ALACAK ELSE 0 END), 0) "
                         "FROM CARI c LEFT JOIN SATICI s ON s.SATICINO = c.SATICINO "
                         "JOIN CARI_HAREKET h ON h.CARINO = c.CARINO AND h.TARIH < ? WHERE ")
          + scope.sql;
    std::vector<QVariant> binds{end, end};
    binds.insert(binds.end(), scope.binds.begin(), scope.binds.end());
    const QString who = saticiAdi.trimmed();
    if (!who.isEmpty() && who != QStringLiteral(".")) {
        sql += QStringLiteral(" AND s.ADI = ?");
        binds.push_back(who);
    }
    sql += QStringLiteral(" GROUP BY c.CARINO ORDER BY c.CARIADI");
    DevQuery q(db.connection(), sql);
    bindList(q, binds);
    q.exec();

    DevPdfDocument doc;
    doc.title = QStringLiteral("Cari Toplu Alacak Vadeleri");
    doc.lines << QStringLiteral("Tarih: %1").arg(dateText(day))
              << QStringLiteral("Satıcı: %1")
                     .arg(who.isEmpty() || who == QStringLiteral(".") ? QStringLiteral("Tümü")
                                                                      : who);
    DevPdfTable t;
    t.headers = {QStringLiteral("Cari Kod"),
                 QStringLiteral("Cari Adı"),
                 QStringLiteral("Satıcısı"),
                 QStringLiteral("Bakiye"),
                 QStringLiteral("Vadesi Geçen")};
    t.weights = {14, 36, 18, 16, 16};
    t.right = {false, false, false, true, true};
    double total = 0, overdue = 0;
    while (q.next()) {
        const double bakiye = RoundTo2Decimals(q.value(3).toDouble() - q.value(4).toDouble());
        if (bakiye == 0)
            continue;
        const double due = RoundTo2Decimals(std::max(0.0, q.value(5).toDouble()));
        total += bakiye;
        overdue += due;
        t.rows.push_back({q.value(0).toString(),
                          q.value(1).toString(),
                          q.value(2).toString(),
                          pdfMoney(bakiye),
                          pdfMoney(due)});
    }
    t.totals = {QStringLiteral("Toplam"), QString(), QString(), pdfMoney(total), pdfMoney(overdue)};
    doc.tables.push_back(std::move(t));
    return renderPdf(doc);
}

QByteArray salesTablePdf(
    DevDatabase &db, int carino, const QString &saticiAdi, double tarih1, double tarih2)
{
    const AccountHead head = accountHead(db, carino);
    if (!head.found)
        return {};
    const auto [from, to] = dayRange(tarih1, tarih2);
    struct Month
    {
        int invoices = 0;
        double sales = 0, payments = 0;
    };
    std::map<QString, Month> months; // "yyyy-MM" sorts in time order
    DevQuery q(db.connection(),
               QStringLiteral("SELECT TARIH, BORC, ALACAK, TURADI FROM CARI_HAREKET "
                              "WHERE CARINO = ? AND TARIH >= ? AND TARIH < ?"));
    q.bindAll({carino, from, to}).exec();
    while (q.next()) {
        Month &m = months
            [fromDayNumber(q.value(0).toDouble()).date().toString(QStringLiteral("yyyy-MM"))];
        if (q.value(3).toString().contains(QStringLiteral("Fatura")))
            ++m.invoices;
        m.sales += q.value(1).toDouble();
        m.payments += q.value(2).toDouble();
    }

    DevPdfDocument doc;
    doc.title = QStringLiteral("Cari Alış Satış Tablosu");
    doc.lines << QStringLiteral("Cari: %1 - %2").arg(head.carikod, head.cariadi)
              << QStringLiteral("Satıcısı: %1")
                     .arg(saticiAdi.trimmed().isEmpty() ? head.satici : saticiAdi)
              << QStringLiteral("Dönem: %1 - %2").arg(dateText(tarih1), dateText(tarih2));
    DevPdfTable t;
    t.headers = {QStringLiteral("Ay"),
                 QStringLiteral("Fatura Adedi"),
                 QStringLiteral("Satış"),
                 QStringLiteral("Tahsilat"),
                 QStringLiteral("Fark")};
    t.weights = {16, 14, 24, 24, 22};
    t.right = {false, true, true, true, true};
    Month sum;
    for (const auto &[key, m] : months) {
        t.rows.push_back({key,
                          QString::number(m.invoices),
                          pdfMoney(m.sales),
                          pdfMoney(m.payments),
                          pdfMoney(m.sales - m.payments)});
        sum.invoices += m.invoices;
        sum.sales += m.sales;
        sum.payments += m.payments;
    }
    t.totals = {QStringLiteral("Toplam"),
                QString::number(sum.invoices),
                pdfMoney(sum.sales),
                pdfMoney(sum.payments),
                pdfMoney(sum.sales - sum.payments)};
    doc.tables.push_back(std::move(t));
    return renderPdf(doc);
}

} // namespace

// ---- viewers -----------------------------------------------------------------

DevViewer viewerByMachine(DevDatabase &db, const QString &machineId)
{
    return viewerWhere(db, "BILGISAYARID = ?", machineId);
}

DevViewer viewerBySirano(DevDatabase &db, int sirano)
{
    return viewerWhere(db, "SIRANO = ?", sirano);
}

bool viewerSeesAccount(DevDatabase &db, const DevViewer &v, int carino)
{
    const Scope scope = scopeOf(v);
    DevQuery q(db.connection(),
               QStringLiteral("SELECT 1 FROM CARI c WHERE c.CARINO = ? AND ") + scope.sql);
    std::vector<QVariant> binds{carino};
    binds.insert(binds.end(), scope.binds.begin(), scope.binds.end());
    bindList(q, binds);
    q.exec();
    return q.next();
}

// ---- statement, invoices, collections ----------------------------------------

TableData accountStatement(DevDatabase &db, int carino)
{
    TableData t = tableOf({{"CARINO", I, 0},
                           {"TARIH", D, 0},
                           {"TURADI", S, 30},
                           {"EVRAK", S, 30},
                           {"BORC", F, 0},
                           {"ALACAK", F, 0},
                           {"KUR", S, 5},
                           {"BAKIYE", F, 0},
                           {"D", S, 1},
                           {"IDNO", I, 0},
                           {"ACIKLAMA", S, 100}});
    DevQuery q(
        db.connection(),
        QStringLiteral("SELECT CARINO, TARIH, TURADI, EVRAK, BORC, ALACAK, KUR, BELGEIDNO, "
                       "ACIKLAMA FROM CARI_HAREKET WHERE CARINO = ? ORDER BY TARIH, SIRANO"));
    q.bind(0, carino).exec();
    while (q.next())
        t.appendRow({q.value(0),
                     q.value(1),
                     q.value(2),
                     q.value(3),
                     q.value(4),
                     q.value(5),
                     q.value(6),
                     0.0,
                     QStringLiteral(" "),
                     q.value(7),
                     q.value(8)});
    return t;
}

TableData invoiceLines(DevDatabase &db, int carino, int idno)
{
    TableData t = tableOf({{"OEMNO", S, 30},
                           {"STOKADI", S, 100},
                           {"FINISHKOD", S, 20},
                           {"MARKA", S, 30},
                           {"MODEL", S, 50},
                           {"ANAGRUP", S, 30},
                           {"OZELKOD", S, 30},
                           {"BIRIM", S, 10},
                           {"BARKOD", S, 30},
                           {"STOKHAR_HAREKETTARIHI", D, 0},
                           {"STOKHAR_HAREKETTIPI2", S, 30},
                           {"EVRAKNO", S, 30},
                           {"STOKHAR_MIKTAR", F, 0},
                           {"STOKHAR_TLBIRIMFIYATI", F, 0},
                           {"STOKHAR_TLVERGI", F, 0},
                           {"STOKHAR_TLTUTAR", F, 0},
                           {"STOKHAR_INDIRIM1", F, 0},
                           {"STOKHAR_INDIRIM2", F, 0},
                           {"STOKHAR_INDIRIM3", F, 0},
                           {"STOKHAR_INDIRIM4", F, 0},
                           {"STOKHAR_INDIRIM5", F, 0},
                           {"STOKHAR_INDIRIM6", F, 0},
                           {"STOKHAR_INDIRIM7", F, 0},
                           {"STOKHAR_INDIRIM8", F, 0},
                           {"STOKHAR_DOVIZBIRIMFIYATI", F, 0},
                           {"STOKHAR_DOVIZVERGI", F, 0},
                           {"STOKHAR_DOVIZTUTAR", F, 0},
                           {"IRSALIYEEVRAKNO", S, 30},
                           {"STOKHAR_IRSTARIHI", D, 0},
                           {"KDV", F, 0},
                           {"STOKHAR_PARTI", S, 20},
                           {"STOKHAR_BEDEN", S, 20},
                           {"STOKHAR_RENK", S, 20},
                           {"SATIRACIKLMASI", S, 100},
                           {"STOKHAR_TOPLAMINDIRIM", F, 0},
                           {"STOKHAR_MASRAF1", F, 0},
                           {"STOKHAR_MASRAF2", F, 0},
                           {"STOKHAR_TOPLAMMASRAF", F, 0},
                           {"STOKHAR_DOVIZTOPLAMINDIRIM", F, 0},
                           {"STOKHAR_DOVIZTOPLAMMASRAF", F, 0},
                           {"STOKHAR_SAAT", S, 8},
                           {"STOKHAR_NETTLBIRIMFIYATI", F, 0},
                           {"STOKHAR_NETDOVIZBIRIMFIYATI", F, 0},
                           {"STOKHAR_NETTLTUTAR", F, 0},
                           {"STOKHAR_NETDOVIZTUTAR", F, 0},
                           {"STOKHAR_KURTL", F, 0},
                           {"STOKHAR_VADE", I, 0},
                           {"SIPARISTIPI", S, 30},
                           {"SIPARISEVRAKNO", S, 30},
                           {"SIPARISTARIHI", D, 0},
                           {"IRSALIYETIPINO", I, 0},
                           {"IRSALIYETIP2", S, 30},
                           {"STOKCARIKOD", S, 25},
                           {"SUBE_NO", I, 0},
                           {"STOKHAR_CARINO", I, 0},
                           {"KUR_KURSIMGE", S, 5},
                           {"SATICIADI", S, 50},
                           {"URETICIKODU", S, 30},
                           {"DPKOD", S, 20},
                           {"ENADI", S, 100},
                           {"PKOD", S, 10},
                           {"BELGENO", S, 30},
                           {"IDNO", I, 0}});
    DevQuery q(db.connection(),
               QStringLiteral(
                   "SELECT s.OEMNO, s.ADI, s.FINISHKOD, s.MARKA, s.MODEL, s.ANAGRUP, s.OZELKOD, "
                   "s.BIRIM, s.BARKOD, f.TARIH, f.TIPI, f.EVRAKNO, l.MIKTAR, l.BIRIMFIYAT, "
                   "l.INDIRIM1, l.INDIRIM2, l.INDIRIM3, l.INDIRIM4, f.IRSALIYENO, f.IRSTARIHI, "
                   "l.KDV, l.ACIKLAMA, l.MASRAF1, l.MASRAF2, f.VADE, f.SIPARISIDNO, "
                   "o.TARIH, c.CARIKOD, f.CARINO, f.SATICIADI, s.URETICIKODU, s.DPKOD, "
                   "s.DIGERADI, s.PKOD, f.IDNO FROM FATURA_SATIR l "
                   "JOIN FATURA f ON f.IDNO = l.IDNO JOIN STOK s ON s.STOKNO = l.STOKNO "
                   "JOIN CARI c ON c.CARINO = f.CARINO "
                   "LEFT JOIN SIPARIS o ON o.IDNO = f.SIPARISIDNO "
                   "WHERE f.IDNO = ? AND f.CARINO = ? ORDER BY l.SIRANO"));
    q.bindAll({idno, carino}).exec();
    while (q.next()) {
        const double tarih = q.value(9).toDouble();
        const double miktar = q.value(12).toDouble();
        DevPrice price;
        price.fiyat = q.value(13).toDouble();
        for (int i = 0; i < 4; ++i)
            price.rates[std::size_t(i)] = q.value(14 + i).toDouble();
        const double kdv = q.value(20).toDouble();
        const double gross = RoundTo2Decimals(miktar * price.fiyat);
        const double netUnit = netPrice(price);
        const double net = RoundTo2Decimals(miktar * netUnit);
        const double vergi = RoundTo2Decimals(net * kdv / 100.0);
        const QVariant orderId = q.value(25);
        t.appendRow({q.value(0),
                     q.value(1),
                     q.value(2),
                     q.value(3),
                     q.value(4),
                     q.value(5),
                     q.value(6),
                     q.value(7),
                     q.value(8),
                     tarih,
                     q.value(10),
                     q.value(11),
                     miktar,
                     price.fiyat,
                     vergi,
                     gross,
                     price.rates[0],
                     price.rates[1],
                     price.rates[2],
                     price.rates[3],
                     0.0,
                     0.0,
                     0.0,
                     0.0,
                     0.0,
                     0.0,
                     0.0,
                     q.value(18),
                     q.value(19),
                     kdv,
                     QString(),
                     QString(),
                     QString(),
                     q.value(21),
                     RoundTo2Decimals(gross - net),
                     q.value(22),
                     q.value(23),
                     0.0,
                     0.0,
                     0.0,
                     fromDayNumber(tarih).time().toString(QStringLiteral("HH:mm")),
                     netUnit,
                     0.0,
                     net,
                     0.0,
                     1.0,
                     int(std::floor(q.value(24).toDouble()) - std::floor(tarih)),
                     QStringLiteral("Alınan Sipariş"),
                     orderId.isNull() ? QString() : orderId.toString(),
                     q.value(26),
                     1,
                     QStringLiteral("Satış İrsaliyesi"),
                     q.value(27),
                     0,
                     q.value(28),
                     QStringLiteral("TL"),
                     q.value(29),
                     q.value(30),
                     q.value(31),
                     q.value(32),
                     q.value(33),
                     q.value(11),
                     q.value(34)});
    }
    return t;
}

TableData invoiceTotals(DevDatabase &db, int idno)
{
    TableData t = tableOf({{"TOPLAM", F, 0},
                           {"TOPLAMINDIRIM", F, 0},
                           {"MATRAH", F, 0},
                           {"KDVDAHIL", F, 0},
                           {"KDVTUTAR", F, 0}});
    DevQuery q(db.connection(),
               QStringLiteral("SELECT TOPLAM, TOPLAMINDIRIM, MATRAH, KDVDAHIL, KDVTUTAR FROM "
                              "FATURA WHERE IDNO = ?"));
    q.bind(0, idno).exec();
    while (q.next())
        t.appendRow({q.value(0), q.value(1), q.value(2), q.value(3), q.value(4)});
    return t;
}

TableData collectionEntries(DevDatabase &db, int idno)
{
    TableData t = tableOf({{"Tarih", D, 0},
                           {"Türü", S, 30},
                           {"Cins", S, 30},
                           {"EvrakNo", S, 30},
                           {"Vade", D, 0},
                           {"Tutar", F, 0},
                           {"Kur", S, 5},
                           {"KurTL", F, 0},
                           {"Açıklama", S, 100},
                           {"Döviz Tutar", F, 0},
                           {"Ref", S, 30},
                           {"Saat", S, 8}});
    DevQuery q(db.connection(),
               QStringLiteral("SELECT TARIH, TURU, CINS, EVRAKNO, VADE, TUTAR, KUR, KURTL, "
                              "ACIKLAMA, DOVIZTUTAR, REF, SAAT FROM TAHSILAT WHERE IDNO = ?"));
    q.bind(0, idno).exec();
    while (q.next()) {
        std::vector<QVariant> row;
        for (int i = 0; i < 12; ++i)
            row.push_back(q.value(i));
        t.appendRow(row);
    }
    return t;
}

int collectionReceiptNo(DevDatabase &db, int idno)
{
    return devScalar(
               db.connection(),
               QStringLiteral("SELECT COALESCE(SANALPOSSIRANO, 0) FROM TAHSILAT WHERE IDNO = ?"),
               {idno})
        .toInt();
}

QByteArray collectionReceiptPdf(DevDatabase &db, int sirano)
{
    if (sirano <= 0)
        return {};
    DevQuery q(db.connection(),
               QStringLiteral("SELECT t.IDNO, t.TARIH, t.TUTAR, t.REF, t.EVRAKNO, t.ACIKLAMA, "
                              "c.CARIKOD, c.CARIADI, t.PDF FROM TAHSILAT t "
                              "JOIN CARI c ON c.CARINO = t.CARINO WHERE t.SANALPOSSIRANO = ?"));
    q.bind(0, sirano).exec();
    if (!q.next())
        return {};
    const QByteArray stored = q.value(8).toByteArray();
    if (!stored.isEmpty())
        return stored;

    const QDateTime when = fromDayNumber(q.value(1).toDouble());
    DevPdfDocument doc;
    doc.receipt = true;
    doc.title = QStringLiteral("SANAL POS ÖDEME BELGESİ");
    doc.lines
        << QStringLiteral("QUORVEL OTOMOTİV SAN. VE TİC. A.Ş.")
        << QStringLiteral("Tarih: %1  Saat: %2")
               .arg(when.date().toString(QStringLiteral("dd.MM.yyyy")),
                    when.time().toString(QStringLiteral("HH:mm")))
        << QStringLiteral("İşlem No: %1").arg(sirano)
        << QStringLiteral("Evrak No: %1").arg(q.value(4).toString())
        << QStringLiteral("Cari: %1").arg(q.value(6).toString()) << q.value(7).toString()
        << QStringLiteral("Kart No: **** **** **** %1").arg(sirano % 10000, 4, 10, QChar(u'0'))
        << QStringLiteral("İşlem: SATIŞ  Taksit: Tek Çekim")
        << QStringLiteral("Onay Kodu: %1").arg(q.value(3).toString());
    doc.closing << QStringLiteral("TUTAR: %1 TL").arg(pdfMoney(q.value(2).toDouble()))
                << QStringLiteral("İşlem başarıyla tamamlanmıştır.")
                << QStringLiteral("Bu belge bilgi amaçlıdır.");
    const QByteArray pdf = renderPdf(doc);
    // Kept so that every fetch of the receipt gives the same document.
    DevQuery save(db.connection(), QStringLiteral("UPDATE TAHSILAT SET PDF = ? WHERE IDNO = ?"));
    save.bindAll({pdf, q.value(0)}).exec();
    return pdf;
}

QString accountBalanceText(DevDatabase &db, int carino)
{
    if (!devScalar(db.connection(), QStringLiteral("SELECT 1 FROM CARI WHERE CARINO = ?"), {carino})
             .isValid())
        throw Error(QStringLiteral("Cari bulunamadı: %1").arg(carino));
    const double balance = devScalar(db.connection(),
                                     QStringLiteral("SELECT COALESCE(SUM(BORC - ALACAK), 0) FROM "
                                                    "CARI_HAREKET WHERE CARINO = ?"),
                                     {carino})
                               .toDouble();
    return QString::number(RoundTo2Decimals(balance) + 0.0, 'f', 2);
}

// ---- customers ---------------------------------------------------------------

TableData searchCustomers(DevDatabase &db, const DevViewer &v, const QString &text)
{
    const QStringList words = searchWords(text);
    if (words.isEmpty())
        return customerRows(db, v, QString(), {});
    // Every word is found in the code, name, district, city, contact or
    // special code, or is the account number itself.
    return customerRows(db, v, QString(), {}, [&words](const std::vector<QVariant> &row) {
        const QString carino = row[0].toString();
        const QString keys[] = {searchKey(row[1].toString()),
                                searchKey(row[2].toString()),
                                searchKey(row[13].toString()),
                                searchKey(row[14].toString()),
                                searchKey(row[17].toString()),
                                searchKey(row[5].toString())};
        for (const QString &w : words) {
            bool found = w == carino;
            for (const QString &k : keys)
                found = found || k.contains(w);
            if (!found)
                return false;
        }
        return true;
    });
}

TableData customersByStatus(DevDatabase &db, const DevViewer &v, int code)
{
    if (code == 1)
        return customerRows(
            db,
            v,
            QStringLiteral("EXISTS (SELECT 1 FROM SEPET b WHERE b.CARINO = c.CARINO "
                           "AND b.SIPARISNO IS NULL)"),
            {});
    if (code >= 2 && code <= 7)
        return customerRows(db,
                            v,
                            QStringLiteral("EXISTS (SELECT 1 FROM SIPARIS o WHERE o.CARINO = "
                                           "c.CARINO AND o.DURUMNO = ?)"),
                            {code - 1});
    return customerTable();
}

int customersWithBasket(DevDatabase &db, const DevViewer &v)
{
    const Scope scope = scopeOf(v);
    DevQuery q(db.connection(),
               QStringLiteral("SELECT COUNT(*) FROM CARI c WHERE EXISTS (SELECT 1 FROM SEPET b "
                              "WHERE b.CARINO = c.CARINO AND b.SIPARISNO IS NULL) AND ")
                   + scope.sql);
    bindList(q, scope.binds);
    q.exec();
    return q.next() ? q.value(0).toInt() : 0;
}

TTusSonuclari orderStatusCounts(DevDatabase &db, const DevViewer &v)
{
    const Scope scope = scopeOf(v);
    DevQuery q(db.connection(),
               QStringLiteral("SELECT o.DURUMNO, COUNT(*) FROM SIPARIS o JOIN CARI c ON c.CARINO "
                              "= o.CARINO WHERE ")
                   + scope.sql + QStringLiteral(" GROUP BY o.DURUMNO"));
    bindList(q, scope.binds);
    q.exec();
    TTusSonuclari r;
    while (q.next()) {
        const int n = q.value(1).toInt();
        switch (q.value(0).toInt()) {
        case 1:
            r.setAlindi(n);
            break;
        case 2:
            r.setOnaylandi(n);
            break;
        case 3:
            r.setGoruldu(n);
            break;
        case 4:
            r.setParcaliHazirlandi(n);
            break;
        case 5:
            r.setHazirlandi(n);
            break;
        case 6:
            r.setSevkEdildi(n);
            break;
        default:
            break;
        }
    }
    return r;
}

// ---- reports -------------------------------------------------------------------

TableData ordersReceivedReport(DevDatabase &db, const DevViewer &v, double tarih1, double tarih2)
{
    TableData t = tableOf({{"SATICIADI", S, 50},
                           {"IDNO", F, 0},
                           {"CARINO", I, 0},
                           {"TARIH", D, 0},
                           {"KUR", S, 5},
                           {"KURTL", F, 0},
                           {"VERENIDNO", I, 0},
                           {"KARGO", S, 50},
                           {"TESLIM", S, 50},
                           {"VEREN", S, 50},
                           {"CARIKOD", S, 25},
                           {"CARIADI", S, 100},
                           {"DURUM", S, 100},
                           {"KARGOADI", S, 50},
                           {"VERGI", F, 0},
                           {"NETTUTAR", F, 0},
                           {"TUTAR", F, 0}});
    const Scope scope = scopeOf(v);
    const auto [from, to] = dayRange(tarih1, tarih2);
    DevQuery q(
        db.connection(),
        QStringLiteral("SELECT COALESCE(s.ADI, ''), o.IDNO, o.CARINO, o.TARIH, o.KUR, o.KURTL, "
                       "COALESCE(o.VERENSIRANO, 0), COALESCE(kt.ADI, ''), COALESCE(tt.ADI, ''), "
                       "o.VEREN, c.CARIKOD, c.CARIADI, o.DURUM, COALESCE(kf.ADI, ''), o.VERGI, "
                       "o.NETTUTAR, o.TUTAR FROM SIPARIS o JOIN CARI c ON c.CARINO = o.CARINO "
                       "LEFT JOIN SATICI s ON s.SATICINO = c.SATICINO "
                       "LEFT JOIN KARGO_TURU kt ON kt.KARGOID = o.KARGOID "
                       "LEFT JOIN TESLIM_TURU tt ON tt.TESLIMID = o.TESLIMID "
                       "LEFT JOIN KARGO_FIRMA kf ON kf.SIRANO = o.KARGOFIRMANO "
                       "WHERE o.TARIH >= ? AND o.TARIH < ? AND ")
            + scope.sql + QStringLiteral(" ORDER BY 1, o.TARIH, o.IDNO"));
    std::vector<QVariant> binds{from, to};
    binds.insert(binds.end(), scope.binds.begin(), scope.binds.end());
    bindList(q, binds);
    q.exec();
    while (q.next()) {
        std::vector<QVariant> row;
        for (int i = 0; i < 17; ++i)
            row.push_back(q.value(i));
        t.appendRow(row);
    }
    return t;
}

TableData stockSoldReport(DevDatabase &db, const DevViewer &v, double tarih1, double tarih2)
{
    TableData t = tableOf({{"BARKOD", S, 50},
                           {"KOD", S, 50},
                           {"ADI", S, 100},
                           {"DEPARTMAN", S, 50},
                           {"MIKTAR", F, 0},
                           {"NETTUTAR", F, 0},
                           {"TLVERGI", F, 0},
                           {"TUTAR", F, 0}});
    const Scope scope = scopeOf(v);
    const auto [from, to] = dayRange(tarih1, tarih2);
    DevQuery q(db.connection(),
               QStringLiteral("SELECT st.STOKNO, st.BARKOD, st.URETICIKODU, st.ADI, st.ANAGRUP, "
                              "l.MIKTAR, l.BIRIMFIYAT, l.INDIRIM1, l.INDIRIM2, l.INDIRIM3, "
                              "l.INDIRIM4, l.KDV FROM FATURA_SATIR l "
                              "JOIN FATURA f ON f.IDNO = l.IDNO JOIN CARI c ON c.CARINO = f.CARINO "
                              "JOIN STOK st ON st.STOKNO = l.STOKNO "
                              "WHERE f.TARIH >= ? AND f.TARIH < ? AND ")
                   + scope.sql);
    std::vector<QVariant> binds{from, to};
    binds.insert(binds.end(), scope.binds.begin(), scope.binds.end());
    bindList(q, binds);
    q.exec();
    struct Sold
    {
        QString barkod, kod, adi, departman;
        double miktar = 0, net = 0, vergi = 0, tutar = 0;
    };
    std::map<int, Sold> byItem;
    while (q.next()) {
        Sold &s = byItem[q.value(0).toInt()];
        s.barkod = q.value(1).toString();
        s.kod = q.value(2).toString();
        s.adi = q.value(3).toString();
        s.departman = q.value(4).toString();
        const double miktar = q.value(5).toDouble();
        DevPrice price;
        price.fiyat = q.value(6).toDouble();
        for (int i = 0; i < 4; ++i)
            price.rates[std::size_t(i)] = q.value(7 + i).toDouble();
        const double net = RoundTo2Decimals(miktar * netPrice(price));
        s.miktar += miktar;
        s.net += net;
        s.vergi += RoundTo2Decimals(net * q.value(11).toDouble() / 100.0);
        s.tutar += RoundTo2Decimals(miktar * price.fiyat);
    }
    std::vector<const Sold *> list;
    for (const auto &[no, s] : byItem)
        list.push_back(&s);
    // Best sellers first.
    std::stable_sort(list.begin(), list.end(), [](const Sold *a, const Sold *b) {
        return a->miktar > b->miktar;
    });
    for (const Sold *s : list)
        t.appendRow({s->barkod,
                     s->kod,
                     s->adi,
                     s->departman,
                     s->miktar,
                     RoundTo2Decimals(s->net),
                     RoundTo2Decimals(s->vergi),
                     RoundTo2Decimals(s->tutar)});
    return t;
}

QByteArray accountReportPdf(DevDatabase &db,
                            int raporno,
                            int idno,
                            int carino,
                            const QString &saticiAdi,
                            double tarih1,
                            double tarih2)
{
    const DevViewer v = viewerBySirano(db, idno);
    if (!v.known)
        return {};
    if (raporno == 6 && carino == 0)
        return receivablesPdf(db, v, saticiAdi, tarih1);
    if ((raporno == 6 || raporno == 7) && !viewerSeesAccount(db, v, carino))
        return {};
    if (raporno == 6)
        return accountSummaryPdf(db, carino, saticiAdi, tarih1);
    if (raporno == 7)
        return salesTablePdf(db, carino, saticiAdi, tarih1, tarih2);
    return {};
}

// ---- customer details and mails ------------------------------------------------

std::unique_ptr<TMobilCariBilgisi> customerDetails(DevDatabase &db, const QString &machineId)
{
    DevQuery q(
        db.connection(),
        QStringLiteral(
            "SELECT k.BILGISAYARID, COALESCE(c.IL, ''), COALESCE(c.FAX1, ''), "
            "COALESCE(s.MAIL, ''), COALESCE(s.ADI, ''), COALESCE(c.CARIADI, ''), "
            "COALESCE(c.EMAIL, ''), COALESCE(c.VERGIDAIRESI, ''), COALESCE(c.YETKILI, ''), "
            "COALESCE(c.ALTGRUP, ''), COALESCE(c.TEL2, ''), k.SIFRE, COALESCE(c.GSM, ''), "
            "COALESCE(c.TEL1, ''), COALESCE(c.ADRES2, ''), "
            "(SELECT COALESCE(SUM(h.BORC), 0) FROM CARI_HAREKET h WHERE h.CARINO = c.CARINO), "
            "(SELECT COALESCE(SUM(h.ALACAK), 0) FROM CARI_HAREKET h WHERE h.CARINO = "
            "c.CARINO), COALESCE(c.ADRES1, ''), COALESCE(c.ULKE, ''), "
            "COALESCE(c.ANAGRUP, ''), COALESCE(c.CARINO, 0), COALESCE(c.VERGINO, ''), "
            "k.EMAIL, COALESCE(c.OZELKOD, ''), k.ADI, COALESCE(s.TELEFON, ''), "
            "COALESCE(c.CARIKOD, ''), COALESCE(c.FAX2, ''), COALESCE(c.ILCE, '') "
            "FROM KULLANICI k LEFT JOIN CARI c ON c.CARINO = k.CARINO "
            "LEFT JOIN SATICI s ON s.SATICINO = COALESCE(c.SATICINO, k.SATICINO) "
            "WHERE k.BILGISAYARID = ?"));
    q.bind(0, machineId).exec();
    if (!q.next())
        return nullptr;
    auto r = std::make_unique<TMobilCariBilgisi>();
    r->setBILGISAYARID(q.value(0).toString());
    r->setSEHIR(q.value(1).toString());
    r->setFAX1(q.value(2).toString());
    r->setSATICIMAIL(q.value(3).toString());
    r->setSATICIADI(q.value(4).toString());
    r->setCARIADI(q.value(5).toString());
    r->setEMAIL(q.value(6).toString());
    r->setVERGIDAIRESI(q.value(7).toString());
    r->setYETKILI(q.value(8).toString());
    r->setAltGrup(q.value(9).toString());
    r->setTEL2(q.value(10).toString());
    r->setSIFRE(q.value(11).toString());
    r->setGSM(q.value(12).toString());
    r->setTEL1(q.value(13).toString());
    r->setADRES2(q.value(14).toString());
    const double borc = RoundTo2Decimals(q.value(15).toDouble());
    const double alacak = RoundTo2Decimals(q.value(16).toDouble());
    r->setTLBORC(borc);
    r->setTLALACAK(alacak);
    r->setADRES1(q.value(17).toString());
    r->setULKE(q.value(18).toString());
    r->setAnaGrup(q.value(19).toString());
    r->setCARINO(q.value(20).toInt());
    r->setTLBAKIYE(RoundTo2Decimals(borc - alacak));
    r->setVERGINO(q.value(21).toString());
    r->setMAIL(q.value(22).toString());
    r->setOzelKod(q.value(23).toString());
    r->setKULLANICIADI(q.value(24).toString());
    r->setSATICITELEFON(q.value(25).toString());
    r->setCARIKOD(q.value(26).toString());
    r->setFAX2(q.value(27).toString());
    r->setILCE(q.value(28).toString());
    return r;
}

int storeMail(DevDatabase &db, const DevMail &m)
{
    DevQuery q(db.connection(),
               QStringLiteral("INSERT INTO GELEN_MAIL (TUR, TARIH, BILGISAYARID, BASLIK, FIRMAADI, "
                              "ADRES1, ADRES2, ILCE, SEHIR, TELEFON, FAX, VD, VN, YETKILI, "
                              "KULLANICIADI, SIFRE, MAIL, KARGOAMBAR, KONU) "
                              "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    q.bindAll({m.tur,
               m.tarih > 0 ? m.tarih : toDayNumber(QDateTime::currentDateTime()),
               m.bilgisayarId,
               m.baslik,
               m.firmaAdi,
               m.adres1,
               m.adres2,
               m.ilce,
               m.sehir,
               m.telefon,
               m.fax,
               m.vd,
               m.vn,
               m.yetkili,
               m.kullaniciAdi,
               m.sifre,
               m.mail,
               m.kargoAmbar,
               m.konu})
        .exec();
    return q.query().lastInsertId().toInt();
}

std::vector<DevMail> receivedMails(DevDatabase &db)
{
    DevQuery q(db.connection(),
               QStringLiteral("SELECT SIRANO, TUR, TARIH, BILGISAYARID, BASLIK, FIRMAADI, ADRES1, "
                              "ADRES2, ILCE, SEHIR, TELEFON, FAX, VD, VN, YETKILI, KULLANICIADI, "
                              "SIFRE, MAIL, KARGOAMBAR, KONU FROM GELEN_MAIL ORDER BY SIRANO"));
    q.exec();
    std::vector<DevMail> list;
    while (q.next()) {
        DevMail m;
        m.sirano = q.value(0).toInt();
        m.tur = q.value(1).toInt();
        m.tarih = q.value(2).toDouble();
        QString *texts[] = {&m.bilgisayarId,
                            &m.baslik,
                            &m.firmaAdi,
                            &m.adres1,
                            &m.adres2,
                            &m.ilce,
                            &m.sehir,
                            &m.telefon,
                            &m.fax,
                            &m.vd,
                            &m.vn,
                            &m.yetkili,
                            &m.kullaniciAdi,
                            &m.sifre,
                            &m.mail,
                            &m.kargoAmbar,
                            &m.konu};
        for (int i = 0; i < 17; ++i)
            *texts[i] = q.value(3 + i).toString();
        list.push_back(std::move(m));
    }
    return list;
}

} // namespace qv
