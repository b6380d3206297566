#pragma once
#include <QString>
#include <span>
#include <string_view>

#include "host/settingsstore.h"

class QFont;
class QTableView;

// A grid of records as the statistics and T-Mail windows show them: whole rows selected, no
// editing, no row headings, rows of one height, columns resized by the user and dragged when
// `movable`.
void SetUpRecordGrid(QTableView* grid, bool movable);

// The character height of a font on the screen, in pixels.
int FontHeight(const QFont& font);
// Rows as high as a line of the grid's font: the row height of every text grid.
void FitRowsToFont(QTableView* grid);

// Grid column widths were designed in pixels of a 13-pixel sans-serif face. The faces of a
// Linux desktop are wider, and a date or address cut short reads as a wrong one, so a column
// the user has not sized opens at its design width scaled by the grid font's average
// character width against the design face's, and never narrower than its heading and a
// typical value need. A width the user set is the user's and is never scaled.
int OpeningColumnWidth(const QTableView* grid, int designWidth, const QString& heading, const QString& typical);

// The width a window whose grid stands edge to edge needs to show every column of the grid,
// its vertical scroll bar included.
int WidthShowingColumns(const QTableView* grid);

// A grid column of fixed meaning as designed: its width in design pixels and a long but
// ordinary text of it.
struct TColumnDesign {
    int Width;
    const char* Typical;
};

// Sizes the grid's columns from the values "Item0", "Item1", ... of the section, where the
// widths the user gave are kept. A column without a usable stored width opens as
// OpeningColumnWidth gives from its design and the heading the grid's model gives it.
void RestoreItemWidths(QTableView* grid, const tarvex::ISettingsStore& store, std::string_view section,
                       std::span<const TColumnDesign> columns);
// Keeps the grid's column widths in "Item0", "Item1", ... of the section.
void StoreItemWidths(const QTableView* grid, tarvex::ISettingsStore& store, std::string_view section);
