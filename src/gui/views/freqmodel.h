#pragma once
#include <QAbstractTableModel>

namespace tarvex {
class TMailerLog;
struct TFreq;
}

// The file request rows: one per request of the log's analysis, in the order found, read in
// place. "File" shows the real file name or the name as requested; files not sent are red. The
// rows are the requests the model was told of; Grew shows what a followed log's pass added.
class TFreqModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Reset(const tarvex::TMailerLog* log, bool realName);
    // Requests from first on were added or changed (a file sent for an earlier request).
    void Grew(std::size_t first);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const tarvex::TFreq& Freq(int row) const;
    QString CellText(int row, int column) const;

private:
    const tarvex::TMailerLog* Log = nullptr;
    int Rows = 0;
    bool RealName = false;
};
