#pragma once
#include <QAbstractTableModel>
#include <QString>
#include <map>
#include <string>
#include <vector>

// The drive map as the "Drives" page of the general options edits it: one row per drive letter,
// the letter and the local folder that stands for it. Letters are unique; a row whose folder is
// empty maps nothing and is left out of Map().
class TDriveMapModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ColDrive = 0, ColFolder, ColumnCount };

    explicit TDriveMapModel(QObject* parent = nullptr);

    void SetMap(const std::map<char, std::string>& map);
    // The map the rows give. A folder is kept byte for byte while its text is not edited; an
    // edited relative folder is made absolute now, since the current folder moves while a
    // files.bbs update runs.
    std::map<char, std::string> Map() const;

    // Appends a row for the first letter not in use (C first, the drive mailers mostly live on)
    // and returns it; -1 when every letter is taken.
    int AddRow();
    void RemoveRow(int row);
    char Letter(int row) const;
    QString Folder(int row) const;
    bool SetFolder(int row, const QString& folder);
    // A letter (with or without the colon, any case) not used by another row; false otherwise.
    bool SetLetter(int row, const QString& text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct TRow {
        char Letter = 'C';
        QString Folder;
        std::string Stored;  // the folder as it came from the settings
    };
    bool LetterInUse(char letter, int exceptRow) const;
    bool ValidRow(int row) const { return row >= 0 && static_cast<std::size_t>(row) < Rows.size(); }

    std::vector<TRow> Rows;
};
