#pragma once
#include <QAbstractTableModel>

#include "tmail/history.h"

// The history grid: one row per session, in file order.
class THistoryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetTable(const tarvex::THistoryTable* table);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const tarvex::THistoryTable* Table = nullptr;
};
