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
    Rows = log ? log->SessCount : 0;
    Columns = std::move(columns);
    Highlight = highlight;
    Codec = codec;
    endResetModel();
}

void TSessListModel::Grew(std::size_t first)
{
    if (!Log)
        return;
    if (first < static_cast<std::size_t>(Rows) && !Columns.empty())
        emit dataChanged(index(static_cast<int>(first), 0), index(Rows - 1, columnCount() - 1));
    if (Log->SessCount > Rows) {
        beginInsertRows(QModelIndex(), Rows, Log->SessCount - 1);
        Rows = Log->SessCount;
        endInsertRows();
    }
}

int TSessListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Rows;
}

int TSessListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Columns.size());
}

const TSess& TSessListModel::Session(int row) const { return Log->Session(row); }

bool TSessListModel::IsHighlighted(int row) const
{
    return Highlight && Highlight->Count() > 0 && Highlight->IndexOf(Session(row).Addr) >= 0;
}

QString TSessListModel::CellText(int row, int column) const
{
    if (!Log || row < 0 || row >= Rows || column < 0 || column >= columnCount())
        return {};
    Columns[static_cast<std::size_t>(column)]->ColumnText(Session(row), Text);
    return Codec ? Codec->Decode(Text) : QString::fromLatin1(Text.data(), static_cast<qsizetype>(Text.size()));
}

QVariant TSessListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !Log || index.row() >= Rows)
        return {};
    switch (role) {
    case Qt::DisplayRole: return CellText(index.row(), index.column());
    case FlagsRole: return static_cast<uint>(Session(index.row()).Flags);
    case HighlightedRole: return IsHighlighted(index.row());
    default: return {};
    }
}

QVariant TSessListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return QString::fromStdString(Columns[static_cast<std::size_t>(section)]->Heading);
}

namespace {

QColor ColorOfCell(const TSessListDelegate::ColorOf& colors, const QString& text, const TSess& s)
{
    return text == QLatin1String("BAD") ? colors(TColorItem::Errors) : colors(SessColor(s));
}

}  // namespace

QColor TSessListDelegate::TextColor(const QModelIndex& index, bool selected, const QPalette& palette) const
{
    // A selected cell, the current one too, takes the selection's text colour: a session colour
    // may be the selection's own (blue on blue).
    if (selected)
        return palette.color(QPalette::HighlightedText);
    const auto* model = static_cast<const TSessListModel*>(index.model());
    return ColorOfCell(Colors, model->CellText(index.row(), index.column()), model->Session(index.row()));
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
    // Drawn here rather than by the style: a screen of a dozen columns is repainted on every
    // scroll step, and the style's item drawing asks the model for a dozen roles per cell.
    const auto* model = static_cast<const TSessListModel*>(index.model());
    const TSess& s = model->Session(index.row());
    const QString text = model->CellText(index.row(), index.column());
    const bool selected = option.state & QStyle::State_Selected;
    const QRect r = option.rect;
    QPalette palette = option.palette;
    palette.setCurrentColorGroup(option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive);
    if (selected)
        painter->fillRect(r, palette.brush(QPalette::Highlight));
    const QColor color = selected ? palette.color(QPalette::HighlightedText) : ColorOfCell(Colors, text, s);
    const bool bold = model->IsHighlighted(index.row());
    painter->save();
    painter->setClipRect(r);
    QFont font = option.font;
    if (bold)
        font.setBold(true);
    painter->setFont(font);
    painter->setPen(color);
    painter->drawStaticText(QPoint(r.left() + 2, r.top() + 2), Laid(text, font, bold));
    if (s.Flags & sfFirstOfDay)
        painter->fillRect(QRect(r.left(), r.top(), r.width(), 2), Qt::black);
    painter->restore();
}

const QStaticText& TSessListDelegate::Laid(const QString& text, const QFont& font, bool bold) const
{
    // Texts repeat a great deal down a session list ("OK", "No", addresses, system names):
    // laying each out once keeps scrolling cheap. The cache is dropped when the font changes.
    TLaidCache& cache = Cache[bold ? 1 : 0];
    if (cache.Font != font) {
        cache.Texts.clear();
        cache.Font = font;
    }
    auto it = cache.Texts.find(text);
    if (it == cache.Texts.end()) {
        if (cache.Texts.size() > 50000)
            cache.Texts.clear();
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        st.prepare(QTransform(), font);
        it = cache.Texts.insert(text, st);
    }
    return it.value();
}
