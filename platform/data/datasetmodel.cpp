#include "dataset.h"

namespace qv {

DatasetModel::DatasetModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

DatasetModel::~DatasetModel()
{
    if (m_dataset)
        m_dataset->removeObserver(this);
}

void DatasetModel::setDataset(Dataset *dataset)
{
    if (dataset == m_dataset)
        return;
    beginResetModel();
    if (m_dataset)
        m_dataset->removeObserver(this);
    m_dataset = dataset;
    if (m_dataset)
        m_dataset->addObserver(this);
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_dataset)
        return 0;
    return int(std::min<std::size_t>(m_dataset->recordCount(), std::size_t(INT_MAX)));
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_dataset)
        return 0;
    return m_dataset->fieldCount();
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!m_dataset || !index.isValid())
        return {};
    const auto row = std::size_t(index.row());
    const int col = index.column();
    // A view may still ask about rows a reset has not reached yet.
    if (row >= m_dataset->recordCount() || col >= m_dataset->fieldCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_dataset->displayText(row, col, QLocale());
    case Qt::EditRole:
    case RawValueRole:
        return m_dataset->value(row, col);
    case Qt::TextAlignmentRole:
        switch (m_dataset->data().fieldDef(col).type) {
        case FieldType::Integer:
        case FieldType::LargeInt:
        case FieldType::Float:
        case FieldType::Currency:
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal && role == Qt::DisplayRole) {
        if (!m_dataset || section < 0 || section >= m_dataset->fieldCount())
            return {};
        return m_dataset->data().fieldDef(section).name;
    }
    return QAbstractTableModel::headerData(section, o, role);
}

void DatasetModel::datasetReset()
{
    beginResetModel();
    endResetModel();
}

void DatasetModel::datasetRowChanged(std::size_t row)
{
    if (!m_dataset || row >= m_dataset->recordCount() || m_dataset->fieldCount() == 0)
        return;
    emit dataChanged(index(int(row), 0), index(int(row), m_dataset->fieldCount() - 1));
}

void DatasetModel::datasetCurrentChanged(std::size_t)
{
    // The view keeps its own selection; the current record does not show.
}

void DatasetModel::datasetDestroyed()
{
    beginResetModel();
    m_dataset = nullptr;
    endResetModel();
}

} // namespace qv
