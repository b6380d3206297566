#include "views/sesslistmodel.h"

#include <QApplication>
#include <QPainter>

#include "log/mailerlog.h"
#include "viewer/viewercodec.h"

using namespace tarvex;

void TSessListModel::Reset(const TMailerLog* log, std::vector<const TColumnOf<TSess>*> columns,
                           const TAddrList* highlight, const ViewerCodec* codec)
{
    beginResetModel();
    Log = log;
    Columns = std::move(columns);
    Highlight = highlight;
    Codec = codec;
    endResetModel();
}

int TSessListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !Log ? 0 : Log->SessCount;
}

int TSessListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Columns.size());
}

const TSess& TSessListModel::Session(int row) const { return Log->Session(row); }

QString TSessListModel::CellText(int row, int column) const
{
    if (!Log || row < 0 || row >= Log->SessCount || column < 0 || column >= columnCount())
        return {};
    Columns[static_cast<std::size_t>(column)]->ColumnText(Session(row), Text);
    return Codec ? Codec->Decode(Text) : QString::fromLatin1(Text.data(), static_cast<qsizetype>(Text.size()));
}

QVariant TSessListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !Log || index.row() >= Log->SessCount)
        return {};
    switch (role) {
    case Qt::DisplayRole: return CellText(index.row(), index.column());
    case FlagsRole: return static_cast<uint>(Session(index.row()).Flags);
    case HighlightedRole: return Highlight && Highlight->IndexOf(Session(index.row()).Addr) >= 0;
    default: return {};
    }
}

QVariant TSessListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return QString::fromStdString(Columns[static_cast<std::size_t>(section)]->Heading);
}

QColor TSessListDelegate::TextColor(const QModelIndex& index, bool selected, bool focused, const QPalette& palette) const
{
    if (selected && !focused)
        return palette.color(QPalette::HighlightedText);
    if (index.data(Qt::DisplayRole).toString() == QLatin1String("BAD"))
        return Colors(TColorItem::Errors);
    TSess s;
    s.Flags = static_cast<std::uint8_t>(index.data(TSessListModel::FlagsRole).toUInt());
    return Colors(SessColor(s));
}

QFont TSessListDelegate::CellFont(const QModelIndex& index, const QFont& base) const
{
    QFont f = base;
    if (index.data(TSessListModel::HighlightedRole).toBool())
        f.setBold(true);
    return f;
}

void TSessListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* w = opt.widget;
    (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);

    painter->save();
    painter->setClipRect(opt.rect);
    painter->setFont(CellFont(index, opt.font));
    painter->setPen(TextColor(index, opt.state & QStyle::State_Selected, opt.state & QStyle::State_HasFocus, opt.palette));
    painter->drawText(opt.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    if (index.data(TSessListModel::FlagsRole).toUInt() & sfFirstOfDay)
        painter->fillRect(QRect(opt.rect.left(), opt.rect.top(), opt.rect.width(), 2), Qt::black);
    painter->restore();
}
