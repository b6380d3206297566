#pragma once
#include <QStyledItemDelegate>

// Draws a grid cell as the statistics windows show them: the text 2 pixels right of and below
// the cell's corner, clipped to it, in the font and colour the model gives (bold highlighted
// nodes, red failed requests), without the style's item decoration.
class TPlainCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
