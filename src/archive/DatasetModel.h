#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

namespace zol {

class Dataset;

// A grid's view of a data set: one row per row, the chosen fields as columns (all fields when
// none are chosen), headers as given. It follows the data set as it moves, posts and reloads.
// Put a QSortFilterProxyModel with sort role Qt::EditRole on top to let the user sort by a
// column: that role keeps the values' types (numbers, dates), so they sort as such.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DatasetModel(Dataset* dataset, QObject* parent = nullptr);

    // The fields to show, in order, and their headers (the field names when headers is empty).
    void setColumns(const QStringList& fields, const QStringList& headers = {});
    QString fieldAt(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int fieldIndex(int column) const;
    QPointer<Dataset> m_dataset;
    QStringList m_fields;
    QStringList m_headers;
};

} // namespace zol
