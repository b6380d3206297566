#include "common/grids.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The average character width of the design face, Arial at 13 pixels, as its font tables give it.
constexpr double kDesignAverageCharWidth = 5.74;

// What the header asks for a section of this heading: the header sizes its sections from a bold
// face, since the current column's heading may be drawn bold.
int HeadingWidth(const QHeaderView* header, const QString& heading)
{
    QStyleOptionHeader opt;
    opt.initFrom(header);
    opt.orientation = Qt::Horizontal;
    opt.section = 0;
    opt.text = heading;
    QFont bold = header->font();
    bold.setBold(true);
    opt.fontMetrics = QFontMetrics(bold);
    return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), header).width();
}

// A cell's text with the margins the styles' item views leave on both sides and the grid line.
int CellWidth(const QTableView* grid, const QString& text)
{
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    return static_cast<int>(std::ceil(QFontMetricsF(grid->font()).horizontalAdvance(text))) + 2 * margin + 1;
}

}  // namespace

int OpeningColumnWidth(const QTableView* grid, int designWidth, const QString& heading, const QString& typical)
{
    const double ratio = QFontMetricsF(grid->font()).averageCharWidth() / kDesignAverageCharWidth;
    const int scaled = static_cast<int>(std::lround(designWidth * ratio));
    return std::max({scaled, HeadingWidth(grid->horizontalHeader(), heading), CellWidth(grid, typical)});
}

int WidthShowingColumns(const QTableView* grid)
{
    const QHeaderView* header = grid->horizontalHeader();
    int width = 0;
    for (int k = 0; k < header->count(); ++k)
        if (!header->isSectionHidden(k))
            width += header->sectionSize(k);
    const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid->verticalScrollBar());
    return width + scrollBar + 2 * grid->frameWidth();
}

void RestoreItemWidths(QTableView* grid, const tarvex::ISettingsStore& store, std::string_view section,
                       std::span<const TColumnDesign> columns)
{
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::string name = "Item" + std::to_string(c);
        const int column = static_cast<int>(c);
        std::string stored;
        int w = store.ReadValue(section, name, stored) ? store.ReadInteger(section, name, 0) : 0;
        // A width that would hide the column or lose it off screen is not taken.
        if (w < 4 || w > 4000)
            w = OpeningColumnWidth(grid, columns[c].Width,
                                   grid->model()->headerData(column, Qt::Horizontal).toString(),
                                   QString(columns[c].Typical));
        grid->setColumnWidth(column, w);
    }
}

void StoreItemWidths(const QTableView* grid, tarvex::ISettingsStore& store, std::string_view section)
{
    const QHeaderView* header = grid->horizontalHeader();
    for (int c = 0; c < header->count(); ++c)
        store.WriteInteger(section, "Item" + std::to_string(c), header->sectionSize(c));
}

int FontHeight(const QFont& font) { return QFontMetrics(font).height(); }

void FitRowsToFont(QTableView* grid) { grid->verticalHeader()->setDefaultSectionSize(FontHeight(grid->font()) + 2); }

void SetUpRecordGrid(QTableView* grid, bool movable)
{
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->horizontalHeader()->setSectionsMovable(movable);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setHighlightSections(false);
}
