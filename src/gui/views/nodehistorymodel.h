#pragma once
#include <QAbstractTableModel>
#include <QFont>
#include <string>
#include <vector>

#include "report/nodehistory.h"

// The node history rows: one per day the node appears on, then the total in bold; the cells
// are the shown columns' texts.
class TNodeHistoryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows the rows (held by the view, null for none) through the given columns.
    void Reset(const std::vector<tarvex::TNodeDay>* rows,
               std::vector<const tarvex::TColumnOf<tarvex::TNodeDay>*> columns, const QFont& font);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const tarvex::TNodeDay& Row(int row) const { return (*Rows)[static_cast<std::size_t>(row)]; }
    QString CellText(int row, int column) const;

private:
    const std::vector<tarvex::TNodeDay>* Rows = nullptr;
    std::vector<const tarvex::TColumnOf<tarvex::TNodeDay>*> Columns;
    QFont Bold;
    mutable std::string Text;
};
