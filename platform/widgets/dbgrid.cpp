#include "dbgrid.h"

#include "dataset.h"
#include "dbgriddelegate.h"
#include "dbgridfilter.h"
#include "dbgridfooter.h"

#include <QCollator>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QResizeEvent>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

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
        if (role == Qt::DisplayRole && m_grid->column(index.column()).cellKind() != CellKind::Text
            && m_grid->column(index.column()).cellKind() != CellKind::Memo)
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
        case Qt::ToolTipRole:
            return m_grid->isFiltered(section) ? QVariant(m_grid->columnFilter(section).join(u", "))
                                               : QVariant();
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

void DBGridColumn::setSummary(SummaryKind kind, const QString &format)
{
    m_summary = kind;
    m_summaryFormat = format;
    m_grid->summariesChanged();
}

QString DBGridColumn::summaryFormat() const
{
    if (!m_summaryFormat.isEmpty())
        return m_summaryFormat;
    return m_summary == SummaryKind::Count ? QStringLiteral("0") : QStringLiteral("#,###,##0.00");
}

void DBGridColumn::setCellKind(CellKind kind)
{
    m_kind = kind;
    if (kind == CellKind::Memo)
        m_wordWrap = true;
}

void DBGridColumn::addPicture(int value, const QPixmap &pixmap, const QString &name)
{
    m_kind = CellKind::Picture;
    m_pictures[value] = {pixmap, name};
}

QPixmap DBGridColumn::picture(int value) const
{
    const auto it = m_pictures.find(value);
    return it == m_pictures.end() ? QPixmap() : it->second.first;
}

QString DBGridColumn::pictureName(int value) const
{
    const auto it = m_pictures.find(value);
    return it == m_pictures.end() ? QString() : it->second.second;
}

// --- DBGrid ---

DBGrid::DBGrid(QWidget *parent)
    : QWidget(parent)
    , m_datasetModel(new DatasetModel(this))
    , m_columnModel(new GridColumnModel(this, m_datasetModel))
    , m_proxy(new DBGridFilterProxy(this))
    , m_view(new QTableView(this))
    , m_header(new DBGridHeader(this))
    , m_footer(nullptr)
    , m_searchTimer(new QTimer(this))
{
    m_view->setHorizontalHeader(m_header);
    m_footer = new DBGridFooter(this, m_view);
    m_footer->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view);
    layout->addWidget(m_footer);
    m_view->setItemDelegate(new DBGridDelegate(this));

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
    header->setSectionsMovable(true);

    // Summaries follow every change of the visible rows, filters included.
    const auto invalidate = [this] {
        m_footer->invalidate();
    };
    connect(m_proxy, &QAbstractItemModel::modelReset, this, invalidate);
    connect(m_proxy, &QAbstractItemModel::layoutChanged, this, invalidate);
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, invalidate);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, invalidate);
    connect(m_proxy, &QAbstractItemModel::dataChanged, this, invalidate);
    connect(m_header, &DBGridHeader::filterButtonClicked, this, [this](int logical) {
        openFilterPopup(logical);
    });

    m_searchTimer->setSingleShot(true);
    m_searchTimer->setInterval(1500);
    connect(m_searchTimer, &QTimer::timeout, this, [this] { m_search.clear(); });
    m_view->installEventFilter(this);

    connect(m_view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit doubleClicked(m_proxy->mapToSource(index).row());
    });
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!m_menu)
            return;
        const QModelIndex at = m_view->indexAt(pos);
        if (at.isValid())
            m_view->setCurrentIndex(at);
        m_menu->popup(m_view->viewport()->mapToGlobal(pos));
    });

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
    // The children ask the columns while they go; the columns die first otherwise.
    delete m_footer;
    delete m_view;
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

void DBGrid::setRowColors(const QColor &even, const QColor &odd)
{
    QPalette p = m_view->palette();
    p.setColor(QPalette::Base, even);
    p.setColor(QPalette::AlternateBase, odd);
    m_view->setPalette(p);
    m_view->setAlternatingRowColors(true);
}

QSortFilterProxyModel *DBGrid::proxy() const
{
    return m_proxy;
}

QVariant DBGrid::rawValue(int row, int column) const
{
    return m_columnModel->data(m_columnModel->index(row, column), DatasetModel::RawValueRole);
}

QString DBGrid::displayText(int row, int column) const
{
    const Dataset *ds = dataset();
    if (!ds || row < 0 || std::size_t(row) >= ds->recordCount() || column < 0
        || column >= columnCount())
        return {};
    const int field = ds->fieldIndex(this->column(column).fieldName());
    return field < 0 ? QString() : ds->displayText(std::size_t(row), field, QLocale());
}

QString DBGrid::filterText(int row, int column) const
{
    if (column >= 0 && column < columnCount()
        && this->column(column).cellKind() == CellKind::Picture) {
        const QVariant v = rawValue(row, column);
        return v.isValid() && !v.isNull() ? this->column(column).pictureName(v.toInt()) : QString();
    }
    return displayText(row, column);
}

bool DBGrid::footerVisible() const
{
    return !m_footer->isHidden();
}

void DBGrid::setFooterVisible(bool visible)
{
    m_footer->setVisible(visible);
}

QString DBGrid::footerText(int column) const
{
    return m_footer->text(column);
}

QWidget *DBGrid::footer() const
{
    return m_footer;
}

void DBGrid::summariesChanged()
{
    m_footer->invalidate();
}

QStringList DBGrid::distinctValues(int column) const
{
    QSet<QString> seen;
    const int rows = m_columnModel->rowCount();
    for (int r = 0; r < rows; ++r)
        if (m_proxy->passes(r, column))
            seen.insert(filterText(r, column));
    QStringList out(seen.begin(), seen.end());
    const QCollator collator{QLocale()}; // the user's alphabet: Ö after O
    std::sort(out.begin(), out.end(), collator);
    return out;
}

void DBGrid::setColumnFilter(int column, const QStringList &values)
{
    m_proxy->setValues(column, QSet<QString>(values.begin(), values.end()));
    m_header->viewport()->update();
    emit filterChanged();
}

QStringList DBGrid::columnFilter(int column) const
{
    const auto it = m_proxy->filters().find(column);
    if (it == m_proxy->filters().end())
        return {};
    QStringList out(it->second.begin(), it->second.end());
    out.sort();
    return out;
}

bool DBGrid::isFiltered(int column) const
{
    return m_proxy->filters().count(column) > 0;
}

bool DBGrid::filtered() const
{
    return !m_proxy->filters().empty();
}

void DBGrid::clearFilter()
{
    m_proxy->clearAll();
    m_header->viewport()->update();
    emit filterChanged();
}

namespace {

// A pop-up check list under a point of the grid; deletes itself when closed.
QListWidget *popupList(QWidget *owner, const QString &name, const QString &listName, QPoint at)
{
    auto *frame = new QFrame(owner, Qt::Popup);
    frame->setObjectName(name);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(1, 1, 1, 1);
    auto *list = new QListWidget(frame);
    list->setObjectName(listName);
    layout->addWidget(list);
    frame->move(owner->mapToGlobal(at));
    return list;
}

void showPopup(QListWidget *list)
{
    QWidget *frame = list->parentWidget();
    const int rows = std::min(list->count(), 15);
    frame->resize(std::max(160, list->sizeHintForColumn(0) + 40),
                  rows * std::max(1, list->sizeHintForRow(0)) + 8);
    frame->show();
}

} // namespace

QWidget *DBGrid::openFilterPopup(int column)
{
    if (column < 0 || column >= columnCount() || !this->column(column).filtering())
        return nullptr;
    const QRect button = m_header->filterButtonRect(column);
    const QPoint at
        = m_header->mapTo(this, QPoint(button.isEmpty() ? 0 : button.left(), m_header->height()));
    QListWidget *list
        = popupList(this, QStringLiteral("filterPopup"), QStringLiteral("filterList"), at);
    const QStringList current = columnFilter(column);
    const QSet<QString> chosen(current.begin(), current.end());
    auto *all = new QListWidgetItem(QStringLiteral("(Tümü)"), list);
    all->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    bool every = true;
    for (const QString &v : distinctValues(column)) {
        auto *item = new QListWidgetItem(v, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        const bool on = chosen.isEmpty() || chosen.contains(v);
        every = every && on;
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    all->setCheckState(every ? Qt::Checked : Qt::Unchecked);

    connect(list, &QListWidget::itemChanged, this, [this, list, column](QListWidgetItem *changed) {
        const QSignalBlocker block(list);
        QListWidgetItem *allItem = list->item(0);
        if (changed == allItem) {
            for (int i = 1; i < list->count(); ++i)
                list->item(i)->setCheckState(allItem->checkState());
        }
        QStringList values;
        for (int i = 1; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                values.append(list->item(i)->text());
        const bool everything = values.size() == list->count() - 1;
        allItem->setCheckState(everything ? Qt::Checked : Qt::Unchecked);
        // Everything or nothing checked: no filter, as with a fresh list.
        setColumnFilter(column, everything ? QStringList() : values);
    });
    showPopup(list);
    return list->parentWidget();
}

QWidget *DBGrid::openColumnChooser()
{
    QListWidget *list = popupList(this,
                                  QStringLiteral("columnChooser"),
                                  QStringLiteral("columnChooserList"),
                                  m_header->mapTo(this, QPoint(0, m_header->height())));
    for (const auto &c : m_columns) {
        if (!c->offered())
            continue;
        auto *item = new QListWidgetItem(c->caption(), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(c->visible() ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, c->index());
    }
    connect(list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        column(item->data(Qt::UserRole).toInt()).setVisible(item->checkState() == Qt::Checked);
    });
    showPopup(list);
    return list->parentWidget();
}

int DBGrid::focusedRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_proxy->mapToSource(current).row() : -1;
}

void DBGrid::setFocusedRow(int row)
{
    const int col = std::max(0, focusedColumn());
    const QModelIndex at = m_proxy->mapFromSource(m_columnModel->index(row, col));
    m_view->setCurrentIndex(at);
    if (at.isValid())
        m_view->scrollTo(at);
}

int DBGrid::focusedColumn() const
{
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid())
        return current.column();
    const QHeaderView *header = m_view->horizontalHeader();
    for (int v = 0; v < header->count(); ++v) {
        const int logical = header->logicalIndex(v);
        if (!header->isSectionHidden(logical))
            return logical;
    }
    return -1;
}

namespace {

// Upper case that also folds the Turkish dotted capital I onto I, so that a
// typed "i" finds both.
QString searchFold(const QString &s)
{
    return s.toUpper().replace(QChar(0x0130), QLatin1Char('I'));
}

} // namespace

bool DBGrid::incrementalSearch(const QString &typed)
{
    const int col = focusedColumn();
    const int rows = m_proxy->rowCount();
    if (col < 0 || rows == 0)
        return false;
    const QString needle = searchFold(typed);
    const int start = std::max(0, m_view->currentIndex().row());
    for (int i = 0; i < rows; ++i) {
        const int r = (start + i) % rows;
        const int source = m_proxy->mapToSource(m_proxy->index(r, col)).row();
        if (searchFold(filterText(source, col)).startsWith(needle)) {
            const QModelIndex at = m_proxy->index(r, col);
            m_view->setCurrentIndex(at);
            m_view->scrollTo(at);
            return true;
        }
    }
    return false;
}

bool DBGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && !m_search.isEmpty()) {
            m_search.clear();
            m_searchTimer->stop();
            return true;
        }
        const QString text = key->text();
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !text.isEmpty()
            && text.at(0).isPrint() && !(m_search.isEmpty() && text == u" ")) {
            // A character that matches nothing is dropped, the rest kept.
            if (incrementalSearch(m_search + text))
                m_search += text;
            m_searchTimer->start();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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
