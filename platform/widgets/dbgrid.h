#pragma once

// The data grid of the program's lists: a table view over a dataset, with
// its own list of columns. A column names the dataset field it shows, so the
// columns are defined once, before any data has arrived, and may name fields
// the dataset does not have (unbound columns whose cells are drawn).
//
// Layers, from the data up: Dataset -> DatasetModel -> column map (the
// grid's columns) -> QSortFilterProxyModel -> QTableView.

#include <QList>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class QSortFilterProxyModel;
class QTableView;

namespace qv {

class Dataset;
class DatasetModel;
class DBGrid;
class GridColumnModel;

class DBGridColumn
{
public:
    const QString &fieldName() const { return m_field; }
    QString caption() const { return m_caption.isEmpty() ? m_field : m_caption; }
    void setCaption(const QString &caption);

    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    // Offered in the column customisation (the user may show or hide it).
    bool offered() const { return m_offered; }
    void setOffered(bool offered) { m_offered = offered; }

    int weight() const { return m_weight; }
    void setWeight(int weight) { m_weight = weight; }
    int width() const { return m_width; }
    void setWidth(int width);

    int index() const { return m_index; } // position in the grid

private:
    friend class DBGrid;
    DBGridColumn(DBGrid *grid, int index, const QString &field);

    DBGrid *m_grid;
    int m_index;
    QString m_field;
    QString m_caption;
    bool m_visible = true;
    bool m_offered = true;
    int m_weight = 1;
    int m_width = 64;
};

class DBGrid : public QWidget
{
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);
    ~DBGrid() override;

    // --- columns ---
    DBGridColumn &addColumn(const QString &fieldName, const QString &caption = {});
    int columnCount() const { return int(m_columns.size()); }
    DBGridColumn &column(int index) { return *m_columns.at(std::size_t(index)); }
    const DBGridColumn &column(int index) const { return *m_columns.at(std::size_t(index)); }
    DBGridColumn *columnByFieldName(QStringView fieldName) const; // nullptr when absent
    QList<DBGridColumn *> visibleColumns() const;
    QList<int> visibleColumnWidths() const;

    // --- data ---
    void setDataset(Dataset *dataset); // borrowed; nullptr detaches
    void detach() { setDataset(nullptr); }
    Dataset *dataset() const;
    bool attached() const { return dataset() != nullptr; }

    // --- view ---
    // While locked the view neither repaints nor lays itself out; nested.
    void beginUpdate();
    void endUpdate();
    bool updateLocked() const { return m_lockCount > 0; }

    void bestFit(); // every column to the width of its content and caption
    void setDataRowHeight(int height);
    int dataRowHeight() const { return m_rowHeight; }
    void setHeaderHeight(int height);

    QTableView *view() const { return m_view; }
    QSortFilterProxyModel *proxy() const { return m_proxy; }

signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class DBGridColumn;
    void columnVisibilityChanged(DBGridColumn &column);
    void columnWidthChanged(DBGridColumn &column);
    void columnCaptionChanged(DBGridColumn &column);
    void syncColumnsToView();

    std::vector<std::unique_ptr<DBGridColumn>> m_columns;
    DatasetModel *m_datasetModel;   // owned by this widget (QObject parent)
    GridColumnModel *m_columnModel; // owned by this widget
    QSortFilterProxyModel *m_proxy; // owned by this widget
    QTableView *m_view;             // child widget
    int m_lockCount = 0;
    int m_rowHeight = 24;
    bool m_syncing = false;
};

// The width rule of grids whose columns carry weights: every visible column
// gets weight x unit, unit = (grid width - 30) / sum of the visible weights,
// cut towards zero. A weight sum of 0 leaves the widths alone.
void WeightedColumnWidths(DBGrid &grid);

} // namespace qv
