#include "dbgrid.h"

#include "dataset.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace qv {

// Maps the grid's columns onto the dataset model's fields by name. A column
// whose field is missing stays empty; painting such cells is left to a
// delegate.
class GridColumnModel : public QAbstractTableModel
{
public:
    GridColumnModel(DBGrid *grid, DatasetModel *source)
        : QAbstractTableModel(grid)
        , m_grid(grid)
        , m_source(source)
    {
        connect(
            source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
        connect(source, &QAbstractItemModel::modelReset, this, [this] {
            rebuildMap();
            endResetModel();
        });
        connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] {
            beginResetModel();
        });
        connect(source, &QAbstractItemModel::layoutChanged, this, [this] {
            rebuildMap();
            endResetModel();
        });
        connect(
            source,
            &QAbstractItemModel::rowsAboutToBeInserted,
            this,
            [this](const QModelIndex &, int first, int last) { beginInsertRows({}, first, last); });
        connect(source, &QAbstractItemModel::rowsInserted, this, [this] { endInsertRows(); });
        connect(
            source,
            &QAbstractItemModel::rowsAboutToBeRemoved,
            this,
            [this](const QModelIndex &, int first, int last) { beginRemoveRows({}, first, last); });
        connect(source, &QAbstractItemModel::rowsRemoved, this, [this] { endRemoveRows(); });
        // A change of the field list is a new structure: remap everything.
        connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this, [this] {
            beginResetModel();
        });
        connect(source, &QAbstractItemModel::columnsInserted, this, [this] {
            rebuildMap();
            endResetModel();
        });
        connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this, [this] {
            beginResetModel();
        });
        connect(source, &QAbstractItemModel::columnsRemoved, this, [this] {
            rebuildMap();
            endResetModel();
        });
        connect(source,
                &QAbstractItemModel::dataChanged,
                this,
                [this](const QModelIndex &tl, const QModelIndex &br, const QList<int> &roles) {
                    if (columnCount() > 0)
                        emit dataChanged(
                            index(tl.row(), 0), index(br.row(), columnCount() - 1), roles);
                });
    }

    void columnsChanged()
    {
        beginResetModel();
        rebuildMap();
        endResetModel();
    }

    void captionChanged(int column) { emit headerDataChanged(Qt::Horizontal, column, column); }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_source->rowCount();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_grid->columnCount();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || std::size_t(index.column()) >= m_map.size())
            return {};
        const int field = m_map[std::size_t(index.column())];
        if (field < 0)
            return {};
        return m_source->data(m_source->index(index.row(), field), role);
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || section < 0 || section >= m_grid->columnCount())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return m_grid->column(section).caption();
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

private:
    void rebuildMap()
    {
        m_map.assign(std::size_t(m_grid->columnCount()), -1);
        const Dataset *ds = m_source->dataset();
        if (!ds)
            return;
        for (int i = 0; i < m_grid->columnCount(); ++i)
            m_map[std::size_t(i)] = ds->fieldIndex(m_grid->column(i).fieldName());
    }

    DBGrid *m_grid;
    DatasetModel *m_source;
    std::vector<int> m_map; // grid column -> dataset field, -1 when unbound
};

// --- DBGridColumn ---

DBGridColumn::DBGridColumn(DBGrid *grid, int index, const QString &field)
    : m_grid(grid)
    , m_index(index)
    , m_field(field)
{}

void DBGridColumn::setCaption(const QString &caption)
{
    m_caption = caption;
    m_grid->columnCaptionChanged(*this);
}

void DBGridColumn::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    m_grid->columnVisibilityChanged(*this);
}

void DBGridColumn::setWidth(int width)
{
    m_width = std::max(0, width);
    m_grid->columnWidthChanged(*this);
}

// --- DBGrid ---

DBGrid::DBGrid(QWidget *parent)
    : QWidget(parent)
    , m_datasetModel(new DatasetModel(this))
    , m_columnModel(new GridColumnModel(this, m_datasetModel))
    , m_proxy(new QSortFilterProxyModel(this))
    , m_view(new QTableView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    m_proxy->setSourceModel(m_columnModel);
    m_proxy->setSortRole(DatasetModel::RawValueRole);
    m_view->setModel(m_proxy);

    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(true);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setMinimumSectionSize(1);
    m_view->verticalHeader()->setDefaultSectionSize(m_rowHeight);
    QHeaderView *header = m_view->horizontalHeader();
    header->setMinimumSectionSize(4);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);

    // A reset of the model (every load) makes the header forget hidden
    // sections and widths; the columns keep them and put them back.
    connect(m_proxy, &QAbstractItemModel::modelReset, this, &DBGrid::syncColumnsToView);
    connect(header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (m_syncing || logical < 0 || logical >= columnCount() || size <= 0)
            return;
        DBGridColumn &c = column(logical);
        if (c.visible())
            c.m_width = size; // the user dragged it, or a best fit
    });
}

DBGrid::~DBGrid()
{
    m_datasetModel->setDataset(nullptr);
}

DBGridColumn &DBGrid::addColumn(const QString &fieldName, const QString &caption)
{
    m_columns.push_back(
        std::unique_ptr<DBGridColumn>(new DBGridColumn(this, columnCount(), fieldName)));
    DBGridColumn &c = *m_columns.back();
    c.m_caption = caption;
    m_columnModel->columnsChanged();
    return c;
}

DBGridColumn *DBGrid::columnByFieldName(QStringView fieldName) const
{
    for (const auto &c : m_columns)
        if (c->fieldName() == fieldName)
            return c.get();
    return nullptr;
}

QList<DBGridColumn *> DBGrid::visibleColumns() const
{
    QList<DBGridColumn *> out;
    for (const auto &c : m_columns)
        if (c->visible())
            out.append(c.get());
    return out;
}

QList<int> DBGrid::visibleColumnWidths() const
{
    QList<int> out;
    for (const auto &c : m_columns)
        if (c->visible())
            out.append(c->width());
    return out;
}

void DBGrid::setDataset(Dataset *dataset)
{
    m_datasetModel->setDataset(dataset);
}

Dataset *DBGrid::dataset() const
{
    return m_datasetModel->dataset();
}

void DBGrid::beginUpdate()
{
    if (m_lockCount++ == 0)
        m_view->setUpdatesEnabled(false);
}

void DBGrid::endUpdate()
{
    if (m_lockCount == 0)
        return;
    if (--m_lockCount == 0) {
        m_view->setUpdatesEnabled(true);
        m_view->viewport()->update();
    }
}

void DBGrid::bestFit()
{
    beginUpdate();
    m_view->resizeColumnsToContents();
    endUpdate();
}

void DBGrid::setDataRowHeight(int height)
{
    m_rowHeight = height;
    m_view->verticalHeader()->setDefaultSectionSize(height);
}

void DBGrid::setHeaderHeight(int height)
{
    m_view->horizontalHeader()->setFixedHeight(height);
}

void DBGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized();
}

void DBGrid::columnVisibilityChanged(DBGridColumn &c)
{
    m_syncing = true;
    m_view->setColumnHidden(c.index(), !c.visible());
    if (c.visible())
        m_view->setColumnWidth(c.index(), c.width());
    m_syncing = false;
}

void DBGrid::columnWidthChanged(DBGridColumn &c)
{
    if (!c.visible())
        return; // applied when it is shown
    m_syncing = true;
    m_view->setColumnWidth(c.index(), c.width());
    m_syncing = false;
}

void DBGrid::columnCaptionChanged(DBGridColumn &c)
{
    m_columnModel->captionChanged(c.index());
}

void DBGrid::syncColumnsToView()
{
    m_syncing = true;
    for (const auto &c : m_columns) {
        m_view->setColumnHidden(c->index(), !c->visible());
        if (c->visible())
            m_view->setColumnWidth(c->index(), c->width());
    }
    m_syncing = false;
}

void WeightedColumnWidths(DBGrid &grid)
{
    grid.beginUpdate();
    const QList<DBGridColumn *> visible = grid.visibleColumns();
    int sum = 0;
    for (const DBGridColumn *c : visible)
        sum += c->weight();
    if (sum != 0) {
        const int unit = (grid.width() - 30) / sum; // C++ division cuts towards zero
        for (DBGridColumn *c : visible)
            c->setWidth(c->weight() * unit);
    }
    grid.endUpdate();
}

} // namespace qv
