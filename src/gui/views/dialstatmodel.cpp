#include "views/dialstatmodel.h"

#include "log/mailerlog.h"

using namespace tarvex;

void TDialStatModel::Reset(const TMailerLog* log, int day, std::vector<const TColumnOf<TNodeStat>*> columns,
                           const TAddrList* highlight, const QFont& font)
{
    beginResetModel();
    Log = log;
    Day = day;
    Rows = log ? log->NodeCount(day) : 0;
    Columns = std::move(columns);
    Highlight = highlight;
    Bold = font;
    Bold.setBold(true);
    endResetModel();
}

int TDialStatModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Rows;
}

int TDialStatModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Columns.size());
}

const TNodeStat& TDialStatModel::Node(int row) const { return Log->Node(Day, row); }

bool TDialStatModel::IsHighlighted(int row) const
{
    return Highlight && Highlight->Count() > 0 && Highlight->IndexOf(Node(row).Addr) >= 0;
}

QString TDialStatModel::CellText(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    Columns[static_cast<std::size_t>(column)]->ColumnText(Node(row), Text);
    // Addresses, numbers and times only: no byte of the log's own text reaches a cell.
    return QString::fromLatin1(Text.data(), static_cast<qsizetype>(Text.size()));
}

QVariant TDialStatModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole: return CellText(index.row(), index.column());
    case Qt::FontRole: return IsHighlighted(index.row()) ? QVariant(Bold) : QVariant();
    default: return {};
    }
}

QVariant TDialStatModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return QString::fromStdString(Columns[static_cast<std::size_t>(section)]->Heading);
}
