#include "dbgridfilter.h"

#include "dbgrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace qv {

DBGridFilterProxy::DBGridFilterProxy(DBGrid *grid)
    : QSortFilterProxyModel(grid)
    , m_grid(grid)
{}

void DBGridFilterProxy::setValues(int column, const QSet<QString> &values)
{
    if (values.isEmpty())
        m_filters.erase(column);
    else
        m_filters[column] = values;
    invalidateFilter();
}

void DBGridFilterProxy::clearAll()
{
    if (m_filters.empty())
        return;
    m_filters.clear();
    invalidateFilter();
}

bool DBGridFilterProxy::passes(int row, int skipColumn) const
{
    for (const auto &[column, values] : m_filters)
        if (column != skipColumn && !values.contains(m_grid->filterText(row, column)))
            return false;
    return true;
}

bool DBGridFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    return passes(sourceRow);
}

DBGridHeader::DBGridHeader(DBGrid *grid)
    : QHeaderView(Qt::Horizontal)
    , m_grid(grid)
{
    setSectionsClickable(true);
}

QRect DBGridHeader::buttonIn(const QRect &section, int logical) const
{
    if (logical < 0 || logical >= m_grid->columnCount() || !m_grid->column(logical).filtering())
        return {};
    const int side = std::min(14, std::max(0, section.height() - 4));
    if (section.width() < side * 2)
        return {};
    return {section.right() - side - 2, section.top() + (section.height() - side) / 2, side, side};
}

QRect DBGridHeader::filterButtonRect(int logical) const
{
    if (isSectionHidden(logical))
        return {};
    const QRect section(sectionViewportPosition(logical), 0, sectionSize(logical), height());
    return buttonIn(section, logical);
}

void DBGridHeader::paintSection(QPainter *painter, const QRect &rect, int logical) const
{
    QHeaderView::paintSection(painter, rect, logical);
    const QRect button = buttonIn(rect, logical);
    if (button.isEmpty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool on = m_grid->isFiltered(logical);
    // A filtered column shows a filled, highlighted button.
    if (on)
        painter->fillRect(button, palette().highlight());
    QPainterPath arrow;
    const QRectF r = QRectF(button).adjusted(3, 4, -3, -4);
    arrow.moveTo(r.topLeft());
    arrow.lineTo(r.topRight());
    arrow.lineTo(r.center().x(), r.bottom());
    arrow.closeSubpath();
    painter->fillPath(arrow, on ? palette().highlightedText() : palette().buttonText());
    painter->restore();
}

void DBGridHeader::mousePressEvent(QMouseEvent *event)
{
    const int logical = logicalIndexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && logical >= 0
        && filterButtonRect(logical).contains(event->position().toPoint())) {
        emit filterButtonClicked(logical);
        event->accept();
        return;
    }
    QHeaderView::mousePressEvent(event);
}

} // namespace qv
