#pragma once

// The header filter of the data grid: a proxy that keeps the rows whose
// filter texts are among the values checked per column, and a header that
// draws a filter button on each section.

#include <QHeaderView>
#include <QSet>
#include <QSortFilterProxyModel>

#include <map>

namespace qv {

class DBGrid;

class DBGridFilterProxy : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit DBGridFilterProxy(DBGrid *grid);

    void setValues(int column, const QSet<QString> &values); // empty: no filter
    const std::map<int, QSet<QString>> &filters() const { return m_filters; }
    void clearAll();
    // Whether a dataset row passes every filter but the one of skipColumn.
    bool passes(int row, int skipColumn = -1) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    DBGrid *m_grid;
    std::map<int, QSet<QString>> m_filters;
};

class DBGridHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit DBGridHeader(DBGrid *grid);

    QRect filterButtonRect(int logical) const; // in header coordinates; empty when none

signals:
    void filterButtonClicked(int logical);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logical) const override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect buttonIn(const QRect &section, int logical) const;

    DBGrid *m_grid;
};

} // namespace qv
