#include "dbgridfooter.h"

#include "dataset.h"
#include "dbgrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>

namespace qv {

DBGridFooter::DBGridFooter(DBGrid *grid, QTableView *view)
    : QWidget(grid)
    , m_grid(grid)
    , m_view(view)
{
    setObjectName(QStringLiteral("footer"));
    QHeaderView *header = view->horizontalHeader();
    const auto repaint = [this] {
        update();
    };
    connect(header, &QHeaderView::sectionResized, this, repaint);
    connect(header, &QHeaderView::sectionMoved, this, repaint);
    connect(header, &QHeaderView::geometriesChanged, this, repaint);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
}

void DBGridFooter::invalidate()
{
    m_dirty = true;
    update();
}

QString DBGridFooter::text(int column) const
{
    if (m_dirty)
        compute();
    return column >= 0 && std::size_t(column) < m_texts.size() ? m_texts[std::size_t(column)]
                                                               : QString();
}

void DBGridFooter::compute() const
{
    m_dirty = false;
    m_texts.assign(std::size_t(m_grid->columnCount()), QString());
    const QSortFilterProxyModel *proxy = m_grid->proxy();
    const int rows = proxy->rowCount();
    std::vector<int> sourceRows;
    for (int c = 0; c < m_grid->columnCount(); ++c) {
        const DBGridColumn &col = m_grid->column(c);
        if (col.summaryKind() == SummaryKind::None)
            continue;
        if (sourceRows.empty() && rows > 0) {
            sourceRows.reserve(std::size_t(rows));
            for (int r = 0; r < rows; ++r)
                sourceRows.push_back(proxy->mapToSource(proxy->index(r, 0)).row());
        }
        double sum = 0;
        int counted = 0;
        if (col.summaryKind() != SummaryKind::Count) {
            for (int row : sourceRows) {
                const QVariant v = m_grid->rawValue(row, c);
                if (!v.isValid() || v.isNull())
                    continue; // an empty value is no zero
                sum += v.toDouble();
                ++counted;
            }
        }
        double value = 0;
        switch (col.summaryKind()) {
        case SummaryKind::Count:
            value = rows;
            break;
        case SummaryKind::Sum:
            value = sum;
            break;
        case SummaryKind::Average:
            if (counted == 0)
                continue; // no average of nothing
            value = sum / counted;
            break;
        case SummaryKind::None:
            break;
        }
        m_texts[std::size_t(c)] = FormatFloat(col.summaryFormat(), value, QLocale());
    }
}

QRect DBGridFooter::cellRect(int column) const
{
    const QHeaderView *header = m_view->horizontalHeader();
    if (column < 0 || column >= header->count() || header->isSectionHidden(column))
        return {};
    // The header's origin in our coordinates: the view's frame and row indicator.
    const int origin = header->mapTo(m_grid, QPoint(0, 0)).x() - x();
    return {
        origin + header->sectionViewportPosition(column), 0, header->sectionSize(column), height()};
}

QSize DBGridFooter::sizeHint() const
{
    return {0, fontMetrics().height() + 8};
}

void DBGridFooter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QHeaderView *header = m_view->horizontalHeader();
    const int origin = header->mapTo(m_grid, QPoint(0, 0)).x() - x();
    p.setClipRect(QRect(origin, 0, header->width(), height()));
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, 0, width(), 0);
    for (int c = 0; c < m_grid->columnCount(); ++c) {
        const QRect r = cellRect(c);
        if (r.isEmpty() || r.right() < origin || r.left() > origin + header->width())
            continue;
        const QString t = text(c);
        if (t.isEmpty())
            continue;
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(r.adjusted(3, 1, -3, -1), Qt::AlignRight | Qt::AlignVCenter, t);
    }
}

} // namespace qv
