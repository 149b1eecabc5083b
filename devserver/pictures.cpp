#include "pictures.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <unordered_map>

namespace qv {

namespace {

bool canDrawText()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

QByteArray toFormat(const QImage &image, const char *format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QColor groupColour(const QString &group)
{
    static const std::unordered_map<QString, QColor> colours = {
        {QStringLiteral("FREN"), QColor(176, 38, 38)},
        {QStringLiteral("FİLTRE"), QColor(222, 160, 24)},
        {QStringLiteral("SÜSPANSİYON"), QColor(40, 96, 176)},
        {QStringLiteral("MOTOR"), QColor(64, 64, 72)},
        {QStringLiteral("ELEKTRİK"), QColor(30, 140, 200)},
        {QStringLiteral("DEBRİYAJ"), QColor(120, 70, 160)},
        {QStringLiteral("ŞANZIMAN"), QColor(90, 110, 60)},
        {QStringLiteral("SOĞUTMA"), QColor(20, 150, 140)},
        {QStringLiteral("RULMAN"), QColor(140, 140, 150)},
        {QStringLiteral("AYDINLATMA"), QColor(230, 200, 60)},
    };
    auto it = colours.find(group);
    return it != colours.end() ? it->second : QColor(100, 100, 100);
}

QColor brandColour(const QString &brand)
{
    // A stable colour per brand name, dark enough for white text.
    const size_t h = qHash(brand, 7u);
    return QColor::fromHsv(int(h % 360), 200, 150);
}

void drawDisc(QPainter &p, QPointF c, double r, const QColor &col, bool holes)
{
    QRadialGradient g(c, r);
    g.setColorAt(0, col.lighter(160));
    g.setColorAt(1, col.darker(130));
    p.setBrush(g);
    p.setPen(QPen(col.darker(180), 3));
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(235, 235, 235));
    p.drawEllipse(c, r * 0.35, r * 0.35);
    if (holes) {
        p.setBrush(col.darker(200));
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * M_PI / 5;
            p.drawEllipse(QPointF(c.x() + std::cos(a) * r * 0.22, c.y() + std::sin(a) * r * 0.22),
                          r * 0.04,
                          r * 0.04);
        }
    }
}

void drawGear(QPainter &p, QPointF c, double r, const QColor &col)
{
    QPainterPath path;
    const int teeth = 14;
    for (int i = 0; i < teeth * 2; ++i) {
        const double a = i * M_PI / teeth;
        const double rr = (i % 2) ? r * 0.82 : r;
        const QPointF pt(c.x() + std::cos(a) * rr, c.y() + std::sin(a) * rr);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    p.setBrush(col);
    p.setPen(QPen(col.darker(160), 3));
    p.drawPath(path);
    p.setBrush(QColor(240, 240, 240));
    p.drawEllipse(c, r * 0.3, r * 0.3);
}

void drawShape(QPainter &p, const QString &group, const QRectF &area, const QColor &col)
{
    const QPointF c = area.center();
    const double r = std::min(area.width(), area.height()) / 2;
    if (group == QStringLiteral("FREN")) {
        drawDisc(p, c, r, QColor(150, 150, 155), true);
        p.setBrush(col);
        p.setPen(QPen(col.darker(150), 2));
        p.drawRoundedRect(QRectF(c.x() + r * 0.55, c.y() - r * 0.45, r * 0.5, r * 0.9), 10, 10);
    } else if (group == QStringLiteral("FİLTRE")) {
        QLinearGradient g(area.left(), 0, area.right(), 0);
        g.setColorAt(0, col.darker(140));
        g.setColorAt(0.5, col.lighter(130));
        g.setColorAt(1, col.darker(140));
        p.setBrush(g);
        p.setPen(QPen(col.darker(180), 3));
        const QRectF body(c.x() - r * 0.6, c.y() - r * 0.9, r * 1.2, r * 1.8);
        p.drawRoundedRect(body, 18, 18);
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(QRectF(body.left(), body.top(), body.width(), r * 0.25));
    } else if (group == QStringLiteral("SÜSPANSİYON")) {
        p.setBrush(QColor(70, 70, 75));
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(QRectF(c.x() - r * 0.12, c.y() - r, r * 0.24, r * 2));
        QPen spring(col, 10);
        spring.setCapStyle(Qt::RoundCap);
        p.setPen(spring);
        for (int i = 0; i < 7; ++i) {
            const double y = c.y() - r * 0.8 + i * r * 0.25;
            p.drawLine(QPointF(c.x() - r * 0.45, y), QPointF(c.x() + r * 0.45, y + r * 0.12));
        }
    } else if (group == QStringLiteral("DEBRİYAJ")) {
        drawDisc(p, c, r, col, false);
        p.setPen(QPen(col.darker(200), 4));
        for (int i = 0; i < 6; ++i) {
            const double a = i * M_PI / 3;
            p.drawLine(QPointF(c.x() + std::cos(a) * r * 0.38, c.y() + std::sin(a) * r * 0.38),
                       QPointF(c.x() + std::cos(a) * r * 0.9, c.y() + std::sin(a) * r * 0.9));
        }
    } else if (group == QStringLiteral("ŞANZIMAN") || group == QStringLiteral("MOTOR")) {
        drawGear(p, c, r, col);
    } else if (group == QStringLiteral("SOĞUTMA")) {
        p.setBrush(col.lighter(120));
        p.setPen(QPen(col.darker(170), 3));
        const QRectF body(c.x() - r * 1.2, c.y() - r * 0.75, r * 2.4, r * 1.5);
        p.drawRect(body);
        p.setPen(QPen(col.darker(140), 2));
        for (double x = body.left() + 12; x < body.right(); x += 12)
            p.drawLine(QPointF(x, body.top()), QPointF(x, body.bottom()));
    } else if (group == QStringLiteral("ELEKTRİK") || group == QStringLiteral("AYDINLATMA")) {
        QPainterPath bolt;
        bolt.moveTo(c.x() + r * 0.2, c.y() - r);
        bolt.lineTo(c.x() - r * 0.5, c.y() + r * 0.1);
        bolt.lineTo(c.x() - r * 0.02, c.y() + r * 0.1);
        bolt.lineTo(c.x() - r * 0.25, c.y() + r);
        bolt.lineTo(c.x() + r * 0.5, c.y() - r * 0.15);
        bolt.lineTo(c.x() + r * 0.02, c.y() - r * 0.15);
        bolt.closeSubpath();
        p.setBrush(col);
        p.setPen(QPen(col.darker(170), 3));
        p.drawPath(bolt);
    } else {
        p.setBrush(col);
        p.setPen(QPen(col.darker(170), 3));
        p.drawEllipse(c, r, r);
        p.setBrush(QColor(245, 245, 245));
        p.drawEllipse(c, r * 0.6, r * 0.6);
    }
}

} // namespace

QByteArray renderStockPicture(const DevStockPictureInfo &info)
{
    QImage image(480, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient bg(0, 0, 0, image.height());
        bg.setColorAt(0, QColor(250, 250, 250));
        bg.setColorAt(1, QColor(215, 218, 224));
        p.fillRect(image.rect(), bg);
        const QColor col = groupColour(info.anagrup);
        drawShape(p, info.anagrup, QRectF(140, 80, 200, 200), col);

        const QRectF band(0, 0, image.width(), 56);
        p.fillRect(band, brandColour(info.marka));
        if (canDrawText()) {
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setPixelSize(30);
            f.setBold(true);
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(band, Qt::AlignCenter, info.marka);
            f.setPixelSize(16);
            f.setBold(false);
            p.setFont(f);
            p.setPen(QColor(40, 40, 40));
            p.drawText(QRectF(10, 296, image.width() - 20, 28), Qt::AlignCenter, info.adi);
            p.drawText(QRectF(10, 322, image.width() - 20, 28),
                       Qt::AlignCenter,
                       info.ureticiKodu + QStringLiteral("  ·  #") + QString::number(info.stokno));
        }
    }
    return toFormat(image, "JPEG", 85);
}

QByteArray renderOpeningScreen(int index, const QString &title, const QString &subtitle)
{
    static const QColor tones[] = {QColor(176, 30, 40),
                                   QColor(20, 90, 160),
                                   QColor(30, 130, 70),
                                   QColor(200, 110, 20),
                                   QColor(80, 50, 140)};
    const QColor tone = tones[std::size_t(index) % std::size(tones)];
    QImage image(600, 400, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient bg(0, 0, 600, 400);
        bg.setColorAt(0, tone.lighter(130));
        bg.setColorAt(1, tone.darker(160));
        p.fillRect(image.rect(), bg);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 40));
        for (int i = 0; i < 6; ++i)
            p.drawEllipse(QPointF(80 + i * 95, 330 - (i % 3) * 30), 60 + i * 6, 60 + i * 6);
        drawGear(p, QPointF(500, 110), 70, QColor(255, 255, 255, 160));
        if (canDrawText()) {
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setPixelSize(40);
            f.setBold(true);
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(QRectF(30, 120, 540, 110), Qt::AlignLeft | Qt::TextWordWrap, title);
            f.setPixelSize(22);
            f.setBold(false);
            p.setFont(f);
            p.drawText(QRectF(30, 240, 540, 80), Qt::AlignLeft | Qt::TextWordWrap, subtitle);
            f.setPixelSize(18);
            f.setBold(true);
            p.setFont(f);
            p.drawText(QRectF(30, 350, 540, 30), Qt::AlignLeft, QStringLiteral("QUORVEL OTOMOTİV"));
        }
    }
    return toFormat(image, "JPEG", 85);
}

namespace {

QImage bannerFrame(QSize size, int frame, const QString &text)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, size.width(), 0);
    bg.setColorAt(0, QColor(150, 20, 30));
    bg.setColorAt(1, QColor(30, 30, 40));
    p.fillRect(image.rect(), bg);
    drawGear(p,
             QPointF(size.height() * 0.5, size.height() * 0.5),
             size.height() * 0.38,
             QColor(230, 230, 230));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 60));
    const double x
        = size.height() + std::fmod(frame * size.width() / 4.0, size.width() - size.height());
    p.drawEllipse(QPointF(x, size.height() * 0.85), 5, 5);
    if (canDrawText()) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(std::max(12, size.height() / 3));
        f.setBold(true);
        p.setFont(f);
        p.setPen(frame % 2 ? QColor(255, 210, 60) : Qt::white);
        p.drawText(QRectF(size.height(), 0, size.width() - size.height() - 8, size.height()),
                   Qt::AlignVCenter | Qt::AlignLeft,
                   text);
    }
    return image;
}

} // namespace

QByteArray renderHeaderBannerGif()
{
    std::vector<QImage> frames;
    for (int i = 0; i < 4; ++i)
        frames.push_back(bannerFrame(QSize(409, 100), i, QStringLiteral("QUORVEL B2B")));
    return encodeGif(frames, 50);
}

QByteArray renderStripBannerGif()
{
    std::vector<QImage> frames;
    for (int i = 0; i < 2; ++i)
        frames.push_back(
            bannerFrame(QSize(1200, 40),
                        i,
                        QStringLiteral("Yaz kampanyası: seçili BOSCH ve VALEO ürünlerinde "
                                       "ek indirim")));
    return encodeGif(frames, 80);
}

QByteArray renderLowerBannerBmp()
{
    return toFormat(bannerFrame(QSize(800, 60),
                                0,
                                QStringLiteral("Siparişleriniz 14:00'e kadar aynı gün kargoda")),
                    "BMP");
}

namespace {

class LzwBits
{
public:
    void put(int code, int size)
    {
        m_acc |= std::uint32_t(code) << m_bits;
        m_bits += size;
        while (m_bits >= 8) {
            m_bytes.push_back(char(m_acc & 0xff));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_bits > 0)
            m_bytes.push_back(char(m_acc & 0xff));
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    std::uint32_t m_acc = 0;
    int m_bits = 0;
};

QByteArray lzw(const QImage &indexed)
{
    constexpr int minSize = 8;
    constexpr int clear = 1 << minSize;
    constexpr int eoi = clear + 1;
    std::unordered_map<std::uint32_t, int> dict;
    int next = eoi + 1;
    int size = minSize + 1;
    LzwBits out;
    out.put(clear, size);
    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *row = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int k = row[x];
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            const std::uint32_t key = (std::uint32_t(prefix) << 8) | std::uint32_t(k);
            if (auto it = dict.find(key); it != dict.end()) {
                prefix = it->second;
                continue;
            }
            out.put(prefix, size);
            if (next < 4096) {
                if (next == (1 << size))
                    ++size;
                dict.emplace(key, next++);
            } else {
                out.put(clear, size);
                dict.clear();
                next = eoi + 1;
                size = minSize + 1;
            }
            prefix = k;
        }
    }
    if (prefix >= 0)
        out.put(prefix, size);
    out.put(eoi, size);
    return out.finish();
}

void put16(QByteArray &b, int v)
{
    b.push_back(char(v & 0xff));
    b.push_back(char((v >> 8) & 0xff));
}

void putColourTable(QByteArray &b, const QImage &indexed)
{
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        b.push_back(char(qRed(c)));
        b.push_back(char(qGreen(c)));
        b.push_back(char(qBlue(c)));
    }
}

} // namespace

QByteArray encodeGif(const std::vector<QImage> &frames, int delayCs)
{
    QByteArray b;
    if (frames.empty())
        return b;
    std::vector<QImage> indexed;
    for (const QImage &f : frames)
        indexed.push_back(f.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither));
    const QSize size = frames.front().size();
    b.append("GIF89a");
    put16(b, size.width());
    put16(b, size.height());
    b.push_back(char(0xF7)); // global table of 256 colours
    b.push_back(char(0));
    b.push_back(char(0));
    putColourTable(b, indexed.front());
    if (indexed.size() > 1) {
        b.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        put16(b, 0); // loop forever
        b.push_back(char(0));
    }
    for (const QImage &img : indexed) {
        b.append("\x21\xF9\x04\x00", 4);
        put16(b, delayCs);
        b.push_back(char(0));
        b.push_back(char(0));
        b.push_back(char(0x2C));
        put16(b, 0);
        put16(b, 0);
        put16(b, img.width());
        put16(b, img.height());
        b.push_back(char(0x87)); // local table of 256 colours
        putColourTable(b, img);
        b.push_back(char(8));
        const QByteArray data = lzw(img);
        for (qsizetype i = 0; i < data.size(); i += 255) {
            const qsizetype n = std::min<qsizetype>(255, data.size() - i);
            b.push_back(char(n));
            b.append(data.constData() + i, n);
        }
        b.push_back(char(0));
    }
    b.push_back(char(0x3B));
    return b;
}

} // namespace qv
