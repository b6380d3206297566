#pragma once
#include <QAbstractTableModel>

namespace tarvex {
class TMailerLog;
struct TFreq;
}

// The file request rows: one per request of the log's analysis, in the order found, read in
// place. "File" shows the real file name or the name as requested; files not sent are red.
class TFreqModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Reset(const tarvex::TMailerLog* log, bool realName);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const tarvex::TFreq& Freq(int row) const;
    QString CellText(int row, int column) const;

private:
    const tarvex::TMailerLog* Log = nullptr;
    bool RealName = false;
};
