// Catalogue queries: stock search and stock pictures.
#include "database.h"
#include "databaseimpl.h"

#include "pictures.h"
#include "pricing.h"
#include "searchtext.h"
#include "sqlutil.h"

namespace qv {

namespace {

// The catalogue row as the client binds it; the order is part of the contract.
const FieldDef kStockFields[] = {
    {QStringLiteral("DURUM"), FieldType::Integer, 0},
    {QStringLiteral("OEM1"), FieldType::String, 30},
    {QStringLiteral("OEM2"), FieldType::String, 30},
    {QStringLiteral("OEM3"), FieldType::String, 30},
    {QStringLiteral("OEM4"), FieldType::String, 30},
    {QStringLiteral("BARKOD"), FieldType::String, 30},
    {QStringLiteral("ADI"), FieldType::String, 100},
    {QStringLiteral("STOK_STOKNO"), FieldType::Integer, 0},
    {QStringLiteral("FINISHKOD"), FieldType::String, 20},
    {QStringLiteral("URETICIKODU"), FieldType::String, 30},
    {QStringLiteral("RESIM"), FieldType::Integer, 0},
    {QStringLiteral("BARKOD_BARKODNO"), FieldType::Integer, 0},
    {QStringLiteral("DIGERADI"), FieldType::String, 100},
    {QStringLiteral("DPKOD"), FieldType::String, 20},
    {QStringLiteral("OEMNO"), FieldType::String, 30},
    {QStringLiteral("BIRIM"), FieldType::String, 10},
    {QStringLiteral("MARKA"), FieldType::String, 30},
    {QStringLiteral("MODEL"), FieldType::String, 50},
    {QStringLiteral("ANAGRUP"), FieldType::String, 30},
    {QStringLiteral("OZELKOD"), FieldType::String, 30},
    {QStringLiteral("KALAN"), FieldType::Float, 0},
    {QStringLiteral("PKOD"), FieldType::String, 10},
    {QStringLiteral("KDV"), FieldType::Float, 0},
    {QStringLiteral("ALINANSIPARIS"), FieldType::Float, 0},
    {QStringLiteral("VERILENSIPARIS"), FieldType::Float, 0},
    {QStringLiteral("LISTEFIYAT1"), FieldType::Float, 0},
    {QStringLiteral("KAMPFIYAT"), FieldType::Float, 0},
    {QStringLiteral("FIYAT"), FieldType::Float, 0},
    {QStringLiteral("Y"), FieldType::Integer, 0},
    {QStringLiteral("K"), FieldType::Integer, 0},
    {QStringLiteral("INDIRIMYAZI"), FieldType::String, 30},
    {QStringLiteral("NETFIYAT"), FieldType::Float, 0},
    {QStringLiteral("KDVDAHIL"), FieldType::Float, 0},
    {QStringLiteral("IND1"), FieldType::Float, 0},
    // The add-to-basket dialog reads all four rates; appended after the
    // columns the stock list binds.
    {QStringLiteral("IND2"), FieldType::Float, 0},
    {QStringLiteral("IND3"), FieldType::Float, 0},
    {QStringLiteral("IND4"), FieldType::Float, 0},
};

enum StockCol {
    cDURUM,
    cOEM1,
    cOEM2,
    cOEM3,
    cOEM4,
    cBARKOD,
    cADI,
    cSTOK_STOKNO,
    cFINISHKOD,
    cURETICIKODU,
    cRESIM,
    cBARKOD_BARKODNO,
    cDIGERADI,
    cDPKOD,
    cOEMNO,
    cBIRIM,
    cMARKA,
    cMODEL,
    cANAGRUP,
    cOZELKOD,
    cKALAN,
    cPKOD,
    cKDV,
    cALINANSIPARIS,
    cVERILENSIPARIS,
    cLISTEFIYAT1,
    cKAMPFIYAT,
    cFIYAT,
    cY,
    cK,
    cINDIRIMYAZI,
    cNETFIYAT,
    cKDVDAHIL,
    cIND1,
    cIND2,
    cIND3,
    cIND4,
};

// Selected in this order by the search statement.
const char kStockSelect[]
    = "s.DURUM, s.OEM1, s.OEM2, s.OEM3, s.OEM4, s.BARKOD, s.ADI, s.STOKNO, s.FINISHKOD, "
      "s.URETICIKODU, s.RESIM, s.BARKODNO, s.DIGERADI, s.DPKOD, s.OEMNO, s.BIRIM, s.MARKA, "
      "s.MODEL, s.ANAGRUP, s.OZELKOD, s.KALAN, s.PKOD, s.KDV, s.ALINANSIPARIS, s.VERILENSIPARIS, "
      "s.LISTEFIYAT1, s.KAMPFIYAT, s.KAMPANYA, s.YENI";

// The first key after every key that starts with prefix (keys are A-Z, 0-9).
QString prefixEnd(const QString &prefix)
{
    QString end = prefix;
    end.back() = QChar(end.back().unicode() + 1);
    return end;
}

TableData emptyStockTable()
{
    TableData t;
    for (const FieldDef &f : kStockFields)
        t.addField(f);
    return t;
}

void appendText(Column &c, const QVariant &v)
{
    c.appendString(v.toString().toStdString());
}

} // namespace

TableData DevDatabase::searchStock(const QString &kod, int carino, int musteriTipi)
{
    TableData table = emptyStockTable();
    const QStringList words = searchWords(kod);
    const QString whole = words.join(QString());
    if (whole.size() < 3)
        return table; // the client asks for three letters; less would list the catalogue

    // Code hits (rank 0): the text without blanks starts one of the item's
    // codes. Word hits (rank 1): every word starts a word or code of the item.
    QString sql = QStringLiteral("SELECT STOKNO, 0 AS R FROM STOK_KOD WHERE KOD >= ? AND KOD < ? "
                                 "UNION ALL SELECT STOKNO, 1 FROM (");
    for (int i = 0; i < words.size(); ++i) {
        if (i)
            sql += QStringLiteral(" INTERSECT ");
        sql += QStringLiteral("SELECT STOKNO FROM STOK_KELIME WHERE KELIME >= ? AND KELIME < ?");
    }
    sql += u')';
    sql = QStringLiteral(
              "SELECT %1 FROM (SELECT STOKNO, MIN(R) AS R FROM (%2) h GROUP BY STOKNO) m "
              "JOIN STOK s ON s.STOKNO = m.STOKNO ORDER BY m.R, s.ADI, s.STOKNO")
              .arg(QString::fromLatin1(kStockSelect), sql);
    if (m_options.searchLimit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(m_options.searchLimit);

    const QSqlDatabase db = connection();
    const DevPriceRules rules = loadPriceRules(db, carino);
    const bool campaigns = musteriTipi != 4;

    DevQuery q(db, sql);
    q.bind(0, whole);
    q.bind(1, prefixEnd(whole));
    for (int i = 0; i < words.size(); ++i) {
        q.bind(2 + 2 * i, words[i]);
        q.bind(3 + 2 * i, prefixEnd(words[i]));
    }
    q.exec();

    auto col = [&table](StockCol c) -> Column & {
        return table.column(int(c));
    };
    while (q.next()) {
        const int stokno = q.value(7).toInt();
        const QString marka = q.value(16).toString();
        const QString anagrup = q.value(18).toString();
        const double liste = q.value(25).toDouble();
        const double kampfiyat = q.value(26).toDouble();
        const bool k = campaigns && q.value(27).toInt() == 1 && kampfiyat > 0;
        const double kdv = q.value(22).toDouble();

        // A campaign price is net: no account discount on top of it.
        const DevPrice price
            = k ? DevPrice{kampfiyat, {}} : rules.priceFor(stokno, marka, anagrup, liste);
        const double net = netPrice(price);

        col(cDURUM).appendInt(q.value(0).toInt());
        for (StockCol c : {cOEM1, cOEM2, cOEM3, cOEM4, cBARKOD, cADI})
            appendText(col(c), q.value(int(c)));
        col(cSTOK_STOKNO).appendInt(stokno);
        appendText(col(cFINISHKOD), q.value(8));
        appendText(col(cURETICIKODU), q.value(9));
        col(cRESIM).appendInt(q.value(10).toInt());
        col(cBARKOD_BARKODNO).appendInt(q.value(11).toInt());
        for (StockCol c : {cDIGERADI, cDPKOD, cOEMNO, cBIRIM, cMARKA, cMODEL, cANAGRUP, cOZELKOD})
            appendText(col(c), q.value(int(c)));
        col(cKALAN).appendDouble(q.value(20).toDouble());
        appendText(col(cPKOD), q.value(21));
        col(cKDV).appendDouble(kdv);
        col(cALINANSIPARIS).appendDouble(q.value(23).toDouble());
        col(cVERILENSIPARIS).appendDouble(q.value(24).toDouble());
        col(cLISTEFIYAT1).appendDouble(liste);
        col(cKAMPFIYAT).appendDouble(k ? kampfiyat : 0.0);
        col(cFIYAT).appendDouble(price.fiyat);
        col(cY).appendInt(q.value(28).toInt());
        col(cK).appendInt(k ? 1 : 0);
        col(cINDIRIMYAZI).appendString(discountText(price.rates).toStdString());
        col(cNETFIYAT).appendDouble(net);
        col(cKDVDAHIL).appendDouble(withVat(net, kdv));
        col(cIND1).appendDouble(price.rates[0]);
        col(cIND2).appendDouble(price.rates[1]);
        col(cIND3).appendDouble(price.rates[2]);
        col(cIND4).appendDouble(price.rates[3]);
    }
    table.finishColumns();
    return table;
}

QByteArray DevDatabase::stockPicture(int stokno)
{
    {
        std::lock_guard lock(m_impl->pictureMutex);
        if (auto it = m_impl->pictures.find(stokno); it != m_impl->pictures.end())
            return it->second;
    }
    DevQuery q(connection(),
               QStringLiteral(
                   "SELECT RESIM, MARKA, ANAGRUP, ADI, URETICIKODU FROM STOK WHERE STOKNO = ?"));
    q.bind(0, stokno).exec();
    if (!q.next() || q.value(0).toInt() != 1)
        return {};
    DevStockPictureInfo info;
    info.stokno = stokno;
    info.marka = q.value(1).toString();
    info.anagrup = q.value(2).toString();
    info.adi = q.value(3).toString();
    info.ureticiKodu = q.value(4).toString();
    QByteArray jpeg = renderStockPicture(info);
    std::lock_guard lock(m_impl->pictureMutex);
    if (m_impl->pictures.size() >= 4000) // a bound, not a policy: start over
        m_impl->pictures.clear();
    m_impl->pictures.emplace(stokno, jpeg);
    return jpeg;
}

} // namespace qv
