#pragma once
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "base/fidoaddr.h"

#include "common/guienv.h"
#include "views/viewhost.h"

class QTableView;

namespace tarvex {
struct TPassGrowth;
}

// A view of a log window: a top-level window of its own over the records of the window's
// analysis, owned by the log window and deleted once closed. It reaches the window only through
// its host and tells it what it wants through its signals.
class TViewForm : public QWidget
{
    Q_OBJECT
public:
    // Named, and titled with the caption and the log's name.
    TViewForm(const TGuiEnv& env, IViewHost& host, TViewKind kind, QWidget* parent, const char* name,
              const QString& caption);

    // The settings section where the view keeps its state.
    std::string Section() const { return Host.SectionOf(Kind); }

    // The log's records are about to be made anew: until ShowRecords nothing of them may be read,
    // painting included.
    virtual void DropRecords() = 0;
    // The records were made anew: the view shows them.
    virtual void ShowRecords() = 0;
    // The log grew while it was followed and its analysis went on: growth tells which records
    // are new or changed. The view shows them and leaves the rest as they were.
    virtual void RecordsGrew(const tarvex::TPassGrowth& growth) = 0;

signals:
    // The user chose a line of the log to be shown (a session's or a request's).
    void LineChosen(int lineNo);
    // The view is closing, its state saved: the log window opens a new one from now on.
    void Closed();
    // The user asked for the history of a node of the view's records.
    void NodeHistoryAsked(const tarvex::TFidoAddr& addr);

protected:
    // Size and position as the log window stored them for the view; with none stored the given
    // size at the host's opening place, inside the main window's area.
    void PlaceAsStored(int width, int height);
    // Wider, when no width is stored, to show every column of the grid.
    void WidenToShow(const QTableView* grid);
    // Gives the grid the context menu entry "Node history" and its key (F9, in the whole view),
    // for the node of the current row as `addrOfRow` tells it (none: nothing happens).
    void AddNodeHistoryAction(QTableView* grid, std::function<std::optional<tarvex::TFidoAddr>(int row)> addrOfRow);
    // Keeps what the view keeps of itself; called once, when it closes.
    virtual void SaveState() {}

    void closeEvent(QCloseEvent* event) override;

    const TGuiEnv Env;
    IViewHost& Host;

private:
    TViewKind Kind;
    bool Saved = false;
};
