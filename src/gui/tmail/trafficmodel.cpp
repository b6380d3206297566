#include "tmail/trafficmodel.h"

void TTrafficModel::SetTable(const tarvex::TTrafficTable* table)
{
    beginResetModel();
    Table = table;
    endResetModel();
}

int TTrafficModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !Table)
        return 0;
    return static_cast<int>(Table->Entries.size()) + 1;
}

int TTrafficModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : tarvex::kTrafficColumns; }

QVariant TTrafficModel::data(const QModelIndex& index, int role) const
{
    if (!Table || !index.isValid() || role != Qt::DisplayRole)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const std::string text = row < Table->Entries.size() ? tarvex::TrafficCellText(Table->Entries[row], index.column())
                                                         : tarvex::TrafficTotalText(Table->Totals, index.column());
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant TTrafficModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= tarvex::kTrafficColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(tarvex::kTrafficHeaders[section]);
}
