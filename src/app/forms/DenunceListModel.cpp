#include "app/forms/DenunceListModel.h"

#include "app/forms/Pictures.h"
#include "archive/Dataset.h"
#include "filings/FilingLifecycle.h"

namespace zol {

DenunceListModel::DenunceListModel(Dataset& denunce, QObject* parent) : QAbstractTableModel(parent), m_denunce(denunce)
{
    m_rows = m_denunce.rowCount();
    // The view reports its changes after making them: the list is read again each time, which
    // costs nothing for the few filings an office makes in a year.
    connect(&m_denunce, &Dataset::rowsReset, this, &DenunceListModel::reset);
    connect(&m_denunce, &Dataset::rowInserted, this, &DenunceListModel::reset);
    connect(&m_denunce, &Dataset::rowRemoved, this, &DenunceListModel::reset);
    connect(&m_denunce, &Dataset::rowChanged, this, [this](int row) {
        if (row < 0 || row >= m_rows || m_rows != m_denunce.rowCount())
            return reset();
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    });
}

void DenunceListModel::reset()
{
    beginResetModel();
    m_rows = m_denunce.rowCount();
    endResetModel();
}

int DenunceListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DenunceListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DenunceListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_denunce.rowCount())
        return {};
    const int row = index.row();
    switch (index.column()) {
    case ColAnno:
        if (role == Qt::DisplayRole)
            return m_denunce.valueAt(row, QStringLiteral("ANNO"));
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        break;
    case ColDescrizione:
        if (role == Qt::DisplayRole)
            return m_denunce.valueAt(row, QStringLiteral("DESCRIZIONE"));
        break;
    case ColStato: {
        const QVariant stato = m_denunce.valueAt(row, QStringLiteral("STATO"));
        if (role == Qt::DisplayRole)
            return statoLabel(stato);
        if (role == Qt::DecorationRole)
            return pictures::stateIcon(stato.toString());
        break;
    }
    default:
        break;
    }
    return {};
}

} // namespace zol
