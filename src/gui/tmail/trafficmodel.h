#pragma once
#include <QAbstractTableModel>

#include "tmail/traffic.h"

// The traffic grid: one row per node in the order shown, then the total row. It reads the
// table it is given and never changes it.
class TTrafficModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows table (or nothing); call again after the table was reloaded or sorted.
    void SetTable(const tarvex::TTrafficTable* table);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const tarvex::TTrafficTable* Table = nullptr;
};
