#pragma once

// Paints the data grid's cells by their column's kind: pictures, check
// boxes, memo and word-wrapped text, or the column's own painter.

#include <QStyledItemDelegate>

namespace qv {

class DBGrid;

class DBGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit DBGridDelegate(DBGrid *grid);

    void paint(QPainter *painter,
               const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    DBGrid *m_grid;
};

// The checked state of a check-box cell: 0/1, true/false and their texts.
bool CheckBoxValue(const QVariant &value);

} // namespace qv
