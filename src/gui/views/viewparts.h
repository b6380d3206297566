#pragma once
#include <QHeaderView>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/errors.h"
#include "common/grids.h"
#include "common/toolbar.h"
#include "host/settingsstore.h"
#include "host/userinterface.h"
#include "report/addrlist.h"
#include "report/columnlist.h"
#include "report/reportwriter.h"
#include "views/slsetupform.h"

class QBoxLayout;
class QHBoxLayout;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class QWidget;

// Pieces the statistics windows share: their title and settings section, their tool bar
// buttons, their stored placement, the setup dialog's round trip, the grid header's widths and
// moves, and the loading, saving and reports of the views with user-defined columns.

// The tool bar of a view with user-defined columns, at the top of layout, with its "Setup" and
// "Report" buttons; the caller adds what follows them.
QHBoxLayout* AddSetupReportBar(QWidget* view, QBoxLayout* layout, const QString& setupHint, QToolButton*& setupBtn,
                               QToolButton*& reportBtn);

// A flat text button of a view's tool bar.
QToolButton* AddBarButton(QWidget* parent, QBoxLayout* bar, const char* name, const QString& caption,
                          const QString& hint);

// The row at the bottom of a view with its "Close" button, which closes the view.
QPushButton* AddCloseRow(QWidget* view, QBoxLayout* layout);

// Size and position the log window stored for the view (`section` is the log's name and the
// view's suffix). With none stored the view takes the given size and opens at the global
// position `opening`, moved as far as needed to lie inside `area` (the main window's client
// area). Either way it is kept on the screen it stands mostly on.
void RestorePlacement(QWidget* view, const tarvex::ISettingsStore& store, const std::string& section, int width,
                      int height, QPoint opening, const QRect& area);
// A view whose size is not stored widens, as far as `area` and its screen allow, to show every
// column of its grid.
void WidenToShowGrid(QWidget* view, const QTableView* grid, const tarvex::ISettingsStore& store,
                     const std::string& section, const QRect& area);

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

// A window that shows records in user-defined columns, with a highlight list and report
// templates the user sets up: the session list and the dial statistics.
template <class View>
concept ColumnView = requires(View& v) {
    v.Columns;
    v.Highlight;
    v.RepHeader;
    v.RepFooter;
    v.Grid;
    v.ExecSetup;
    v.AskReportFile;
    v.FillGrid();
    v.GridWidths();
};

// Reads the view's highlighted addresses (kept in highlightSection) and report templates (kept
// in section). A list that cannot be read is reported and stays empty: the view opens all the same.
template <ColumnView View>
void LoadHighlightAndTemplates(View& view, const tarvex::ISettingsStore& store, const std::string& section,
                               const std::string& highlightSection, tarvex::IUserInterface& ui)
{
    view.Highlight.Clear();
    try {
        view.Highlight.Load(store, highlightSection, "Highlight");
    } catch (const tarvex::EConvertError& e) {
        ui.Message(e.what(), tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
    }
    view.RepHeader = store.ReadString(section, "RepHeader", "");
    view.RepFooter = store.ReadString(section, "RepFooter", "");
}

// Keeps the view's columns with the widths the user gave, its highlight list and templates.
template <ColumnView View>
void SaveColumnView(View& view, tarvex::ISettingsStore& store, const std::string& section,
                    const std::string& highlightSection)
{
    view.Columns.Save(store, section, view.GridWidths());
    view.Highlight.Save(store, highlightSection, "Highlight");
    store.WriteString(section, "RepHeader", view.RepHeader);
    store.WriteString(section, "RepFooter", view.RepFooter);
}

// The width a shown column of a view opens with when the user has set none: its design width
// fitted to the grid's font, its heading and a typical text of its type (`typical`, by ColType).
template <class Item>
typename tarvex::TColumnList<Item>::OpeningWidth OpeningWidths(const QTableView* grid,
                                                                std::span<const char* const> typical)
{
    return [grid, typical](const tarvex::TColumn& c, std::int32_t design) {
        const bool known = c.ColType >= 0 && static_cast<std::size_t>(c.ColType) < typical.size();
        return OpeningColumnWidth(grid, design, QString::fromStdString(c.Heading),
                                  known ? QString(typical[static_cast<std::size_t>(c.ColType)]) : QString());
    };
}

// Sizes the grid's sections as the shown columns ask.
template <class Item>
void SizeGridColumns(QHeaderView* header, const std::vector<const tarvex::TColumnOf<Item>*>& shown)
{
    for (std::size_t k = 0; k < shown.size(); ++k)
        header->resizeSection(static_cast<int>(k), shown[k]->ScrWidth);
}

// The grid shows the list's order: a column the user dragged moves in the list, keeping the
// widths the user gave, and the grid is filled anew.
template <ColumnView View>
void TakeColumnMove(View& view, int from, int to)
{
    view.Columns.TakeGridWidths(view.GridWidths());
    UndoSectionMove(view.Grid->horizontalHeader(), from, to);
    view.Columns.MoveGridColumn(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    view.FillGrid();
}

// The setup dialog's round trip: the dialog starts from the view's columns (with the grid's
// current widths), highlight list and templates; after OK the view takes them back, filling its
// grid anew when the columns changed.
template <ColumnView View, class Factory>
void RunColumnSetup(View& view, TSLSetupForm& dialog, const Factory& make, tarvex::IUserInterface& ui)
{
    view.Columns.TakeGridWidths(view.GridWidths());
    FillSetupDialog(dialog, ColumnPointers(view.Columns), view.Highlight, view.RepHeader, view.RepFooter);
    if (view.ExecSetup(dialog) != QDialog::Accepted)
        return;
    if (dialog.Modified) {
        ReplaceColumns(view.Columns, dialog, make);
        view.FillGrid();
    }
    view.Grid->viewport()->update();
    TakeSetupResults(dialog, view.Highlight, view.RepHeader, view.RepFooter, ui);
}

// The file the user names for the view's report, or empty: with no column going into files the
// user is told so and not asked.
template <ColumnView View>
QString AskReportTarget(View& view, tarvex::IUserInterface& ui)
{
    if (view.Columns.NumFile == 0) {
        ui.Message("No file columns defined!", tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return {};
    }
    return view.AskReportFile();
}

// Writes the report of the records in the view's file columns and templates; what went wrong is
// told to the user.
template <ColumnView View, class Items>
void WriteViewReport(const View& view, const QString& file, const Items& items, tarvex::TReportStyle style,
                     tarvex::IUserInterface& ui)
{
    const tarvex::TReportOptions options{view.RepHeader, view.RepFooter, file.toStdString()};
    style.Now = tarvex::LocalNow;
    std::string error;
    if (!tarvex::WriteReport(view.Columns, options, items, ui, style, error))
        ui.Message(error, tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
}
