#include "app/childform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QStringList>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <optional>
#include <utility>

#include "app/logfollower.h"
#include "app/logloader.h"
#include "app/toolicons.h"
#include "base/datetime.h"
#include "common/busycursor.h"
#include "common/toolbar.h"
#include "common/windowfit.h"
#include "log/dlcupdate.h"
#include "log/mailerlog.h"
#include "log/navigation.h"
#include "log/records.h"
#include "report/nodehistory.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "platform/sharedfile.h"
#include "viewer/logviewer.h"
#include "views/dialstatform.h"
#include "views/freqform.h"
#include "views/nodehistoryform.h"
#include "views/overviewform.h"
#include "views/sesslistform.h"
#include "views/timelineform.h"
#include "views/timelineview.h"

using namespace tarvex;

namespace {

constexpr int kStatusBarHeight = 27;
// A followed log is read and analysed in pieces of this size, so a log that grew by gigabytes
// while nobody looked is taken in turns with the window's events.
constexpr std::size_t kFollowPiece = std::size_t{16} << 20;
// The pieces the analysis reads the viewer's text in: large enough that reading one costs
// little beside parsing it, small enough to stay in the cache.
constexpr std::size_t kPassPiece = std::size_t{4} << 20;

}  // namespace

TChildForm::TChildForm(const TGuiEnv& env, QMdiArea* area, const QString& caption, const TPlacement* placement)
    : QMdiSubWindow(nullptr), Env(env), Area(area)
{
    setObjectName("TChildForm");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* body = new QWidget(this);
    auto* layout = AddEdgeToEdgeLayout(body);

    ToolBar = MakeToolBar(body);
    auto* bar = static_cast<QHBoxLayout*>(ToolBar->layout());
    CloseBtn = AddButton(ToolBar, "CloseBtn", "Close this log", static_cast<int>(TToolIcon::Close), true);
    KillBtn = AddButton(ToolBar, "KillBtn", "Delete log and exit", static_cast<int>(TToolIcon::Kill), true);
    bar->addSpacing(6);
    PrevDayBtn = AddButton(ToolBar, "PrevDayBtn", "Previous day", static_cast<int>(TToolIcon::PrevDay), true);
    NextDayBtn = AddButton(ToolBar, "NextDayBtn", "Next day", static_cast<int>(TToolIcon::NextDay), true);
    BtnDayList = AddButton(ToolBar, "BtnDayList", "Day list", static_cast<int>(TToolIcon::DayList), false);
    PrevSessBtn = AddButton(ToolBar, "PrevSessBtn", "Previous session", static_cast<int>(TToolIcon::PrevSession), false);
    NextSessBtn = AddButton(ToolBar, "NextSessBtn", "Next session", static_cast<int>(TToolIcon::NextSession), false);
    bar->addSpacing(6);
    FindBtn = AddButton(ToolBar, "FindBtn", "Find string", static_cast<int>(TToolIcon::Find), true);
    CopyBtn = AddButton(ToolBar, "CopyBtn", "Copy to clipboard", static_cast<int>(TToolIcon::Copy), true);
    HiliteBtn = AddButton(ToolBar, "HiliteBtn", "Toggle highlight", static_cast<int>(TToolIcon::Highlight), true);
    HiliteBtn->setCheckable(true);
    FollowBtn = AddButton(ToolBar, "FollowBtn", "Follow", static_cast<int>(TToolIcon::Follow), false);
    FollowBtn->setCheckable(true);
    bar->addSpacing(6);
    // The views open once the log is analysed; the file request list, timeline and dial
    // statistics are not part of this version yet.
    SessListBtn = AddButton(ToolBar, "SessListBtn", "Session list", static_cast<int>(TToolIcon::SessionList), false);
    FreqListBtn = AddButton(ToolBar, "FreqListBtn", "List of freqed files", static_cast<int>(TToolIcon::FreqList), false);
    TimelineBtn = AddButton(ToolBar, "TimelineBtn", "View timeline", static_cast<int>(TToolIcon::Timeline), false);
    BtnDialStat = AddButton(ToolBar, "BtnDialStat", "Dial statistics", static_cast<int>(TToolIcon::DialStat), false);
    bar->addStretch(1);
    layout->addWidget(ToolBar);

    LogView = new LogViewer(body);
    LogView->setObjectName("LogViewer");
    layout->addWidget(LogView, 1);

    StatusBar = new QStatusBar(body);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setFixedHeight(kStatusBarHeight);
    StatusBar->setSizeGripEnabled(false);
    QFont small = StatusBar->font();
    small.setPointSize(8);
    StatusBar->setFont(small);
    for (int i = 0; i < 3; ++i) {
        Panels[i] = new QLabel(StatusBar);
        Panels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        Panels[i]->setFrameShape(QFrame::Panel);
        Panels[i]->setFrameShadow(QFrame::Sunken);
        // At least the classic widths; wider when the font needs it, so counts are never clipped.
        Panels[i]->setMinimumWidth(i == 0 ? 300 : i == 1 ? 100 : 70);
        StatusBar->addWidget(Panels[i]);
    }
    ProgressBar = new QProgressBar(StatusBar);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setGeometry(112, 6, 124, 17);
    ProgressBar->setTextVisible(false);
    ProgressBar->hide();
    layout->addWidget(StatusBar);

    DayListBox = new QListWidget(body);
    DayListBox->setObjectName("DayList");
    QFont arial("Arial");
    arial.setPixelSize(12);
    DayListBox->setFont(arial);
    DayListBox->setFixedSize(73, 97);
    DayListBox->hide();
    connect(DayListBox, &QListWidget::itemClicked, this, &TChildForm::DayListChosen);
    connect(DayListBox, &QListWidget::itemActivated, this, &TChildForm::DayListChosen);

    setWidget(body);
    BuildContextMenu();
    Follower = new TLogFollower(this);
    connect(Follower, &TLogFollower::Due, this, &TChildForm::PollFollowed);

    connect(CloseBtn, &QToolButton::clicked, this, &QWidget::close);
    connect(KillBtn, &QToolButton::clicked, this, &TChildForm::DeleteLogAndExit);
    connect(PrevDayBtn, &QToolButton::clicked, this, &TChildForm::PrevDay);
    connect(NextDayBtn, &QToolButton::clicked, this, &TChildForm::NextDay);
    connect(BtnDayList, &QToolButton::clicked, this, &TChildForm::ToggleDayList);
    connect(PrevSessBtn, &QToolButton::clicked, this, [this] { RunsForSessions ? PrevRun() : PrevSession(); });
    connect(NextSessBtn, &QToolButton::clicked, this, [this] { RunsForSessions ? NextRun() : NextSession(); });
    connect(FindBtn, &QToolButton::clicked, LogView, &LogViewer::ShowFindDialog);
    connect(CopyBtn, &QToolButton::clicked, LogView, &LogViewer::CopyToClipboard);
    connect(HiliteBtn, &QToolButton::clicked, this, &TChildForm::ToggleHighlight);
    connect(FollowBtn, &QToolButton::clicked, this, &TChildForm::ToggleFollow);
    connect(SessListBtn, &QToolButton::clicked, this, &TChildForm::ShowSessionList);
    connect(FreqListBtn, &QToolButton::clicked, this, &TChildForm::ShowFreqList);
    connect(TimelineBtn, &QToolButton::clicked, this, &TChildForm::ShowTimeline);
    connect(BtnDialStat, &QToolButton::clicked, this, &TChildForm::ShowDialStat);
    connect(LogView, &LogViewer::KeyPressed, this, &TChildForm::ViewerKey);
    connect(LogView, &LogViewer::MouseClicked, this, [this] {
        if (Analyzed)
            UpdatePosition();
    });

    setWindowTitle(caption);
    // The opening size is counted in characters of the log font.
    LogView->SetLogFont(Env.Font.Font);
    Area->addSubWindow(this);
    const bool placed = placement && placement->Left != -1;
    if (placed)
        setGeometry(placement->Left, placement->Top, placement->Width > 0 ? placement->Width : 499,
                    placement->Height > 0 ? placement->Height : 343);
    else
        resize(OpeningSize());
    // Before maximising, so that the window comes back inside when it is restored.
    KeepInsideFrame();
    if (placed && placement->Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

QSize TChildForm::OpeningSize() const
{
    // Enough of a line to read a session by: 80 columns and 20 rows of the log's text.
    constexpr int kColumns = 80, kRows = 20, kViewerMargin = 2;
    const int bar = LogView->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, LogView);
    const int edge = 2 * LogView->frameWidth();
    const QMargins frame = contentsMargins();
    return {kColumns * LogView->CharWidthPx() + kViewerMargin + bar + edge + frame.left() + frame.right(),
            kRows * LogView->LineHeightPx() + bar + edge + kToolBarHeight + kStatusBarHeight + frame.top() +
                frame.bottom()};
}

void TChildForm::KeepInsideFrame()
{
    // The frame's client area is only known once the frame is on screen.
    if (!Area->isVisible() || isMaximized() || isMinimized())
        return;
    const QRect area(QPoint(0, 0), Area->viewport()->size());
    setGeometry(FitInside(geometry(), area));
}

TChildForm::~TChildForm()
{
    if (Log && Log->Window == this)
        Log->Window = nullptr;
}

QToolButton* TChildForm::AddButton(QWidget* bar, const char* name, const QString& hint, int icon, bool enabled)
{
    QToolButton* b = AddToolBarButton(bar, name, hint, ToolIcon(static_cast<TToolIcon>(icon)));
    b->setEnabled(enabled);
    return b;
}

void TChildForm::BuildContextMenu()
{
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName("PopupMenu");
    const std::pair<const char*, void (TChildForm::*)()> views[] = {{"&Session list", &TChildForm::ShowSessionList},
                                                                    {"&Freq list", &TChildForm::ShowFreqList},
                                                                    {"&Timeline", &TChildForm::ShowTimeline},
                                                                    {"&Dial statistics", &TChildForm::ShowDialStat},
                                                                    {"&Node history", &TChildForm::ShowNodeHistoryAtCaret},
                                                                    {"Log o&verview", &TChildForm::ShowOverview}};
    int key = Qt::Key_F5;
    for (const auto& [text, show] : views) {
        QAction* a = PopupMenu->addAction(text, this, show);
        // Shown so that the keys can be learnt from the menu. The viewer's key handling runs
        // them, with its own rules for modifiers; the shortcut is bound to the menu alone so
        // that it never runs them a second time.
        a->setShortcut(QKeySequence(key++));
        a->setShortcutContext(Qt::WidgetShortcut);
        a->setShortcutVisibleInContextMenu(true);
    }
    PopupMenu->addSeparator();
    FollowAction = PopupMenu->addAction("&Follow", this, &TChildForm::ToggleFollow);
    FollowAction->setObjectName("FollowAction");
    FollowAction->setCheckable(true);
    FollowAction->setEnabled(false);
    // Shown for the styles that have options (Brake!); the Logs dialog's button does the same.
    LogOptionsAction = PopupMenu->addAction("Log &options...", this, &TChildForm::EditLogOptions);
    LogOptionsAction->setObjectName("LogOptionsAction");
    LogOptionsAction->setVisible(false);
    PopupMenu->addAction("&Close", this, &QWidget::close);
    LogView->SetContextMenu(PopupMenu);
}

QString TChildForm::StatusText(int panel) const { return panel >= 0 && panel < 3 ? Panels[panel]->text() : QString(); }

void TChildForm::SetStatusText(int panel, const QString& text)
{
    if (panel >= 0 && panel < 3)
        Panels[panel]->setText(text);
}

void TChildForm::LetEventsRun() { QApplication::processEvents(); }

bool TChildForm::KeepLoading(std::uint64_t done, std::uint64_t total)
{
    // Reading a log of gigabytes takes seconds: the window shows how far it got and lets events
    // run every 20 ms, as the analysis does, so it paints and can be closed meanwhile.
    if (!LoadClock.isValid())
        StartLoadProgress("Loading");
    if (LoadClock.elapsed() >= 20) {
        const std::uint64_t part = total > 0 ? std::min(done, total) * 1000 / total : 0;
        ProgressBar->setValue(static_cast<int>(part));
        if (!LoadingInPlace)
            LetEventsRun();
        LoadClock.restart();
    }
    // Loading in place, the pass lets events run as it goes: the load does it on the same clock,
    // or the window would be painted twice as often as it needs.
    if (LoadingInPlace)
        Env.Ui.KeepAlive();
    return !Closing;
}

void TChildForm::StartLoadProgress(const QString& doing)
{
    LoadClock.start();
    SetStatusText(0, doing);
    ProgressBar->setMaximum(1000);
    ProgressBar->setValue(0);
    ProgressBar->show();
}

TMailerLog* TChildForm::Mailer() const { return Log && Log->IsMailer() ? static_cast<TMailerLog*>(Log) : nullptr; }

TMailerLog* TChildForm::ViewedLog() const { return Mailer(); }

QString TChildForm::TextCodePage() const { return LogView->CodePage(); }

std::string TChildForm::SectionOf(TViewKind kind) const { return ViewSection(Log ? Log->Name : std::string(), kind); }

TLineSource TChildForm::Text() const
{
    return {static_cast<std::int32_t>(std::min<qint64>(LogView->LineCount(), INT32_MAX)),
            [view = LogView](std::int32_t n) { return view->LineBytes(n); }};
}

TLogLoad TChildForm::LoadContext()
{
    const TAppSettings& settings = Env.Settings;
    TLogLoad load{*Log, *LogView, Env.Ui, settings.OEMConvert, QString(), nullptr, nullptr};
    load.CodePage = QString::fromStdString(Mailer() ? settings.DisplayCodePage() : settings.ANSIPage());
    load.Progress = [this](std::int32_t maximum, std::int32_t value) {
        if (value < 0)
            ProgressBar->setMaximum(maximum);
        else
            ProgressBar->setValue(value);
    };
    load.Loading = [this](std::uint64_t done, std::uint64_t total) { return KeepLoading(done, total); };
    return load;
}

void TChildForm::FillDayList()
{
    DayListBox->clear();
    // In one insertion: a log of years holds a hundred thousand days, and the list lays itself
    // out again after each single one.
    QStringList days;
    days.reserve(static_cast<qsizetype>(Mailer()->Days.size()));
    for (const TNewDay& d : Mailer()->Days)
        days << QString::fromStdString(FormatDDMMM(d.Date));
    DayListBox->addItems(days);
}

void TChildForm::AddNewDays()
{
    const std::vector<TNewDay>& days = Mailer()->Days;
    QStringList more;
    for (std::size_t i = static_cast<std::size_t>(DayListBox->count()); i < days.size(); ++i)
        more << QString::fromStdString(FormatDDMMM(days[i].Date));
    DayListBox->addItems(more);
}

void TChildForm::EditLogOptions()
{
    if (!Log || !Log->HasOptions || Busy)
        return;
    if (Log->EditOptions(Env.Ui) && Analyzed)
        ReanalyzeText(OpensInSteps());
}

void TChildForm::ReanalyzeText(bool inSteps)
{
    TMailerLog* mailer = Mailer();
    if (!mailer)
        return;
    QPointer<TChildForm> self(this);
    Busy = true;
    // The pass lets events through, paints of the views among them: they let go of the records first.
    for (TViewForm* view : Views())
        if (view)
            view->DropRecords();
    SetStatusText(0, "Analyzing");
    const bool whole = AnalyzeText({}, inSteps);
    if (!self)
        return;
    Busy = false;
    if (Closing || Log->Window != this) {
        deleteLater();
        return;
    }
    SetStatusText(0, whole ? "Analysis complete" : "Analysis aborted");
    SetStatusText(1, QString("%1 days, %2 sessions").arg(mailer->DayCount).arg(mailer->SessCount));
    FillDayList();
    for (TViewForm* view : Views())
        if (view)
            view->ShowRecords();
}

void TChildForm::LoadAndAnalyze(TLog* log)
{
    QPointer<TChildForm> self(this);
    Busy = true;
    show();
    // The area places a new window when it is first shown, as if it had the room.
    KeepInsideFrame();
    Log = log;
    Log->Window = this;
    LogOptionsAction->setVisible(Log->HasOptions);
    ApplyColors();
    ApplyFont();
    const TAppSettings& settings = Env.Settings;
    TMailerLog* mailer = Mailer();
    bool loaded = true;
    if (mailer) {
        ProgressBar->show();
        bool whole = false;
        QElapsedTimer clock;
        // With nothing to cut, the text is analysed as it loads, on both cores; a cut needs the
        // whole text first.
        const bool together = Log->CutSize <= 0;
        if (together) {
            clock.start();
            loaded = LoadAnalyzing(whole);
        } else {
            loaded = LoadLogText(LoadContext());
        }
        if (!together && loaded && !Closing) {
            LetEventsRun();
            SetStatusText(0, "Cutting");
            LetEventsRun();
            loaded = !Closing && CutLog(LoadContext());
        }
        if (!together && loaded && !Closing) {
            SetStatusText(0, "Analyzing");
            LetEventsRun();
            ProgressBar->setMaximum(static_cast<int>(std::min<qint64>(LogView->LineCount(), INT32_MAX)));
            ProgressBar->setValue(0);
            ProgressBar->show();
            clock.start();
            if (!Closing) {
                // The bar is 124 pixels wide: moving it more often than every 1/256 costs time only.
                const std::int32_t step = std::max(1, ProgressBar->maximum() / 256);
                std::int32_t next = 0;
                whole = AnalyzeText(
                    [this, step, &next](std::int32_t line) {
                        if (line >= next) {
                            ProgressBar->setValue(line);
                            next = line + step;
                        }
                    },
                    OpensInSteps());
            }
        }
        if (Closing || Log->Window != this) {
            Busy = false;
            deleteLater();
            return;
        }
        if (!whole) {
            ProgressBar->hide();
            SetStatusText(0, "Analysis aborted");
        } else {
            const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
            if (mailer->UpdateDLC) {
                const QString dir = QDir::currentPath();
                SetStatusText(0, "Processing DLC");
                ProgressBar->setValue(0);
                ProgressBar->setMaximum(mailer->FirstNewFreq == -1 ? static_cast<int>(mailer->Freqs.size())
                                                                   : mailer->NewFreqCount);
                RunDlcUpdate(*mailer, Env.Ui, settings.DlcFormat(), [this](std::int32_t i) { ProgressBar->setValue(i); });
                QDir::setCurrent(dir);
            }
            ProgressBar->hide();
            long long secs = std::llround(seconds);
            if (secs <= 0)
                secs = 1;
            SetStatusText(0, QString("Analysis complete, %1 lines/sec").arg(LogView->LineCount() / secs));
            SetStatusText(1, QString("%1 days, %2 sessions").arg(mailer->DayCount).arg(mailer->SessCount));
            if (Log->AutoNew && mailer->MarkLineNo > 0)
                LogView->SetFirstVisibleLine(mailer->MarkLineNo);
            PrevSessBtn->setEnabled(true);
            NextSessBtn->setEnabled(true);
            BtnDayList->setEnabled(true);
            SessListBtn->setEnabled(true);
            FreqListBtn->setEnabled(true);
            TimelineBtn->setEnabled(true);
            BtnDialStat->setEnabled(true);
            Analyzed = true;
            FillDayList();
        }
    } else {
        LogView->SetCodePage(QString::fromStdString(settings.ANSIPage()));
        QString error;
        if (!LogView->LoadFromFile(QString::fromStdString(ResolvePath(Log->Path)), &error,
                                   [this](std::uint64_t done, std::uint64_t total) { return KeepLoading(done, total); })) {
            if (!Closing)
                Env.Ui.Message("Error reading log: " + error.toStdString(), TMsgKind::Error, TMsgButtons::OK);
            loaded = false;
        } else
            loaded = !Closing && CutLog(LoadContext());
        ProgressBar->hide();
        SetStatusText(0, QString());  // a generic log shows no analysis status
        if (Closing) {
            Busy = false;
            deleteLater();
            return;
        }
        if (loaded && Log->AutoNew) {
            TBusyCursor busy(Env.Ui);
            LogView->SetFirstVisibleLine(FindLastStr(Text(), Log->LastStr));
        }
        if (Log->Style == lsGenericFD) {
            RunsForSessions = true;
            PrevSessBtn->setEnabled(true);
            NextSessBtn->setEnabled(true);
            PrevSessBtn->setToolTip("Previous run");
            NextSessBtn->setToolTip("Next run");
        }
    }
    // Other is never coloured, whatever its Highlight says, and Highlight is left as stored.
    const bool other = Log->Style == lsOther;
    LogView->SetHighlight(other ? false : Log->Highlight);
    HiliteBtn->setChecked(other ? false : Log->Highlight);
    HiliteBtn->setEnabled(!other);
    Log->ColorLineNo = -1;
    CurSession = -1;
    Busy = false;
    if (Analyzed && !Closing && settings.SaveDesktop)
        ReopenViews();
    if (Closing && self) {
        deleteLater();
        return;
    }
    // A mailer log is followed only with its analysis whole, which the new lines go on from.
    if (self && loaded && (!mailer || Analyzed)) {
        FollowBtn->setEnabled(true);
        FollowAction->setEnabled(true);
        if (Log->Follows())
            StartFollowing();
    }
}

void TChildForm::ApplyColors()
{
    LogViewer::ColorTable table;
    for (int i = 0; i < kColorItemCount; ++i)
        table[static_cast<std::size_t>(i)] = Env.Colors.Color(i);
    LogView->SetColors(table);
    LogView->SetWordColorCallback([this](std::string_view word, int line, int column) {
        return Log ? static_cast<int>(Log->GetWordColor(word, line, column)) : 0;
    });
    LogView->Repaint();
    if (SessList)
        SessList->Repaint();
    if (Timeline)
        Timeline->Strip->update();
}

void TChildForm::ApplyCodePage()
{
    const TAppSettings& settings = Env.Settings;
    LogView->SetCodePage(QString::fromStdString(Mailer() ? settings.DisplayCodePage() : settings.ANSIPage()));
}

void TChildForm::ApplyFont()
{
    LogView->SetLogFont(Env.Font.Font);
    LogView->SetTextColor(Env.Colors.Color(TColorItem::Normal));
    LogView->Repaint();
}

std::int32_t TChildForm::CaretLine() const
{
    qint64 sl = 1, sp = 0, el = 1, ep = 0;
    LogView->GetSelection(sl, sp, el, ep);
    return static_cast<std::int32_t>(std::min<qint64>(sl, INT32_MAX));
}

void TChildForm::GotoLine(std::int32_t n)
{
    LogView->SetCaretLine(n);
    LogView->SetFirstVisibleLine(n);
    UpdatePosition();
}

void TChildForm::UpdatePosition()
{
    TMailerLog* mailer = Mailer();
    if (!mailer || !Analyzed)
        return;
    const std::int32_t line = CaretLine();
    CurDay = mailer->DayAtLine(line);
    if (Timeline)
        Timeline->SetDay(CurDay);
    if (DialStat)
        DialStat->SetDay(CurDay);
    if (Overview)
        Overview->SetDay(CurDay);
    const std::int32_t s = mailer->SessionAtLine(line);
    if (s != -1) {
        const TSess& sess = mailer->Session(s);
        SetStatusText(0, QString::fromStdString(FormatHHMMSS(sess.StartTime) + " " + SessDescription(sess)));
        if (SessList)
            SessList->SelectSession(s);
        CurSession = s;
    } else
        SetStatusText(0, QString());
}

void TChildForm::PrevDay()
{
    if (TMailerLog* mailer = Mailer()) {
        GotoLine(PrevDayLine(*mailer, CaretLine()));
    } else if (Log) {
        TBusyCursor busy(Env.Ui);
        if (const std::int32_t line = GenericPrevDayLine(*Log, Text(), CaretLine()); line > 0)
            GotoLine(line);
    }
}

void TChildForm::NextDay()
{
    if (TMailerLog* mailer = Mailer()) {
        GotoLine(NextDayLine(*mailer, CaretLine()));
    } else if (Log) {
        TBusyCursor busy(Env.Ui);
        if (const std::int32_t line = GenericNextDayLine(*Log, Text(), CaretLine()); line > 0)
            GotoLine(line);
    }
}

void TChildForm::PrevSession()
{
    if (TMailerLog* mailer = Mailer())
        GotoLine(PrevSessionLine(*mailer, CaretLine()));
}

void TChildForm::NextSession()
{
    if (TMailerLog* mailer = Mailer())
        GotoLine(NextSessionLine(*mailer, CaretLine()));
}

void TChildForm::PrevRun()
{
    TBusyCursor busy(Env.Ui);
    GotoLine(PrevRunLine(Text(), CaretLine()));
}

void TChildForm::NextRun()
{
    TBusyCursor busy(Env.Ui);
    GotoLine(NextRunLine(Text(), CaretLine()));
}

void TChildForm::ToggleHighlight()
{
    if (!Log || Log->Style == lsOther)
        return;
    const bool on = !LogView->Highlight();
    LogView->SetHighlight(on);
    HiliteBtn->setChecked(on);
    Log->Highlight = on;
    Log->ColorLineNo = -1;
}

void TChildForm::DeleteLogAndExit()
{
    if (!Log)
        return;
    std::string error;
    if (!RemoveFile(ResolvePath(Log->Path), &error)) {
        Env.Ui.Message(error, TMsgKind::Error, TMsgButtons::OK);
        return;
    }
    close();
}

void TChildForm::ToggleDayList()
{
    if (DayListBox->isVisible()) {
        DayListBox->hide();
        return;
    }
    const QPoint below = BtnDayList->mapTo(widget(), QPoint(0, BtnDayList->height()));
    DayListBox->move(below);
    DayListBox->raise();
    DayListBox->show();
    if (CurDay >= 0 && CurDay < DayListBox->count())
        DayListBox->setCurrentRow(CurDay);
    else
        DayListBox->setCurrentRow(-1);
    DayListBox->setFocus();
}

void TChildForm::DayListChosen()
{
    TMailerLog* mailer = Mailer();
    const int row = DayListBox->currentRow();
    DayListBox->hide();
    if (mailer && row >= 0 && row < static_cast<int>(mailer->Days.size()))
        GotoLine(mailer->Days[static_cast<std::size_t>(row)].LineNo);
    LogView->setFocus();
}

void TChildForm::ShowTimeline()
{
    TMailerLog* mailer = Mailer();
    if (!mailer || !Analyzed)
        return;
    if (mailer->SessCount == 0) {
        Env.Ui.Message("Can't show timeline: no sessions in log", TMsgKind::Warning, TMsgButtons::OK);
        return;
    }
    if (!BringToFront(Timeline))
        OpenTimeline();
}

void TChildForm::ShowFreqList()
{
    if (Mailer() && Analyzed && !BringToFront(FreqList))
        OpenFreqList();
}

void TChildForm::ShowDialStat()
{
    if (Mailer() && Analyzed && !BringToFront(DialStat))
        OpenDialStat();
}

QPoint TChildForm::ViewOpeningPos() const
{
    const int open = (SessList ? 1 : 0) + (FreqList ? 1 : 0) + (Timeline ? 1 : 0) + (DialStat ? 1 : 0);
    const int step = 24 * (open + 1);
    return LogView->mapToGlobal(QPoint(step, step));
}

QRect TChildForm::ViewArea() const { return {Area->mapToGlobal(QPoint(0, 0)), Area->size()}; }

bool TChildForm::BringToFront(QWidget* view)
{
    if (!view)
        return false;
    view->show();
    view->raise();
    view->activateWindow();
    return true;
}

template <class View>
View* TChildForm::MakeView()
{
    auto* view = new View(Env, *this, this);
    connect(view, &TViewForm::LineChosen, this, [this](int line) { GotoLine(line); });
    connect(view, &TViewForm::NodeHistoryAsked, this, &TChildForm::ShowNodeHistory);
    // From now on a new view opens, even before this one is deleted.
    connect(view, &TViewForm::Closed, this, [this, closed = static_cast<TViewForm*>(view)] {
        auto forget = [closed](auto& pointer) {
            if (static_cast<TViewForm*>(pointer.data()) == closed)
                pointer = nullptr;
        };
        forget(SessList);
        forget(FreqList);
        forget(Timeline);
        forget(DialStat);
        forget(NodeHist);
        forget(Overview);
    });
    return view;
}

std::array<TViewForm*, 6> TChildForm::Views() const
{
    return {SessList, FreqList, Timeline, DialStat, NodeHist, Overview};
}

void TChildForm::OpenFreqList()
{
    FreqList = MakeView<TFreqForm>();
    FreqList->Open();
}

void TChildForm::OpenTimeline()
{
    Timeline = MakeView<TTimelineForm>();
    Timeline->Open();
    Timeline->SetDay(CurDay);
}

void TChildForm::OpenDialStat()
{
    DialStat = MakeView<TDialStatForm>();
    DialStat->Open();
    DialStat->SetDay(CurDay);
    DialStat->show();
}

void TChildForm::ReopenViews()
{
    auto wasOpen = [this](TViewKind kind) { return Env.Store.ReadBool(SectionOf(kind), "Open", false); };
    if (wasOpen(TViewKind::SessList))
        OpenSessionList(Mailer()->MarkLineNo);
    if (wasOpen(TViewKind::FreqList))
        OpenFreqList();
    if (wasOpen(TViewKind::Timeline) && Mailer()->SessCount != 0)
        OpenTimeline();
    if (wasOpen(TViewKind::DialStat))
        OpenDialStat();
    if (wasOpen(TViewKind::Overview))
        ShowOverview();
    TFidoAddr node;
    std::string error;
    if (wasOpen(TViewKind::NodeHist) &&
        TFidoAddr::TryParse(Env.Store.ReadString(SectionOf(TViewKind::NodeHist), "Addr", ""), node, error))
        ShowNodeHistory(node);
}

void TChildForm::ShowNodeHistory(const TFidoAddr& addr)
{
    if (!Mailer() || !Analyzed)
        return;
    if (!NodeHist)
        NodeHist = MakeView<TNodeHistoryForm>();
    NodeHist->Open(addr);
    NodeHist->raise();
    NodeHist->activateWindow();
}

void TChildForm::ShowNodeHistoryAtCaret()
{
    TMailerLog* mailer = Mailer();
    if (!mailer || !Analyzed)
        return;
    const std::int32_t line = CaretLine();
    if (const std::optional<TFidoAddr> addr = NodeAtLine(*mailer, line, LogView->LineBytes(line)))
        ShowNodeHistory(*addr);
    else
        SetStatusText(0, "No node on this line");
}

void TChildForm::ShowOverview()
{
    if (!Mailer() || !Analyzed || BringToFront(Overview))
        return;
    Overview = MakeView<TOverviewForm>();
    Overview->Open();
    Overview->SetDay(CurDay);
}

void TChildForm::ShowSessionList()
{
    if (Mailer() && Analyzed && !BringToFront(SessList))
        OpenSessionList(CaretLine());
}

void TChildForm::OpenSessionList(std::int32_t caretLine)
{
    if (!Mailer() || SessList)
        return;
    SessList = MakeView<TSessListForm>();
    SessList->Open(caretLine);
}

void TChildForm::ViewerKey(int key, Qt::KeyboardModifiers mods)
{
    mods &= Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier;
    if (mods != Qt::NoModifier) {
        if (!(mods & Qt::AltModifier))
            return;
        switch (key) {
        case Qt::Key_Left: PrevSession(); break;
        case Qt::Key_Right: NextSession(); break;
        case Qt::Key_Up: PrevDay(); break;
        case Qt::Key_Down: NextDay(); break;
        default: break;
        }
        return;
    }
    switch (key) {
    case Qt::Key_F5: ShowSessionList(); break;
    case Qt::Key_F6: ShowFreqList(); break;
    case Qt::Key_F7: ShowTimeline(); break;
    case Qt::Key_F8: ShowDialStat(); break;
    case Qt::Key_F9: ShowNodeHistoryAtCaret(); break;
    case Qt::Key_F10: ShowOverview(); break;
    case Qt::Key_Escape: close(); break;
    default: break;
    }
}

void TChildForm::SaveViewState()
{
    if (!Log)
        return;
    ISettingsStore& store = Env.Store;
    const std::array<TViewForm*, 6> views = Views();
    for (TViewKind kind : kViewKinds) {
        TViewForm* view = views[static_cast<std::size_t>(kind)];
        const std::string section = SectionOf(kind);
        store.WriteBool(section, "Open", view != nullptr);
        if (!view)
            continue;
        // The frame's corner, as move() takes it back; the size without the frame, as resize().
        store.WriteInteger(section, "Left", view->pos().x());
        store.WriteInteger(section, "Top", view->pos().y());
        store.WriteInteger(section, "Width", view->width());
        store.WriteInteger(section, "Height", view->height());
        view->close();
    }
}

std::string TChildForm::MarkOfFile() const
{
    SharedReadFile file;
    std::string error;
    if (!file.Open(ResolvePath(Log->Path), error))
        return TakeLastStr(Text());
    const std::int64_t size = file.Size();
    return TakeLastStr(size > 0 ? static_cast<std::uint64_t>(size) : 0, [&](std::uint64_t from, std::size_t n) {
        std::string bytes(n, '\0');
        std::size_t done = 0;
        while (done < n) {
            const std::int64_t got = file.ReadAt(from + done, bytes.data() + done, n - done, error);
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(done);
        return bytes;
    });
}

void TChildForm::closeEvent(QCloseEvent* event)
{
    if (Closing) {
        event->accept();
        return;
    }
    Closing = true;
    Follower->Stop();
    if (Log) {
        SaveViewState();
        Log->Window = nullptr;
        Log->LastStr = CoveredMark ? *CoveredMark : LoadingInPlace ? MarkOfFile() : TakeLastStr(Text());
    }
    event->accept();
    hide();
    // A window whose analysis is still on the stack goes once that pass has returned.
    if (!Busy)
        deleteLater();
}

// ---------------------------------------------------------------------------------------------
// Following

bool TChildForm::OpensInSteps() const
{
    const LogText& text = LogView->Model();
    const std::size_t size = text.ByteCount();
    return Log->Follows() && (size == 0 || text.ReadRange(size - 1, size) == "\n");
}

bool TChildForm::AnalyzeText(const TProgressFn& progress, bool inSteps)
{
    TMailerLog* mailer = Mailer();
    PassGoesOn = false;
    // The pass takes the viewer's text in pieces, read on a second thread while it parses one:
    // the lines it reads are the ones shown, and the text is never held whole. In one go the
    // text is then ended, which reads a last line without its end as Analyze does.
    // The steps' own busy cursor covers reading the configuration only.
    if (!mailer->BeginPass(Env.Ui))
        return false;
    bool whole = false;
    {
        TBusyCursor busy(Env.Ui);
        const LogText& text = LogView->Model();
        whole = text.ForEachPiece(0, text.ByteCount(), kPassPiece, [&](std::string_view piece) {
            return mailer->FeedPass(Env.Ui, piece, progress);
        });
        if (whole && !inSteps)
            whole = mailer->EndPass(Env.Ui, progress);
        (void)mailer->SettlePass(Env.Ui);
    }
    PassGoesOn = whole && inSteps;
    return whole;
}

bool TChildForm::LoadAnalyzing(bool& whole)
{
    TMailerLog* mailer = Mailer();
    PassGoesOn = false;
    whole = false;
    bool started = false;
    bool feeding = false;
    std::optional<TBusyCursor> busy;
    StartLoadProgress("Analyzing");
    tarvex::LogText::LoadSink sink;
    sink.Start = [&] {
        // A file read again from its start (it was found shorter) is analysed afresh.
        busy.reset();
        started = feeding = mailer->BeginPass(Env.Ui);
        if (feeding)
            busy.emplace(Env.Ui);
    };
    bool first = true;
    sink.Piece = [&](std::string_view piece) {
        // A pass that stopped (a question said no, the window closes) lets the text load on.
        if (feeding && !Closing)
            feeding = mailer->FeedPass(Env.Ui, piece);
        // The first screen of lines is shown at once.
        if (first) {
            first = false;
            LetEventsRun();
        }
    };
    LoadingInPlace = true;
    const bool loaded = LoadLogText(LoadContext(), sink);
    LoadingInPlace = false;
    if (loaded && feeding && !Closing) {
        // In one go the text is then ended, which reads a last line without its end as Analyze
        // does.
        const bool inSteps = OpensInSteps();
        whole = inSteps || mailer->EndPass(Env.Ui);
        PassGoesOn = whole && inSteps;
    }
    if (started)
        (void)mailer->SettlePass(Env.Ui);
    return loaded;
}

bool TChildForm::IsFollowing() const { return Follower->IsOn(); }

void TChildForm::SyncFollowToggle(bool on)
{
    FollowBtn->setChecked(on);
    FollowAction->setChecked(on);
    SetStatusText(2, on ? "Following" : QString());
}

void TChildForm::ToggleFollow()
{
    if (!Log || Busy || Closing || !FollowBtn->isEnabled()) {
        SyncFollowToggle(IsFollowing());
        return;
    }
    const bool on = !IsFollowing();
    Log->Follow = on;
    if (on)
        StartFollowing();
    else
        StopFollowing(QString());
}

void TChildForm::StartFollowing()
{
    if (IsFollowing())
        return;
    if (Mailer() && !PassGoesOn && OpensInSteps()) {
        // Analysed in one go (Follow was off): the lines to come need a pass in steps.
        QPointer<TChildForm> self(this);
        ReanalyzeText(true);
        if (!self || Closing || !PassGoesOn) {
            if (self)
                SyncFollowToggle(false);
            return;
        }
    }
    std::string error;
    if (!Follower->Start(ResolvePath(Log->Path), LogView->Model(), error)) {
        SyncFollowToggle(false);
        SetStatusText(0, QString::fromStdString(error));
        return;
    }
    // Taken before a line is added: later lines are left to the next opening's DLC update.
    if (!CoveredMark)
        CoveredMark = TakeLastStr(Text());
    SyncFollowToggle(true);
    // What the mailer wrote since the text was read comes at once.
    Follower->Nudge();
}

void TChildForm::StopFollowing(const QString& why)
{
    Follower->Stop();
    SyncFollowToggle(false);
    if (!why.isEmpty())
        SetStatusText(0, why);
}

void TChildForm::PollFollowed()
{
    // A pass still running (the opening one, or a poll's, letting events through) is left alone:
    // the next notice or the fallback poll comes back.
    if (!IsFollowing() || Busy || Closing)
        return;
    std::string error;
    switch (Follower->Poll(FollowBytes, error, kFollowPiece)) {
    case TFollowChange::Nothing: return;
    case TFollowChange::Appended: TakeAppended(); break;
    case TFollowChange::Rewritten:
    case TFollowChange::Rotated: StartOverFollowed(); break;
    case TFollowChange::Removed: StopFollowing("Log file removed: following stopped"); return;
    case TFollowChange::Failed: StopFollowing(QString::fromStdString(error)); return;
    }
    if (IsFollowing() && Follower->Behind())
        Follower->Nudge();
}

void TChildForm::TakeAppended()
{
    const bool atEnd = LogView->AtEnd();
    if (!LogView->AppendText(FollowBytes)) {
        StopFollowing("Not enough memory for the new lines: following stopped");
        return;
    }
    TMailerLog* mailer = Mailer();
    if (mailer && !PassGoesOn) {
        // Its last line was read without its end, in one go: the pass starts over, in steps.
        QPointer<TChildForm> self(this);
        ReanalyzeText(true);
        if (!self || Closing)
            return;
        if (!PassGoesOn)
            StopFollowing("Analysis aborted: following stopped");
    } else if (mailer) {
        QPointer<TChildForm> self(this);
        Busy = true;
        const bool goOn = mailer->FeedPass(Env.Ui, FollowBytes);
        if (!self)
            return;
        Busy = false;
        if (Closing || Log->Window != this) {
            deleteLater();
            return;
        }
        ShowGrowth(mailer->SettlePass(Env.Ui));
        if (!goOn) {
            PassGoesOn = false;
            StopFollowing("Analysis aborted: following stopped");
        }
    }
    if (atEnd)
        UpdatePosition();
}

void TChildForm::ShowGrowth(const TPassGrowth& growth)
{
    TMailerLog* mailer = Mailer();
    SetStatusText(1, QString("%1 days, %2 sessions").arg(mailer->DayCount).arg(mailer->SessCount));
    AddNewDays();
    for (TViewForm* view : Views())
        if (view)
            view->RecordsGrew(growth);
}

void TChildForm::StartOverFollowed()
{
    const bool atEnd = LogView->AtEnd();
    TMailerLog* mailer = Mailer();
    QPointer<TChildForm> self(this);
    Busy = true;
    for (TViewForm* view : Views())
        if (view)
            view->DropRecords();
    // The text is read again from the file as at opening (on demand, analysed as it loads, never
    // cut again), not from the poll's bytes: a log written anew may be as big as the one before,
    // and the viewer would hold it all. Following starts again from what was read.
    FollowBytes.clear();
    Follower->Stop();
    Log->ColorLineNo = -1;
    CurSession = -1;
    bool whole = true;
    bool loaded = true;
    if (mailer) {
        loaded = LoadAnalyzing(whole);
    } else {
        QString error;
        loaded = LogView->LoadFromFile(QString::fromStdString(ResolvePath(Log->Path)), &error,
                                       [this](std::uint64_t done, std::uint64_t total) { return KeepLoading(done, total); });
    }
    if (!self)
        return;
    ProgressBar->hide();
    Busy = false;
    if (Closing || Log->Window != this) {
        deleteLater();
        return;
    }
    if (mailer) {
        SetStatusText(1, QString("%1 days, %2 sessions").arg(mailer->DayCount).arg(mailer->SessCount));
        FillDayList();
        for (TViewForm* view : Views())
            if (view)
                view->ShowRecords();
    }
    if (atEnd)
        LogView->SetCaretLine(LogView->LineCount());
    UpdatePosition();
    if (!loaded) {
        StopFollowing("Log file cannot be read: following stopped");
        return;
    }
    if (!whole) {
        StopFollowing("Analysis aborted: following stopped");
        return;
    }
    SyncFollowToggle(false);
    StartFollowing();
    if (IsFollowing())
        SetStatusText(0, "Log file written anew: read again");
}
