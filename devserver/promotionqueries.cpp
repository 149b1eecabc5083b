// Ticker, banner, opening-screen and balloon-counter queries.
#include "promotionqueries.h"

#include "sqlutil.h"

namespace qv {

namespace {

std::unique_ptr<TAcilisEkran> screenFrom(DevQuery &q)
{
    auto s = std::make_unique<TAcilisEkran>();
    s->setSiraNo(q.value(0).toInt());
    s->setBaslik(q.value(1).toString());
    s->setArama(q.value(2).toString());
    s->setResim(hexText(q.value(3).toByteArray()));
    return s;
}

} // namespace

QString tickerText(DevDatabase &db)
{
    return devScalar(db.connection(),
                     QStringLiteral("SELECT DEGER FROM AYAR WHERE ANAHTAR = 'KAYANYAZI'"))
        .toString();
}

QByteArray bannerPicture(DevDatabase &db, int number)
{
    return devScalar(db.connection(),
                     QStringLiteral("SELECT RESIM FROM BANNER WHERE SIRANO = ?"),
                     {number})
        .toByteArray();
}

int openingScreenCount(DevDatabase &db)
{
    return devScalar(db.connection(),
                     QStringLiteral("SELECT COUNT(*) FROM ACILIS_EKRAN WHERE ACILIS = 1"))
        .toInt();
}

std::unique_ptr<TAcilisEkran> openingScreen(DevDatabase &db, int sira)
{
    if (sira < 0)
        return nullptr;
    DevQuery q(db.connection(),
               QStringLiteral("SELECT SIRANO, BASLIK, ARAMA, RESIM FROM ACILIS_EKRAN "
                              "WHERE ACILIS = 1 ORDER BY SIRANO LIMIT 1 OFFSET ?"));
    q.bind(0, sira).exec();
    return q.next() ? screenFrom(q) : nullptr;
}

std::unique_ptr<TAcilisEkranlariki> announcementScreens(DevDatabase &db)
{
    DevQuery q(db.connection(),
               QStringLiteral("SELECT SIRANO, BASLIK, ARAMA, RESIM FROM ACILIS_EKRAN "
                              "ORDER BY SIRANO"));
    q.exec();
    auto list = std::make_unique<TAcilisEkranlariki>();
    while (q.next())
        list->Ekranlar().append(screenFrom(q));
    return list;
}

QString hexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

TableData balloonCounters(DevDatabase &db, const DevViewer &v, int carino)
{
    TableData t;
    t.addField({QStringLiteral("SEPET"), FieldType::Integer, 0});
    t.addField({QStringLiteral("YENI"), FieldType::Integer, 0});
    t.addField({QStringLiteral("KAMPANYA"), FieldType::Integer, 0});
    t.addField({QStringLiteral("DUYURU"), FieldType::Integer, 0});
    t.addField({QStringLiteral("BAKIYE"), FieldType::Float, 0});

    // Account figures only for an account the user may work for.
    const bool own = carino > 0 && viewerSeesAccount(db, v, carino);
    const QSqlDatabase c = db.connection();
    const int basket = own ? devScalar(c,
                                       QStringLiteral("SELECT COUNT(*) FROM SEPET WHERE CARINO = ? "
                                                      "AND SIPARISNO IS NULL"),
                                       {carino})
                                 .toInt()
                           : 0;
    const int fresh
        = devScalar(c, QStringLiteral("SELECT COUNT(*) FROM STOK WHERE YENI = 1")).toInt();
    // Users without campaigns see none.
    const int campaign
        = v.known && v.musteriTipi != 4
              ? devScalar(c, QStringLiteral("SELECT COUNT(*) FROM STOK WHERE KAMPANYA = 1")).toInt()
              : 0;
    const int screens = devScalar(c, QStringLiteral("SELECT COUNT(*) FROM ACILIS_EKRAN")).toInt();
    const double open
        = own ? devScalar(c,
                          QStringLiteral("SELECT COUNT(*) FROM SIPARIS_SATIR l JOIN SIPARIS o "
                                         "ON o.IDNO = l.IDNO WHERE o.CARINO = ? AND "
                                         "l.MIKTAR > l.TESLIMEDILEN"),
                          {carino})
                    .toDouble()
              : 0.0;
    t.appendRow({basket, fresh, campaign, screens, open});
    return t;
}

} // namespace qv
