#include "stoklistesi.h"

#include "dataset.h"

QChar FoldSearchKey(QChar key)
{
    switch (key.unicode()) {
    case u'ğ':
        return u'g';
    case u'ü':
        return u'u';
    case u'ş':
        return u's';
    case u'ö':
        return u'o';
    case u'ç':
        return u'c';
    case u'Ğ':
        return u'G';
    case u'Ü':
        return u'U';
    case u'Ş':
        return u'S';
    case u'İ':
        return u'I';
    case u'Ö':
        return u'O';
    case u'Ç':
        return u'C';
    case u'ı':
        return u'I';
    default:
        return key;
    }
}

QString PriceSummaryText(
    double listeFiyat, double kampFiyat, double netFiyat, double kdvDahil, const QLocale &locale)
{
    const QString money = QStringLiteral("#,###,##0.00");
    const QString lineEnd = QStringLiteral("\r\n");
    QString text
        = QStringLiteral("Liste Fiyatı: ") + qv::FormatFloat(money, listeFiyat, locale) + lineEnd;
    if (kampFiyat > 0)
        text += QStringLiteral("Kampanyalı Fiyat: ") + qv::FormatFloat(money, kampFiyat, locale)
                + lineEnd;
    text += QStringLiteral("NetFiyat: ") + qv::FormatFloat(money, netFiyat, locale) + lineEnd;
    text += QStringLiteral("KDV li Fiyat: ") + qv::FormatFloat(money, kdvDahil, locale) + lineEnd;
    return text;
}
