#include "views/nodehistorymodel.h"

using namespace tarvex;

void TNodeHistoryModel::Reset(const std::vector<TNodeDay>* rows, std::vector<const TColumnOf<TNodeDay>*> columns,
                              const QFont& font)
{
    beginResetModel();
    Rows = rows;
    Columns = std::move(columns);
    Bold = font;
    Bold.setBold(true);
    endResetModel();
}

int TNodeHistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !Rows ? 0 : static_cast<int>(Rows->size());
}

int TNodeHistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Columns.size());
}

QString TNodeHistoryModel::CellText(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    Columns[static_cast<std::size_t>(column)]->ColumnText(Row(row), Text);
    // Dates, numbers and times only: no byte of the log's own text reaches a cell.
    return QString::fromLatin1(Text.data(), static_cast<qsizetype>(Text.size()));
}

QVariant TNodeHistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole: return CellText(index.row(), index.column());
    case Qt::FontRole: return Row(index.row()).IsTotal() ? QVariant(Bold) : QVariant();
    default: return {};
    }
}

QVariant TNodeHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return QString::fromStdString(Columns[static_cast<std::size_t>(section)]->Heading);
}
