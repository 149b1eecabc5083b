#pragma once

// The footer row of the data grid: one summary cell under each column,
// placed by the view's header so it follows resizing, moving, hiding and
// horizontal scrolling.

#include <QWidget>

#include <vector>

class QTableView;

namespace qv {

class DBGrid;

class DBGridFooter : public QWidget
{
    Q_OBJECT
public:
    DBGridFooter(DBGrid *grid, QTableView *view);

    void invalidate(); // the rows changed: recompute when next asked
    QString text(int column) const;
    QRect cellRect(int column) const; // in footer coordinates; empty when hidden

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void compute() const;

    DBGrid *m_grid;
    QTableView *m_view;
    mutable std::vector<QString> m_texts;
    mutable bool m_dirty = true;
};

} // namespace qv
