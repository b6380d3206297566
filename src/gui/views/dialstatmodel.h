#pragma once
#include <QAbstractTableModel>
#include <QFont>
#include <string>
#include <vector>

#include "report/addrlist.h"
#include "report/dscolumns.h"

namespace tarvex {
class TMailerLog;
}

// The dial statistics rows: one per node record of one day of the log's last analysis, read in
// place; the cells are the shown columns' texts, bold for highlighted addresses. The rows are
// the nodes the day had when it was shown: a followed log's day goes on counting meanwhile.
class TDialStatModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows the nodes of the day through the given columns (the shown ones, in grid order).
    void Reset(const tarvex::TMailerLog* log, int day, std::vector<const tarvex::TColumnOf<tarvex::TNodeStat>*> columns,
               const tarvex::TAddrList* highlight, const QFont& font);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const tarvex::TNodeStat& Node(int row) const;
    QString CellText(int row, int column) const;
    bool IsHighlighted(int row) const;

private:
    const tarvex::TMailerLog* Log = nullptr;
    int Day = -1;
    int Rows = 0;
    std::vector<const tarvex::TColumnOf<tarvex::TNodeStat>*> Columns;
    const tarvex::TAddrList* Highlight = nullptr;
    QFont Bold;
    mutable std::string Text;
};
