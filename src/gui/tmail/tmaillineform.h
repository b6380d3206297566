#pragma once
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/busycursor.h"
#include "common/grids.h"
#include "common/guienv.h"
#include "tmail/tmailfiles.h"

class QAbstractTableModel;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

// What the traffic and history windows share: a top-level window over one file of a T-Mail
// line, with a tool bar, a grid, a status line and a centred OK button; the mailer's system
// directory; switching lines; column widths and placement kept in the settings store. It tells
// the main window that it goes, with its line, through Closed.
class TTMailLineForm : public QWidget
{
    Q_OBJECT
public:
    // The one-line prompt box: false when cancelled. Tests replace it.
    using TInputQuery = std::function<bool(const QString& caption, const QString& prompt, QString& value)>;

    ~TTMailLineForm() override;

    // Reads the system directory and loads the file of MailerLine; shows the window when that
    // worked. False (and the user told why) when it did not: the caller discards the window.
    bool Setup();
    // Asks for another line; a failed load keeps the line and the rows shown before.
    void SelectLine();

    QTableView* Grid() const { return TableGrid; }
    QString StatusText() const;

    std::int32_t MailerLine = 1;
    std::string SysPath;
    TInputQuery InputQuery;

signals:
    // The window is closing, its widths and placement kept; line is the line it showed.
    void Closed(int line);

protected:
    // A window over the parent (the main window) for the T-Mail of that mailer folder.
    TTMailLineForm(const TGuiEnv& env, std::string mailerPath, QWidget* parent, const char* className,
                   const char* gridName, std::vector<TColumnDesign> columns, QAbstractTableModel* model);

    // Reads the file of MailerLine; false after telling the user.
    virtual bool Load() = 0;
    // Fills the grid from what was loaded.
    virtual void Display() = 0;

    // Load through the reader of the line's file (named fileName): the file is read into a new
    // table under the busy cursor; when that worked the model lets go of the table shown, the
    // new one takes its place and the status names the file and any bytes left over after its
    // last whole record (records, the table's list of them). False after telling the user why not.
    template <class Table, class Records, class Model>
    bool LoadTable(tarvex::TRecordFileResult (*read)(std::string_view, Table&), const std::string& fileName,
                   const char* cannotOpen, Table& shown, Records Table::*records, Model& model)
    {
        Table table;
        tarvex::TRecordFileResult result;
        {
            TBusyCursor busy(Env.Ui);
            result = read(tarvex::SysFilePath(SysPath, fileName), table);
        }
        if (!ReportLoadResult(result, cannotOpen))
            return false;
        model.SetTable(nullptr);
        shown = std::move(table);
        ShowFileStatus(fileName, (shown.*records).size(), shown.LeftoverBytes);
        return true;
    }

    QToolButton* AddToolButton(const char* name, const QString& hint, const QIcon& icon);
    void SetStatusText(const QString& text);
    // Whether the file could be read at all; tells the user when not.
    bool ReportLoadResult(tarvex::TRecordFileResult result, const char* cannotOpen);
    void ShowFileStatus(const std::string& fileName, std::size_t records, std::size_t leftoverBytes);

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RestoreColumnWidths();
    void StoreColumnWidths();

protected:
    const TGuiEnv Env;

private:
    std::string MailerPath;
    std::string ClassName;
    std::string GridSection;
    std::vector<TColumnDesign> Columns;
    QWidget* ToolBar = nullptr;
    QTableView* TableGrid = nullptr;
    QLabel* Status = nullptr;
    QPushButton* OkBtn = nullptr;
    bool ClosedOnce = false;
};
