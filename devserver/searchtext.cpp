#include "searchtext.h"

namespace qv {

namespace {

QChar foldedUpper(QChar c)
{
    switch (c.unicode()) {
    case u'i':
    case u'ı':
    case u'İ':
    case u'î':
    case u'Î':
        return u'I';
    case u'ş':
    case u'Ş':
        return u'S';
    case u'ğ':
    case u'Ğ':
        return u'G';
    case u'ü':
    case u'Ü':
    case u'û':
    case u'Û':
        return u'U';
    case u'ö':
    case u'Ö':
        return u'O';
    case u'ç':
    case u'Ç':
        return u'C';
    case u'â':
    case u'Â':
        return u'A';
    default:
        return c.toUpper();
    }
}

} // namespace

QString turkishUpper(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'i')
            out += u'İ';
        else if (c == u'ı')
            out += u'I';
        else
            out += c.toUpper();
    }
    return out;
}

QString searchKey(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.isMark()) // a decomposed dot or accent belongs to the letter before
            continue;
        const QChar u = foldedUpper(c);
        if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
            out += u;
    }
    return out;
}

QStringList searchWords(QStringView text)
{
    QStringList words;
    for (QStringView part : text.split(u' ', Qt::SkipEmptyParts)) {
        for (QStringView piece : part.split(u'\t', Qt::SkipEmptyParts)) {
            QString key = searchKey(piece);
            if (!key.isEmpty())
                words += key;
        }
    }
    return words;
}

} // namespace qv
