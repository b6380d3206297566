#pragma once
#include <QAbstractTableModel>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <functional>
#include <string>
#include <vector>

#include "log/coloritems.h"
#include "report/addrlist.h"
#include "report/sesscolumns.h"

namespace tarvex {
class TMailerLog;
}
class ViewerCodec;

// The session list's rows: one per session of the log's last analysis, read in place; the
// cells are the shown columns' texts. The rows are the sessions the list was told of: a followed
// log's pass settles more of them, and Grew inserts their rows.
class TSessListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role { FlagsRole = Qt::UserRole + 1, HighlightedRole };

    using QAbstractTableModel::QAbstractTableModel;

    // Shows the sessions of the log through the given columns (the shown ones, in grid order).
    void Reset(const tarvex::TMailerLog* log, std::vector<const tarvex::TColumnOf<tarvex::TSess>*> columns,
               const tarvex::TAddrList* highlight, const ViewerCodec* codec);

    // Sessions from first on are new or changed: rows are inserted for the new ones.
    void Grew(std::size_t first);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const tarvex::TSess& Session(int row) const;
    QString CellText(int row, int column) const;
    // The session's address is in the highlight list.
    bool IsHighlighted(int row) const;

private:
    const tarvex::TMailerLog* Log = nullptr;
    int Rows = 0;
    std::vector<const tarvex::TColumnOf<tarvex::TSess>*> Columns;
    const tarvex::TAddrList* Highlight = nullptr;
    const ViewerCodec* Codec = nullptr;
    mutable std::string Text;
};

// Draws a session cell: the session's colour ("BAD" in the Errors colour), bold for
// highlighted addresses, and a line over the first session of each day.
class TSessListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using ColorOf = std::function<QColor(tarvex::TColorItem)>;
    TSessListDelegate(ColorOf colors, QObject* parent) : QStyledItemDelegate(parent), Colors(std::move(colors)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // What paint uses, for a cell that is selected or not.
    QColor TextColor(const QModelIndex& index, bool selected, const QPalette& palette) const;
    QFont CellFont(const QModelIndex& index, const QFont& base) const;

private:
    const QStaticText& Laid(const QString& text, const QFont& font, bool bold) const;

    struct TLaidCache {
        QFont Font;
        QHash<QString, QStaticText> Texts;
    };
    ColorOf Colors;
    mutable TLaidCache Cache[2];
};
