#include "views/plaincelldelegate.h"

#include <QPainter>

void TPlainCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    if (selected)
        painter->fillRect(r, option.palette.brush(group, QPalette::Highlight));
    QFont font = option.font;
    const QVariant f = index.data(Qt::FontRole);
    if (f.isValid())
        font = f.value<QFont>();
    QColor color = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QVariant c = index.data(Qt::ForegroundRole);
    if (c.isValid() && !selected)
        color = c.value<QColor>();
    painter->save();
    painter->setClipRect(r);
    painter->setFont(font);
    painter->setPen(color);
    const QRect text = r.adjusted(2, 2, 0, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
    painter->restore();
}
