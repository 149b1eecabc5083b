#pragma once

// The data grid of the program's lists: a table view over a dataset, with
// its own list of columns. A column names the dataset field it shows, so the
// columns are defined once, before any data has arrived, and may name fields
// the dataset does not have (unbound columns whose cells are drawn).
//
// Layers, from the data up: Dataset -> DatasetModel -> column map (the
// grid's columns) -> QSortFilterProxyModel -> QTableView.

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

class QMenu;
class QPainter;
class QSortFilterProxyModel;
class QStyleOptionViewItem;
class QTableView;
class QTimer;

namespace qv {

class Dataset;
class DatasetModel;
class DBGrid;
class DBGridFilterProxy;
class DBGridFooter;
class DBGridHeader;
class GridColumnModel;

enum class SummaryKind { None, Count, Sum, Average };
enum class CellKind { Text, Picture, CheckBox, Memo };

// Paints one cell; returns true when it drew the cell (the grid then draws
// nothing else in it). The row is the dataset row.
using CellPainter = std::function<bool(QPainter &, const QStyleOptionViewItem &, int row)>;

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

    // --- footer ---
    void setSummary(SummaryKind kind, const QString &format = {});
    SummaryKind summaryKind() const { return m_summary; }
    QString summaryFormat() const;

    // --- cells ---
    CellKind cellKind() const { return m_kind; }
    void setCellKind(CellKind kind);
    // A picture cell shows the picture of its integer value; the name is what
    // the header filter lists for that value.
    void addPicture(int value, const QPixmap &pixmap, const QString &name = {});
    QPixmap picture(int value) const;
    QString pictureName(int value) const;
    void setCustomDraw(CellPainter painter) { m_painter = std::move(painter); }
    const CellPainter &customDraw() const { return m_painter; }
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on) { m_wordWrap = on; }
    // Horizontal alignment; text is always centred vertically. Unset: by type.
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment a) { m_alignment = a; }

    // --- filtering ---
    bool filtering() const { return m_filtering; }
    void setFiltering(bool on) { m_filtering = on; }

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
    SummaryKind m_summary = SummaryKind::None;
    QString m_summaryFormat;
    CellKind m_kind = CellKind::Text;
    std::map<int, std::pair<QPixmap, QString>> m_pictures;
    CellPainter m_painter;
    bool m_wordWrap = true;
    Qt::Alignment m_alignment;
    bool m_filtering = true;
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
    void setRowColors(const QColor &even, const QColor &odd);

    QTableView *view() const { return m_view; }
    QSortFilterProxyModel *proxy() const;

    // --- cell values (dataset row, grid column) ---
    QVariant rawValue(int row, int column) const;
    QString displayText(int row, int column) const;
    // The text a filter and the incremental search see: a picture's name.
    QString filterText(int row, int column) const;

    // --- footer ---
    bool footerVisible() const;
    void setFooterVisible(bool visible);
    QString footerText(int column) const; // of the visible rows
    QWidget *footer() const;

    // --- header filter ---
    // Distinct values of the rows the other columns' filters let through.
    QStringList distinctValues(int column) const;
    void setColumnFilter(int column, const QStringList &values); // empty: no filter
    QStringList columnFilter(int column) const;
    bool isFiltered(int column) const;
    bool filtered() const;
    void clearFilter();
    QWidget *openFilterPopup(int column); // a check list of the column's values

    // --- focus, menu, customisation ---
    int focusedRow() const; // dataset row, -1 when none
    void setFocusedRow(int row);
    int focusedColumn() const;
    QString incrementalSearchText() const { return m_search; }
    void setContextMenu(QMenu *menu) { m_menu = menu; } // borrowed
    QMenu *contextMenu() const { return m_menu; }
    QWidget *openColumnChooser(); // the offered columns, checked when shown

signals:
    void resized();
    void doubleClicked(int row);
    void filterChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class DBGridColumn;
    void columnVisibilityChanged(DBGridColumn &column);
    void columnWidthChanged(DBGridColumn &column);
    void columnCaptionChanged(DBGridColumn &column);
    void syncColumnsToView();
    bool incrementalSearch(const QString &typed);
    void summariesChanged();

    std::vector<std::unique_ptr<DBGridColumn>> m_columns;
    DatasetModel *m_datasetModel;   // owned by this widget (QObject parent)
    GridColumnModel *m_columnModel; // owned by this widget
    DBGridFilterProxy *m_proxy;     // owned by this widget
    QTableView *m_view;             // child widget
    DBGridHeader *m_header;         // owned by the view
    DBGridFooter *m_footer;         // child widget
    QTimer *m_searchTimer;          // owned by this widget
    QMenu *m_menu = nullptr;
    QString m_search;
    int m_lockCount = 0;
    int m_rowHeight = 24;
    bool m_syncing = false;
};

// The width rule of grids whose columns carry weights: every visible column
// gets weight x unit, unit = (grid width - 30) / sum of the visible weights,
// cut towards zero. A weight sum of 0 leaves the widths alone.
void WeightedColumnWidths(DBGrid &grid);

} // namespace qv
