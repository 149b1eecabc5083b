#include "pdfdocs.h"

#include "dataset.h"

#include "errors.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <numeric>

namespace qv {

namespace {

class Pager
{
public:
    Pager(QPdfWriter &writer, QPainter &p)
        : m_writer(writer)
        , m_p(p)
    {
        m_page = QRectF(QPointF(0, 0), QSizeF(p.viewport().size()));
    }

    double width() const { return m_page.width(); }
    double y() const { return m_y; }

    // Room for h more points, starting a new page when there is none.
    bool ensure(double h)
    {
        if (m_y + h <= m_page.height())
            return false;
        m_writer.newPage();
        m_y = 0;
        return true;
    }

    void text(const QString &s, const QFont &font, Qt::Alignment align = Qt::AlignLeft)
    {
        const QFontMetricsF fm(font, &m_writer);
        const double h = fm.height() * 1.25;
        ensure(h);
        m_p.setFont(font);
        m_p.drawText(QRectF(0, m_y, width(), h), int(align | Qt::AlignVCenter), s);
        m_y += h;
    }

    void gap(double h) { m_y += h; }

    void rule()
    {
        ensure(4);
        m_p.drawLine(QPointF(0, m_y + 2), QPointF(width(), m_y + 2));
        m_y += 4;
    }

    void table(const DevPdfTable &t, const QFont &base)
    {
        QFont bold = base;
        bold.setBold(true);
        if (!t.caption.isEmpty()) {
            gap(4);
            text(t.caption, bold);
        }
        const int n = int(t.headers.size());
        if (n == 0)
            return;
        std::vector<double> w(std::size_t(n), 1.0);
        const double sum = std::accumulate(t.weights.begin(), t.weights.end(), 0.0);
        for (int i = 0; i < n; ++i)
            w[std::size_t(i)]
                = width()
                  * (sum > 0 && std::size_t(i) < t.weights.size() ? t.weights[std::size_t(i)] / sum
                                                                  : 1.0 / n);
        const double h = QFontMetricsF(base, &m_writer).height() * 1.45;
        auto draw = [&](const QStringList &cells, bool header, bool strong) {
            m_p.setFont(strong ? bold : base);
            if (header)
                m_p.fillRect(QRectF(0, m_y, width(), h), QColor(225, 228, 235));
            double x = 0;
            for (int i = 0; i < n; ++i) {
                const double cw = w[std::size_t(i)];
                const bool right = std::size_t(i) < t.right.size() && t.right[std::size_t(i)];
                const QString s = i < cells.size() ? cells[i] : QString();
                const QRectF cell(x + 2, m_y, cw - 4, h);
                const QString shown = QFontMetricsF(m_p.font(), &m_writer)
                                          .elidedText(s, Qt::ElideRight, cell.width());
                m_p.drawText(
                    cell, int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter), shown);
                x += cw;
            }
            m_y += h;
            m_p.setPen(QColor(200, 200, 200));
            m_p.drawLine(QPointF(0, m_y), QPointF(width(), m_y));
            m_p.setPen(Qt::black);
        };
        auto row = [&](const QStringList &cells, bool strong) {
            if (ensure(h))
                draw(t.headers, true, true); // the header again on a new page
            draw(cells, false, strong);
        };
        ensure(2 * h);
        draw(t.headers, true, true);
        for (const QStringList &r : t.rows)
            row(r, false);
        if (!t.totals.isEmpty())
            row(t.totals, true);
    }

private:
    QPdfWriter &m_writer;
    QPainter &m_p;
    QRectF m_page;
    double m_y = 0;
};

} // namespace

QString pdfMoney(double value)
{
    return FormatFloat(QStringLiteral("#,###,##0.00"), value, QLocale(QLocale::Turkish));
}

QByteArray renderPdf(const DevPdfDocument &doc)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        throw Error(QStringLiteral("PDF belgeleri için grafik uygulama nesnesi gerekli."));

    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Quorvel B2B"));
        writer.setTitle(doc.title);
        writer.setResolution(72); // painter units are points
        if (doc.receipt) {
            writer.setPageLayout(QPageLayout(QPageSize(QSizeF(80, 160), QPageSize::Millimeter),
                                             QPageLayout::Portrait,
                                             QMarginsF(5, 6, 5, 6),
                                             QPageLayout::Millimeter));
        } else {
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                             QPageLayout::Portrait,
                                             QMarginsF(15, 15, 15, 15),
                                             QPageLayout::Millimeter));
        }
        QPainter p;
        if (!p.begin(&writer))
            throw Error(QStringLiteral("PDF belgesi oluşturulamadı."));
        QFont base(QStringLiteral("DejaVu Sans"));
        base.setPointSizeF(doc.receipt ? 7 : 8.5);
        QFont title = base;
        title.setBold(true);
        title.setPointSizeF(doc.receipt ? 10 : 14);

        Pager pager(writer, p);
        pager.text(doc.title, title, doc.receipt ? Qt::AlignHCenter : Qt::AlignLeft);
        pager.rule();
        for (const QString &l : doc.lines)
            pager.text(l, base);
        for (const DevPdfTable &t : doc.tables)
            pager.table(t, base);
        if (!doc.closing.isEmpty()) {
            pager.rule();
            for (const QString &l : doc.closing)
                pager.text(l, base, doc.receipt ? Qt::AlignHCenter : Qt::AlignLeft);
        }
        p.end();
    }
    return bytes;
}

} // namespace qv
