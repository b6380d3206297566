#include "views/freqmodel.h"

#include <QColor>
#include <algorithm>
#include <cstdint>

#include "log/mailerlog.h"

using namespace tarvex;

namespace {

const char* const kHeadings[] = {"Address", "File", "Status"};

QString Latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

int RowsOf(const TMailerLog* log)
{
    return log ? static_cast<int>(std::min<std::size_t>(log->Freqs.size(), INT32_MAX)) : 0;
}

}  // namespace

void TFreqModel::Reset(const TMailerLog* log, bool realName)
{
    beginResetModel();
    Log = log;
    Rows = RowsOf(log);
    RealName = realName;
    endResetModel();
}

void TFreqModel::Grew(std::size_t first)
{
    if (!Log)
        return;
    if (first < static_cast<std::size_t>(Rows))
        emit dataChanged(index(static_cast<int>(first), 0), index(Rows - 1, 2));
    if (const int n = RowsOf(Log); n > Rows) {
        beginInsertRows(QModelIndex(), Rows, n - 1);
        Rows = n;
        endInsertRows();
    }
}

int TFreqModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Rows;
}

int TFreqModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

const TFreq& TFreqModel::Freq(int row) const { return Log->Freqs.at(static_cast<std::size_t>(row)).Freq; }

QString TFreqModel::CellText(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const TFreqEntry& e = Log->Freqs[static_cast<std::size_t>(row)];
    switch (column) {
    case 0: return QString::fromStdString(e.Freq.Addr.ToString());
    // File names are the log's bytes: shown byte for byte rather than failing as UTF-8.
    case 1: return Latin1(RealName ? e.Freq.Name : e.Request);
    case 2: return e.Freq.Sent ? QStringLiteral("OK") : QStringLiteral("Fail");
    default: return {};
    }
}

QVariant TFreqModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole: return CellText(index.row(), index.column());
    case Qt::ForegroundRole: return Freq(index.row()).Sent ? QVariant() : QVariant(QColor(Qt::red));
    default: return {};
    }
}

QVariant TFreqModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 3)
        return {};
    return QString(kHeadings[section]);
}
