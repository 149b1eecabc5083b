#include "dbgriddelegate.h"

#include "dbgrid.h"

#include <QApplication>
#include <QPainter>
#include <QSortFilterProxyModel>

namespace qv {

DBGridDelegate::DBGridDelegate(DBGrid *grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{}

bool CheckBoxValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString) {
        const QString s = value.toString().trimmed().toLower();
        return s == u"1" || s == u"true";
    }
    return value.toBool();
}

void DBGridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() < 0 || index.column() >= m_grid->columnCount())
        return;
    const DBGridColumn &c = m_grid->column(index.column());
    const Qt::Alignment h = c.alignment() & Qt::AlignHorizontal_Mask;
    if (h)
        option->displayAlignment = h | Qt::AlignVCenter;
    else
        option->displayAlignment
            = (option->displayAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    if (c.wordWrap() || c.cellKind() == CellKind::Memo)
        option->features |= QStyleOptionViewItem::WrapText;
    else
        option->features &= ~QStyleOptionViewItem::WrapText;
    if (c.cellKind() == CellKind::Memo)
        option->displayAlignment
            = (option->displayAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
}

void DBGridDelegate::paint(QPainter *painter,
                           const QStyleOptionViewItem &option,
                           const QModelIndex &index) const
{
    if (index.column() < 0 || index.column() >= m_grid->columnCount()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const DBGridColumn &c = m_grid->column(index.column());
    const int row = m_grid->proxy()->mapToSource(index).row();
    if (c.customDraw()) {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        painter->save();
        const bool drawn = c.customDraw()(*painter, opt, row);
        painter->restore();
        if (drawn)
            return;
    }
    if (c.cellKind() != CellKind::Picture && c.cellKind() != CellKind::CheckBox) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // Background and selection as for text, but without the text.
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    const QVariant v = m_grid->rawValue(row, index.column());
    if (c.cellKind() == CellKind::Picture) {
        if (!v.isValid() || v.isNull())
            return;
        const QPixmap pm = c.picture(v.toInt());
        if (pm.isNull())
            return;
        const QSize size = pm.deviceIndependentSize().toSize();
        const QRect target(QPoint(0, 0), size.boundedTo(opt.rect.size()));
        painter->drawPixmap(QRect(opt.rect.center() - target.center(), target.size()), pm);
        return;
    }
    QStyleOptionViewItem check = opt;
    check.features |= QStyleOptionViewItem::HasCheckIndicator;
    check.checkState = CheckBoxValue(v) ? Qt::Checked : Qt::Unchecked;
    const int side = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget);
    check.rect = QRect(opt.rect.center() - QPoint(side / 2, side / 2), QSize(side, side));
    check.state = (check.state & ~QStyle::State_HasFocus) | QStyle::State_ReadOnly;
    check.state |= check.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
}

} // namespace qv
