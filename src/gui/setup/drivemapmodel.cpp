#include "setup/drivemapmodel.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>
#include <algorithm>
#include <string_view>

namespace {

// A drive letter as typed: "c", "C" or "C:". 0 for anything else.
char ParseLetter(const QString& text)
{
    QString t = text.trimmed();
    if (t.endsWith(':'))
        t.chop(1);
    if (t.size() != 1)
        return 0;
    const char16_t c = t[0].toUpper().unicode();
    return c >= u'A' && c <= u'Z' ? static_cast<char>(c) : 0;
}

}  // namespace

TDriveMapModel::TDriveMapModel(QObject* parent) : QAbstractTableModel(parent) {}

void TDriveMapModel::SetMap(const std::map<char, std::string>& map)
{
    beginResetModel();
    Rows.clear();
    for (const auto& [letter, folder] : map) {
        const char up = ParseLetter(QString(QChar(letter)));
        if (up == 0 || LetterInUse(up, -1))
            continue;
        Rows.push_back({up, QString::fromStdString(folder), folder});
    }
    std::sort(Rows.begin(), Rows.end(), [](const TRow& a, const TRow& b) { return a.Letter < b.Letter; });
    endResetModel();
}

std::map<char, std::string> TDriveMapModel::Map() const
{
    std::map<char, std::string> out;
    for (const TRow& r : Rows) {
        if (!r.Stored.empty() && r.Folder == QString::fromStdString(r.Stored)) {
            out[r.Letter] = r.Stored;
            continue;
        }
        const QString folder = r.Folder.trimmed();
        if (folder.isEmpty())
            continue;
        const QFileInfo info(folder);
        out[r.Letter] = (info.isRelative() ? info.absoluteFilePath() : folder).toStdString();
    }
    return out;
}

bool TDriveMapModel::LetterInUse(char letter, int exceptRow) const
{
    for (std::size_t i = 0; i < Rows.size(); ++i)
        if (static_cast<int>(i) != exceptRow && Rows[i].Letter == letter)
            return true;
    return false;
}

int TDriveMapModel::AddRow()
{
    static constexpr char kOrder[] = "CDEFGHIJKLMNOPQRSTUVWXYZAB";
    for (const char letter : std::string_view(kOrder)) {
        if (LetterInUse(letter, -1))
            continue;
        const int row = rowCount();
        beginInsertRows(QModelIndex(), row, row);
        Rows.push_back({letter, QString(), std::string()});
        endInsertRows();
        return row;
    }
    return -1;
}

void TDriveMapModel::RemoveRow(int row)
{
    if (!ValidRow(row))
        return;
    beginRemoveRows(QModelIndex(), row, row);
    Rows.erase(Rows.begin() + row);
    endRemoveRows();
}

char TDriveMapModel::Letter(int row) const { return ValidRow(row) ? Rows[static_cast<std::size_t>(row)].Letter : 0; }

QString TDriveMapModel::Folder(int row) const
{
    return ValidRow(row) ? Rows[static_cast<std::size_t>(row)].Folder : QString();
}

bool TDriveMapModel::SetFolder(int row, const QString& folder)
{
    return setData(index(row, ColFolder), folder);
}

bool TDriveMapModel::SetLetter(int row, const QString& text) { return setData(index(row, ColDrive), text); }

int TDriveMapModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int TDriveMapModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TDriveMapModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !ValidRow(index.row()))
        return {};
    const TRow& r = Rows[static_cast<std::size_t>(index.row())];
    if (index.column() == ColDrive) {
        if (role == Qt::DisplayRole)
            return QString("%1:").arg(QChar(r.Letter));
        if (role == Qt::EditRole)
            return QString(QChar(r.Letter));
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return r.Folder;
    // A folder that is not there is marked, not refused: it may be on a disk not mounted yet.
    const bool missing = !r.Folder.trimmed().isEmpty() && !QFileInfo(r.Folder.trimmed()).isDir();
    if (role == Qt::DecorationRole && missing)
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    if (role == Qt::ToolTipRole && missing)
        return QString("No such folder");
    return {};
}

bool TDriveMapModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !ValidRow(index.row()))
        return false;
    TRow& r = Rows[static_cast<std::size_t>(index.row())];
    if (index.column() == ColDrive) {
        const char letter = ParseLetter(value.toString());
        if (letter == 0 || LetterInUse(letter, index.row()))
            return false;
        r.Letter = letter;
    } else {
        r.Folder = value.toString();
    }
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TDriveMapModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
}

QVariant TDriveMapModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == ColDrive ? QString("Drive") : section == ColFolder ? QString("Folder") : QVariant();
}
