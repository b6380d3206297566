#pragma once
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "views/gridwidths.h"

class QAbstractTableModel;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class TFrameForm;

// What the traffic and history windows share: a top-level window over one file of a T-Mail
// line, with a tool bar, a grid, a status line and a centred OK button; the mailer's system
// directory; switching lines; column widths and placement kept in the settings store.
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

protected:
    TTMailLineForm(TFrameForm* frame, const char* className, const char* gridName,
                   std::vector<TColumnDesign> columns, QAbstractTableModel* model);

    // Reads the file of MailerLine; false after telling the user.
    virtual bool Load() = 0;
    // Fills the grid from what was loaded.
    virtual void Display() = 0;
    // Tells the main window that the window goes, and with which line.
    virtual void Closed() = 0;

    QToolButton* AddToolButton(const char* name, const QString& hint, const QIcon& icon);
    void SetStatusText(const QString& text);
    // Whether the file could be read at all; tells the user when not.
    bool ReportLoadResult(int result, const char* cannotOpen);
    TFrameForm* Frame() const { return FrameForm; }

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RestoreColumnWidths();
    void StoreColumnWidths();

    TFrameForm* FrameForm;
    std::string ClassName;
    std::string GridSection;
    std::vector<TColumnDesign> Columns;
    QWidget* ToolBar = nullptr;
    QHBoxLayout* ToolLayout = nullptr;
    QTableView* TableGrid = nullptr;
    QLabel* Status = nullptr;
    QPushButton* OkBtn = nullptr;
    bool ClosedOnce = false;
};
