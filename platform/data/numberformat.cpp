// Picture formats of numbers, the money rounding and day numbers.

#include "dataset.h"
#include "numberformat_p.h"

#include <QDateTime>

#include <charconv>
#include <cmath>

namespace qv {

namespace {

const QDate kDayZero(1899, 12, 30);
constexpr double kMsecsPerDay = 86400000.0;

struct Picture
{
    int intPlaceholders = 0;
    int minIntDigits = 0;
    bool hasPoint = false;
    int maxDecimals = 0;
    int minDecimals = 0;
    bool grouping = false;
};

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

// Splits at ';' outside quoted literals: positive;negative;zero.
QList<QStringView> splitSections(QStringView pattern)
{
    QList<QStringView> sections;
    QChar quote;
    qsizetype start = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (isQuote(c)) {
            quote = c;
        } else if (c == u';') {
            sections.append(pattern.mid(start, i - start));
            start = i + 1;
        }
    }
    sections.append(pattern.mid(start));
    return sections;
}

Picture parsePicture(QStringView section)
{
    Picture p;
    QChar quote;
    int firstZero = -1;
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (isQuote(c)) {
            quote = c;
        } else if (c == u'.' && !p.hasPoint) {
            p.hasPoint = true;
        } else if (c == u',') {
            p.grouping = true;
        } else if (c == u'0' || c == u'#') {
            if (p.hasPoint) {
                ++p.maxDecimals;
                if (c == u'0')
                    p.minDecimals = p.maxDecimals;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = p.intPlaceholders;
                ++p.intPlaceholders;
            }
        }
    }
    p.minIntDigits = firstZero < 0 ? 0 : p.intPlaceholders - firstZero;
    return p;
}

QString generalText(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 15);
}

} // namespace

RoundedDecimal roundDecimal(double value, int decimals)
{
    RoundedDecimal d;
    d.negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (magnitude == 0 || !std::isfinite(magnitude))
        return d;

    // Fifteen significant digits first, as the money texts always were: 1.005
    // is taken as written, so it rounds up.
    char buf[40];
    const auto res
        = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    const std::string_view text(buf, std::size_t(res.ptr - buf));
    const std::size_t e = text.find('e');
    d.digits.reserve(16);
    d.digits += text[0];
    d.digits.append(text.substr(2, e - 2));
    int exponent = 0;
    const char *expBegin = text.data() + e + 1;
    if (*expBegin == '+')
        ++expBegin;
    std::from_chars(expBegin, text.data() + text.size(), exponent);
    d.intDigits = exponent + 1;

    const int keep = d.intDigits + decimals;
    if (keep < 0) {
        d.digits.clear();
        d.intDigits = 0;
        return d;
    }
    if (std::size_t(keep) < d.digits.size()) {
        const bool up = d.digits[std::size_t(keep)] >= '5';
        d.digits.resize(std::size_t(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d.digits[std::size_t(i)] == '9') {
                d.digits[std::size_t(i)] = '0';
                --i;
            }
            if (i < 0) {
                d.digits.insert(d.digits.begin(), '1');
                ++d.intDigits;
            } else {
                ++d.digits[std::size_t(i)];
            }
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.intDigits = 0;
    return d;
}

std::string RoundedDecimal::integerDigits() const
{
    std::string s;
    if (intDigits <= 0)
        return s;
    s.assign(digits, 0, std::min(digits.size(), std::size_t(intDigits)));
    s.resize(std::size_t(intDigits), '0');
    return s;
}

std::string RoundedDecimal::fractionDigits(int count) const
{
    std::string s(std::size_t(std::max(count, 0)), '0');
    for (int i = 0; i < count; ++i) {
        const int idx = intDigits + i;
        if (idx >= 0 && std::size_t(idx) < digits.size())
            s[std::size_t(i)] = digits[std::size_t(idx)];
    }
    return s;
}

QString FormatFloat(const QString &pattern, double value, const QLocale &locale)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (pattern.isEmpty())
        return generalText(value, locale);

    const QList<QStringView> sections = splitSections(pattern);
    QStringView section = sections[0];
    Picture pic = parsePicture(section);
    RoundedDecimal num = roundDecimal(value, pic.maxDecimals);
    bool minus = num.negative && !num.isZero();
    if (num.isZero() && sections.size() > 2 && !sections[2].isEmpty()) {
        section = sections[2];
        minus = false;
    } else if (minus && sections.size() > 1 && !sections[1].isEmpty()) {
        // The negative section shows its own sign, if any.
        section = sections[1];
        minus = false;
    }
    if (section.data() != sections[0].data()) {
        pic = parsePicture(section);
        num = roundDecimal(value, pic.maxDecimals);
    }

    std::string intText = num.integerDigits();
    if (int(intText.size()) < pic.minIntDigits)
        intText.insert(0, std::size_t(pic.minIntDigits) - intText.size(), '0');
    std::string fracText = num.fractionDigits(pic.maxDecimals);
    while (int(fracText.size()) > pic.minDecimals && fracText.back() == '0')
        fracText.pop_back();

    QString intPart;
    const QString group = locale.groupSeparator();
    intPart.reserve(qsizetype(intText.size() * 2));
    for (std::size_t i = 0; i < intText.size(); ++i) {
        if (pic.grouping && i > 0 && (intText.size() - i) % 3 == 0)
            intPart += group;
        intPart += QLatin1Char(intText[i]);
    }

    QString out;
    if (minus)
        out += QLatin1Char('-');
    bool intDone = false;
    bool pointSeen = false;
    QChar quote;
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
            continue;
        }
        if (isQuote(c)) {
            quote = c;
        } else if (c == u'.' && !pointSeen) {
            pointSeen = true;
            if (!intDone) {
                out += intPart;
                intDone = true;
            }
            if (!fracText.empty()) {
                out += locale.decimalPoint();
                out += QLatin1StringView(fracText.data(), qsizetype(fracText.size()));
            }
        } else if (c == u'0' || c == u'#' || c == u',') {
            if (!pointSeen && !intDone) {
                out += intPart;
                intDone = true;
            }
        } else {
            out += c;
        }
    }
    return out;
}

double RoundTo2Decimals(double value)
{
    // The text of "#,###,##.00" without group separators, read back.
    if (!std::isfinite(value))
        return value;
    const RoundedDecimal d = roundDecimal(value, 2);
    if (d.isZero())
        return 0.0;
    std::string text;
    if (d.negative)
        text += '-';
    text += d.integerDigits();
    text += '.';
    text += d.fractionDigits(2);
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

double toDayNumber(const QDateTime &dt)
{
    if (!dt.isValid())
        return 0;
    const double days = double(kDayZero.daysTo(dt.date()));
    const double time = dt.time().msecsSinceStartOfDay() / kMsecsPerDay;
    // Before day zero the fraction still counts forward from midnight.
    return days >= 0 ? days + time : days - time;
}

QDateTime fromDayNumber(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return {};
    const double whole = std::trunc(days);
    qint64 day = qint64(whole);
    auto msecs = qint64(std::llround(std::fabs(days - whole) * kMsecsPerDay));
    if (msecs >= qint64(kMsecsPerDay)) {
        day += days < 0 ? -1 : 1;
        msecs -= qint64(kMsecsPerDay);
    }
    return QDateTime(
        kDayZero.addDays(day), QTime::fromMSecsSinceStartOfDay(int(msecs)), Qt::LocalTime);
}

} // namespace qv
