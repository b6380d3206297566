#pragma once
#include <QString>
#include <QStringList>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "report/addrlist.h"
#include "report/columnlist.h"
#include "views/slsetupform.h"

class QBoxLayout;
class QHeaderView;
class QPushButton;
class QTableView;
class QToolButton;
class QWidget;

namespace tarvex {
class ISettingsStore;
class IUserInterface;
}

// Pieces the statistics windows share: their tool bar buttons, their stored placement, the
// setup dialog's round trip and the grid header's widths and moves.

// A flat text button of a view's tool bar.
QToolButton* AddBarButton(QWidget* parent, QBoxLayout* bar, const char* name, const QString& caption,
                          const QString& hint);

// A grid of records as the statistics windows show them: whole rows selected, no editing, no
// row headings, rows of one height, columns resized by the user and dragged when `movable`.
void SetUpRecordGrid(QTableView* grid, bool movable);

// The row at the bottom of a view with its "Close" button, which closes the view.
QPushButton* AddCloseRow(QWidget* view, QBoxLayout* layout);

// Size and position the log window stored for the view (`section` is the log's name and the
// view's suffix); the given size when none is stored.
void RestorePlacement(QWidget* view, const tarvex::ISettingsStore& store, const std::string& section, int width,
                      int height);

// The current width of each grid column.
std::vector<int> HeaderWidths(const QHeaderView* header);
// Puts a section the user dragged back where it was: the view moves the column in its list and
// fills the grid anew, so the header itself keeps the list's order.
void UndoSectionMove(QHeaderView* header, int from, int to);

QStringList TypeNameList(std::span<const char* const> names);

// Gives the dialog copies of the view's columns, highlighted addresses and template names.
void FillSetupDialog(TSLSetupForm& dialog, const std::vector<const tarvex::TColumn*>& columns,
                     const tarvex::TAddrList& highlight, const std::string& header, const std::string& footer);
// After OK: the highlight list and template names from the dialog. An address that cannot be
// read is reported and ends the take-over there (false).
bool TakeSetupResults(const TSLSetupForm& dialog, tarvex::TAddrList& highlight, std::string& header,
                      std::string& footer, tarvex::IUserInterface& ui);

template <class Item>
std::vector<const tarvex::TColumn*> ColumnPointers(const tarvex::TColumnList<Item>& columns)
{
    std::vector<const tarvex::TColumn*> out;
    for (const auto& c : columns.Items)
        out.push_back(c.get());
    return out;
}

// The view's columns become new objects of its own class with the dialog's values.
template <class Item>
void ReplaceColumns(tarvex::TColumnList<Item>& columns, const TSLSetupForm& dialog,
                    const typename tarvex::TColumnList<Item>::Factory& make)
{
    columns.Items.clear();
    for (const tarvex::TColumn& c : dialog.Columns()) {
        auto column = make();
        column->Assign(c);
        columns.Items.push_back(std::move(column));
    }
    columns.CountVisible();
}
