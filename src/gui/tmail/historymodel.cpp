#include "tmail/historymodel.h"

void THistoryModel::SetTable(const tarvex::THistoryTable* table)
{
    beginResetModel();
    Table = table;
    endResetModel();
}

int THistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !Table ? 0 : static_cast<int>(Table->Records.size());
}

int THistoryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : tarvex::kHistoryColumns; }

QVariant THistoryModel::data(const QModelIndex& index, int role) const
{
    if (!Table || !index.isValid() || role != Qt::DisplayRole)
        return {};
    const std::string text = tarvex::HistoryCellText(Table->Records[static_cast<std::size_t>(index.row())], index.column());
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant THistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= tarvex::kHistoryColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(tarvex::kHistoryHeaders[section]);
}
