#include "archive/DatasetModel.h"

#include "archive/Dataset.h"

#include <QDate>

namespace zol {

DatasetModel::DatasetModel(Dataset* dataset, QObject* parent) : QAbstractTableModel(parent), m_dataset(dataset)
{
    connect(dataset, &Dataset::rowsReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    // Rows come and go one at a time; the model is told after the fact, so it resets.
    connect(dataset, &Dataset::rowInserted, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(dataset, &Dataset::rowRemoved, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

void DatasetModel::setColumns(const QStringList& fields, const QStringList& headers)
{
    beginResetModel();
    m_fields = fields;
    m_headers = headers;
    endResetModel();
}

QString DatasetModel::fieldAt(int column) const
{
    if (!m_fields.isEmpty())
        return m_fields.value(column);
    return m_dataset ? m_dataset->fieldNames().value(column) : QString();
}

int DatasetModel::fieldIndex(int column) const
{
    return m_dataset ? m_dataset->fieldIndex(fieldAt(column)) : -1;
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_dataset ? 0 : m_dataset->rowCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_dataset)
        return 0;
    return m_fields.isEmpty() ? int(m_dataset->fields().size()) : int(m_fields.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_dataset)
        return {};
    const QVariant v = m_dataset->valueAt(index.row(), fieldIndex(index.column()));
    switch (role) {
    case Qt::DisplayRole:
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        return v;
    case Qt::EditRole:
    case Qt::UserRole:
        return v;
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < m_headers.size())
        return m_headers.at(section);
    return fieldAt(section);
}

} // namespace zol
