#pragma once

#include <QAbstractTableModel>

namespace zol {

class Dataset;

// The main window's list of filings over the data module's view of DENUNCE: the year, the
// description and the state as an icon with its label. It follows the view's rows as they
// change.
class DenunceListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ColAnno, ColDescrizione, ColStato, ColumnCount };

    explicit DenunceListModel(Dataset& denunce, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void reset();

    Dataset& m_denunce;
    int m_rows = 0;
};

} // namespace zol
