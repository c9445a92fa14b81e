#include "DatasetModel.h"

#include "Dataset.h"

namespace katarix::jet {

DatasetModel::DatasetModel(Dataset *dataset, QObject *parent)
    : QAbstractTableModel(parent)
{
    setDataset(dataset);
}

void DatasetModel::setDataset(Dataset *dataset)
{
    if (m_dataset == dataset)
        return;
    if (m_dataset)
        disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (m_dataset) {
        connect(m_dataset, &Dataset::dataChanged, this, &DatasetModel::datasetChanged);
        connect(m_dataset, &Dataset::afterScroll, this, &DatasetModel::followDataset);
        connect(m_dataset, &Dataset::controlsEnabled, this, &DatasetModel::controlsEnabled);
        connect(m_dataset, &QObject::destroyed, this, &DatasetModel::reset);
    }
    reset();
}

void DatasetModel::setColumns(const QStringList &fieldNames)
{
    beginResetModel();
    m_columnNames = fieldNames;
    rebuildColumns();
    endResetModel();
}

void DatasetModel::rebuildColumns()
{
    m_columnFields.clear();
    if (m_columnNames.isEmpty()) {
        const int fields = m_dataset ? m_dataset->fieldCount() : 0;
        for (int i = 0; i < fields; ++i)
            m_columnFields.push_back(i);
    } else {
        for (const QString &name : m_columnNames)
            m_columnFields.push_back(m_dataset ? m_dataset->fieldIndex(name) : -1);
    }
}

int DatasetModel::fieldOfColumn(int column) const
{
    return column >= 0 && column < int(m_columnFields.size()) ? m_columnFields[size_t(column)] : -1;
}

int DatasetModel::columnOfField(const QString &fieldName) const
{
    const QString key = fieldName.toCaseFolded();
    for (int column = 0; column < int(m_columnFields.size()); ++column) {
        if (columnName(column).toCaseFolded() == key)
            return column;
    }
    return -1;
}

QString DatasetModel::columnName(int column) const
{
    if (!m_columnNames.isEmpty())
        return m_columnNames.value(column);
    const int field = fieldOfColumn(column);
    return m_dataset && field >= 0 ? m_dataset->fieldName(field) : QString();
}

void DatasetModel::setCaption(const QString &fieldName, const QString &caption)
{
    m_captions.insert(fieldName.toCaseFolded(), caption);
    const int column = columnOfField(fieldName);
    if (column >= 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void DatasetModel::setAlignment(const QString &fieldName, Qt::Alignment alignment)
{
    m_alignments.insert(fieldName.toCaseFolded(), alignment);
    const int column = columnOfField(fieldName);
    if (column >= 0 && m_rowCount > 0)
        Q_EMIT QAbstractItemModel::dataChanged(index(0, column), index(m_rowCount - 1, column),
                                               {Qt::TextAlignmentRole});
}

void DatasetModel::setColumnCaption(int column, const QString &caption)
{
    const QString name = columnName(column);
    if (!name.isEmpty())
        setCaption(name, caption);
}

void DatasetModel::setColumnAlignment(int column, Qt::Alignment alignment)
{
    const QString name = columnName(column);
    if (!name.isEmpty())
        setAlignment(name, alignment);
}

int DatasetModel::currentRow() const
{
    return m_dataset ? m_dataset->currentRow() : -1;
}

void DatasetModel::setCurrentRow(int row)
{
    if (m_dataset && row >= 0 && row < m_dataset->recordCount())
        m_dataset->setRecNo(row + 1);
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columnFields.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!m_dataset || !index.isValid())
        return {};
    const int field = fieldOfColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return field < 0 ? QString() : Dataset::valueToText(m_dataset->valueAt(index.row(), field));
    case Qt::EditRole:
        return field < 0 ? QVariant() : m_dataset->valueAt(index.row(), field);
    case Qt::TextAlignmentRole: {
        const auto it = m_alignments.constFind(columnName(index.column()).toCaseFolded());
        if (it != m_alignments.constEnd())
            return QVariant::fromValue(*it);
        if (field >= 0) {
            switch (m_dataset->fieldType(field)) {
            case FieldType::Integer:
            case FieldType::SmallInt:
            case FieldType::Float:
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            default:
                break;
            }
        }
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString name = columnName(section);
    return m_captions.value(name.toCaseFolded(), name);
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// While the dataset's controls are disabled the views keep showing the rows as they were;
// a walk that refills or sorts the dataset then costs one reset, when the controls return.
void DatasetModel::datasetChanged()
{
    if (m_dataset && m_dataset->controlsDisabled())
        m_resetPending = true;
    else
        reset();
}

void DatasetModel::controlsEnabled()
{
    if (m_resetPending)
        reset();
    else
        followDataset();
}

void DatasetModel::reset()
{
    m_resetPending = false;
    beginResetModel();
    m_rowCount = m_dataset ? m_dataset->recordCount() : 0;
    rebuildColumns();
    endResetModel();
    // A reset loses the views' current index: tell them the row again.
    m_reportedRow = -2;
    followDataset();
}

void DatasetModel::followDataset()
{
    const int row = currentRow();
    if (row == m_reportedRow)
        return;
    m_reportedRow = row;
    Q_EMIT currentRowChanged(row);
}

} // namespace katarix::jet
