#include "app/frameform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QFileInfo>
#include <QFontDialog>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <cstdio>

#include "app/childform.h"
#include "app/emptyareahint.h"
#include "app/logfilechoice.h"
#include "app/qtsettingsstore.h"
#include "app/startsettings.h"
#include "base/fidoaddr.h"
#include "common/windowplacement.h"
#include "log/mailerlog.h"
#include "platform/envnames.h"
#include "platform/paths.h"
#include "setup/colorsetupform.h"
#include "setup/generaloptionsform.h"
#include "setup/logsetupform.h"
#include "styles/logfactory.h"
#include "tmail/historyform.h"
#include "tmail/trafficform.h"
#include "version.h"
#include "views/viewhost.h"

using tarvex::TLog;

namespace {

QString MenuCaption(const std::string& name) { return QString::fromStdString(name).replace('&', "&&"); }

constexpr const char* kPlacementSection = "TFrameForm";

}  // namespace

TFrameForm::TFrameForm(std::unique_ptr<tarvex::ISettingsStore> store, std::unique_ptr<TQtUserInterface> ui, QWidget* parent)
    : QMainWindow(parent), Reg(std::move(store)), UI(std::move(ui))
{
    if (!Reg)
        Reg = std::make_unique<TQtSettingsStore>();
    if (!UI)
        UI = std::make_unique<TQtUserInterface>(this);
    setObjectName("TFrameForm");
    setWindowTitle("Tarvex");
    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName("MdiArea");
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MdiArea);
    EmptyHint = new TEmptyAreaHint(MdiArea);
    setAcceptDrops(true);
    CreateMenus();
    setGeometry(168, 86, 673, 534);
}

TFrameForm::~TFrameForm()
{
    if (PaintWatched)
        PaintWatched->removeEventFilter(this);
    // The log windows point at the logs: they go first.
    delete MdiArea;
    MdiArea = nullptr;
}

void TFrameForm::CreateMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    QAction* openLog = file->addAction("&Open log...");
    openLog->setObjectName("OpenLogItem");
    connect(openLog, &QAction::triggered, this, &TFrameForm::OpenLogItemClick);
    QAction* exitAct = file->addAction("E&xit");
    exitAct->setObjectName("ExitItem");
    // Alt+X closes the program from any of its windows; Alt+Shift+X is another key.
    exitAct->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    exitAct->setShortcutContext(Qt::ApplicationShortcut);
    connect(exitAct, &QAction::triggered, this, &QWidget::close);
    addAction(exitAct);

    LogsMenu = menuBar()->addMenu("&Logs");
    LogsMenu->setObjectName("LogsMenu");
    LogsMenuAction = LogsMenu->menuAction();

    TMailMenu = menuBar()->addMenu("&T-mail");
    TMailMenu->setObjectName("TMailMenu");
    TMailMenuAction = TMailMenu->menuAction();
    QAction* traffic = TMailMenu->addAction("&Traffic");
    traffic->setObjectName("TrafficItem");
    connect(traffic, &QAction::triggered, this, &TFrameForm::ShowTraffic);
    QAction* history = TMailMenu->addAction("&History");
    history->setObjectName("HistoryItem");
    connect(history, &QAction::triggered, this, &TFrameForm::ShowHistory);

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("OptionsMenu");
    QAction* general = options->addAction("&General...");
    general->setObjectName("GeneralItem");
    connect(general, &QAction::triggered, this, &TFrameForm::GeneralItemClick);
    QAction* logsSetup = options->addAction("&Logs...");
    logsSetup->setObjectName("LogsSetupItem");
    connect(logsSetup, &QAction::triggered, this, &TFrameForm::LogsSetupItemClick);
    QAction* colors = options->addAction("&Colors...");
    colors->setObjectName("ColorsItem");
    connect(colors, &QAction::triggered, this, &TFrameForm::ColorsItemClick);
    QAction* font = options->addAction("&Font...");
    font->setObjectName("FontItem");
    connect(font, &QAction::triggered, this, &TFrameForm::FontItemClick);

    WindowMenu = menuBar()->addMenu("&Window");
    WindowMenu->setObjectName("WindowMenu");
    connect(WindowMenu, &QMenu::aboutToShow, this, &TFrameForm::UpdateWindowMenu);
    UpdateWindowMenu();

    QMenu* help = menuBar()->addMenu("&Help");
    QAction* about = help->addAction("&About");
    about->setObjectName("AboutItem");
    connect(about, &QAction::triggered, this, &TFrameForm::AboutItemClick);

    LogsMenuAction->setVisible(false);
    TMailMenuAction->setVisible(false);
}

void TFrameForm::UpdateWindowMenu()
{
    WindowMenu->clear();
    QAction* tile = WindowMenu->addAction("&Tile");
    tile->setObjectName("TileItem");
    connect(tile, &QAction::triggered, MdiArea, &QMdiArea::tileSubWindows);
    QAction* cascade = WindowMenu->addAction("&Cascade");
    cascade->setObjectName("CascadeItem");
    connect(cascade, &QAction::triggered, MdiArea, &QMdiArea::cascadeSubWindows);
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList(QMdiArea::CreationOrder);
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        if (!w->isVisible())
            continue;
        if (n == 0)
            WindowMenu->addSeparator();
        ++n;
        QAction* a = WindowMenu->addAction(QString("&%1 %2").arg(n).arg(w->windowTitle().replace('&', "&&")));
        a->setCheckable(true);
        a->setChecked(w == MdiArea->activeSubWindow());
        QPointer<QMdiSubWindow> target(w);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target)
                MdiArea->setActiveSubWindow(target);
        });
    }
}

void TFrameForm::showEvent(QShowEvent* event)
{
    if (!Shown) {
        Shown = true;
        RestoreWindowPlacement(*Reg, kPlacementSection, *this);
        FormShow();
        // The desktop comes back after the first paint, so the frame is on screen meanwhile.
        PaintWatched = MdiArea->viewport();
        PaintWatched->installEventFilter(this);
    }
    QMainWindow::showEvent(event);
}

bool TFrameForm::eventFilter(QObject* watched, QEvent* event)
{
    if (PaintWatched && watched == PaintWatched && event->type() == QEvent::Paint) {
        PaintWatched->removeEventFilter(this);
        PaintWatched = nullptr;
        QMetaObject::invokeMethod(this, &TFrameForm::RestoreDesktop, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFrameForm::FormShow()
{
    DesktopRestored = false;
    LogFont.Load(*Reg);
    // A log of a style this version does not know is reported and kept as stored.
    LoadStartSettings(*Reg, *UI, AppSettings, Logs, LogColors);
    tarvex::SetShowDomain(AppSettings.ShowDomain);
    tarvex::SetDriveMap(AppSettings.Drives);
    tarvex::SetEnvironmentNames(AppSettings.Environment);
    tarvex::SetDriveGuessReport([](char letter, const std::string& dir) {
        std::fprintf(stderr, "tarvex: drive %c: taken as %s (guessed from the mailer path; settings section Drives sets it)\n",
                     letter, dir.c_str());
    });
    LogCountAtStart = Logs.HighestSection;
    RebuildLogsMenu();
    UpdateMenus();
}

void TFrameForm::RebuildLogsMenu()
{
    LogsMenu->clear();
    for (std::size_t i = 0; i < Logs.Count(); ++i) {
        QAction* a = LogsMenu->addAction(MenuCaption(Logs[i].Name));
        a->setData(static_cast<int>(i + 1));
        a->setProperty("LogName", QString::fromStdString(Logs[i].Name));
        connect(a, &QAction::triggered, this, [this, a] { LogMenuItemClick(a->data().toInt()); });
    }
}

void TFrameForm::AddLogMenuItem(std::unique_ptr<TLog> log)
{
    Logs.Add(std::move(log));
    RebuildLogsMenu();
}

void TFrameForm::RemoveLog(TLog* log)
{
    const int i = Logs.IndexOf(log);
    if (i < 0)
        return;
    for (TViewKind view : kViewKinds)
        Reg->EraseSection(ViewSection(log->Name, view));
    Logs.Delete(static_cast<std::size_t>(i));
    RebuildLogsMenu();
}

void TFrameForm::RenameLogMenuItem(const std::string& oldName, const std::string& newName, int position)
{
    const QString old = QString::fromStdString(oldName);
    const QList<QAction*> items = LogsMenu->actions();
    if (position >= 1 && position <= items.size() && items[position - 1]->property("LogName").toString() == old) {
        items[position - 1]->setText(MenuCaption(newName));
        items[position - 1]->setProperty("LogName", QString::fromStdString(newName));
        return;
    }
    for (QAction* a : items)
        if (a->property("LogName").toString() == old) {
            a->setText(MenuCaption(newName));
            a->setProperty("LogName", QString::fromStdString(newName));
            return;
        }
}

void TFrameForm::LogRenamed(const TLog& log, const std::string& oldName, int position)
{
    RenameLogMenuItem(oldName, log.Name, position);
    if (TChildForm* w = WindowOfLog(&log))
        w->setWindowTitle(QString::fromStdString(log.Name));
}

void TFrameForm::EditLogOptions(TLog& log)
{
    if (TChildForm* w = WindowOfLog(&log))
        w->EditLogOptions();
    else
        log.EditOptions(*UI);
}

void TFrameForm::UpdateMenus()
{
    LogsMenuAction->setVisible(Logs.Count() > 0);
    TMailMenuAction->setVisible(!Logs.MailerPathOfStyle(tarvex::lsTMail).empty());
    EmptyHint->SetNoLogs(Logs.Count() == 0);
}

void TFrameForm::LogMenuItemClick(int tag)
{
    if (tag < 1 || static_cast<std::size_t>(tag) > Logs.Count())
        return;
    ShowLog(&Logs[static_cast<std::size_t>(tag - 1)]);
}

void TFrameForm::ShowLog(TLog* log)
{
    if (TChildForm* w = WindowOfLog(log)) {
        MdiArea->setActiveSubWindow(w);
        w->raise();
        return;
    }
    OpenLog(log);
}

TChildForm* TFrameForm::WindowOfLog(const TLog* log) const
{
    for (TChildForm* w : LogWindows())
        if (w->Log == log)
            return w;
    return nullptr;
}

QList<TChildForm*> TFrameForm::LogWindows() const
{
    QList<TChildForm*> out;
    if (!MdiArea)
        return out;
    const QList<QMdiSubWindow*> stack = MdiArea->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.crbegin(); it != stack.crend(); ++it)
        if (auto* w = qobject_cast<TChildForm*>(*it); w && !w->IsClosing())
            out.append(w);
    return out;
}

void TFrameForm::OpenLog(TLog* log, const TPlacement* placement)
{
    if (!log)
        return;
    if (log->Path.empty() || !tarvex::FileExists(tarvex::ResolvePath(log->Path))) {
        UI->Message("Cannot open log file", tarvex::TMsgKind::Information, tarvex::TMsgButtons::OK);
        return;
    }
    QPointer<TChildForm> w = new TChildForm(Env(), MdiArea, QString::fromStdString(log->Name), placement);
    w->LoadAndAnalyze(log);
    activateWindow();
}

TLog* TFrameForm::OpenUnconfigured(const std::string& path, int style)
{
    const QFileInfo info(QString::fromStdString(path));
    const std::string absolute = info.absoluteFilePath().toStdString();
    // A log has one window at most: a file opened before, configured or not, comes to the front.
    for (std::size_t i = 0; i < Logs.Count(); ++i)
        if (Logs[i].Path == absolute || Logs[i].Path == path) {
            ShowLog(&Logs[i]);
            return &Logs[i];
        }
    for (const auto& known : AdHocLogs)
        if (known->Path == absolute) {
            ShowLog(known.get());
            return known.get();
        }
    auto log = tarvex::CreateLog(style);
    log->Name = info.fileName().toStdString();
    log->Path = absolute;
    // A mailer writes its log into its own folder as a rule: that is where its configuration
    // and language file are looked for when nothing else is known.
    if (auto* mailer = dynamic_cast<tarvex::TMailerLog*>(log.get()))
        mailer->MailerPath = info.absolutePath().toStdString();
    TLog* raw = log.get();
    AdHocLogs.push_back(std::move(log));
    OpenLog(raw);
    return raw;
}

void TFrameForm::RestoreDesktop()
{
    if (DesktopRestored || !AppSettings.SaveDesktop || ShutDown)
        return;
    DesktopRestored = true;
    for (const TDesktopEntry& e : ReadDesktop(*Reg)) {
        if (ShutDown)
            break;
        TLog* log = Logs.FindLog(e.LogName);
        if (!log || WindowOfLog(log))
            continue;
        TPlacement p;
        p.Left = e.Left;
        p.Top = e.Top;
        p.Height = e.Height;
        p.Width = e.Width;
        p.Maximized = e.Maximized;
        OpenLog(log, &p);
    }
}

void TFrameForm::SaveDesktop()
{
    const QList<TChildForm*> windows = LogWindows();
    Reg->WriteInteger("General", "NumChildren", windows.size());
    int n = 0;
    for (TChildForm* w : windows) {
        const std::string section = "Child" + std::to_string(++n);
        const QRect r = w->isMaximized() && w->normalGeometry().isValid() ? w->normalGeometry() : w->geometry();
        Reg->WriteString(section, "LogName", w->Log ? w->Log->Name : std::string());
        Reg->WriteInteger(section, "Left", r.left());
        Reg->WriteInteger(section, "Top", r.top());
        Reg->WriteInteger(section, "Height", r.height());
        Reg->WriteInteger(section, "Width", r.width());
        Reg->WriteBool(section, "Maximized", w->isMaximized());
    }
}

void TFrameForm::closeEvent(QCloseEvent* event)
{
    if (ShutDown) {
        event->accept();
        return;
    }
    ShutDown = true;
    // The T-Mail windows hand back their line numbers, which are saved with "General".
    if (TrafficForm)
        TrafficForm->close();
    if (HistoryForm)
        HistoryForm->close();
    LogFont.Save(*Reg);
    AppSettings.Save(*Reg, static_cast<int>(Logs.Count()));
    if (AppSettings.SaveDesktop)
        SaveDesktop();
    // The windows save their views and LastStr into the logs, which are saved after them.
    const QList<TChildForm*> windows = LogWindows();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        (*it)->close();
    Logs.Save(*Reg);  // NumLogs, Log1..LogN, and stale Log sections after them erased
    for (int i = static_cast<int>(Logs.Count() + Logs.Unreadable.size()) + 1; i <= LogCountAtStart; ++i)
        Reg->EraseSection("Log" + std::to_string(i));
    LogColors.Save(*Reg);
    SaveWindowPlacement(*Reg, kPlacementSection, *this);
    if (auto* qs = dynamic_cast<TQtSettingsStore*>(Reg.get()))
        qs->Sync();
    event->accept();
}

namespace {

// Brings an open T-Mail window to the front, or makes one; a window whose set-up failed (the
// user has been told why) is discarded so that the next command starts afresh.
// The window keeps the line it closes on, in `line`, for the next one.
template <class Form>
void ShowTMailWindow(TFrameForm* frame, const std::string& mailerPath, QPointer<Form>& window, int& line)
{
    if (window) {
        window->showNormal();
        window->raise();
        window->activateWindow();
        return;
    }
    auto* w = new Form(frame->Env(), mailerPath, frame);
    w->MailerLine = line;
    QObject::connect(w, &TTMailLineForm::Closed, frame, [&window, &line, w](int closedOn) {
        if (window == w)
            window = nullptr;
        line = closedOn;
    });
    if (w->Setup())
        window = w;
    else
        w->deleteLater();
}

}  // namespace

void TFrameForm::ShowTraffic()
{
    ShowTMailWindow(this, Logs.MailerPathOfStyle(tarvex::lsTMail), TrafficForm, AppSettings.TrafficLine);
}

void TFrameForm::ShowHistory()
{
    ShowTMailWindow(this, Logs.MailerPathOfStyle(tarvex::lsTMail), HistoryForm, AppSettings.HistoryLine);
}

TTrafficForm* TFrameForm::TrafficWindow() const { return TrafficForm; }

THistoryForm* TFrameForm::HistoryWindow() const { return HistoryForm; }

void TFrameForm::GeneralItemClick()
{
    TGeneralOptionsForm form(Env(), this);
    form.SetValues(AppSettings);
    if (form.exec() != QDialog::Accepted)
        return;
    form.GetValues(AppSettings);
    tarvex::SetShowDomain(AppSettings.ShowDomain);
    tarvex::SetDriveMap(AppSettings.Drives);
    tarvex::SetEnvironmentNames(AppSettings.Environment);
    // The other values are read where they are used; only the text on screen shows a code page.
    for (TChildForm* w : LogWindows())
        w->ApplyCodePage();
}

void TFrameForm::ColorsItemClick()
{
    const TLogColors saved = LogColors;
    TColorSetupForm form(Env(), this);
    if (form.exec() != QDialog::Accepted) {
        LogColors = saved;
        return;
    }
    for (TChildForm* w : LogWindows())
        w->ApplyColors();
}

void TFrameForm::FontItemClick()
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, LogFont.Font, this, "Font");
    if (!ok)
        return;
    LogFont.Font = f;
    for (TChildForm* w : LogWindows())
        w->ApplyFont();
}

void TFrameForm::LogsSetupItemClick()
{
    {
        TLogSetupForm form(Env(), Logs, *this, this);
        form.exec();
    }
    UpdateMenus();
}

void TFrameForm::OpenLogItemClick()
{
    const QString path = ChooseLogFile(this, OpenLogFolder);
    if (!path.isEmpty())
        OpenUnconfigured(path.toStdString(), UnconfiguredStyle);
}

void TFrameForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedLogFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFrameForm::dropEvent(QDropEvent* event)
{
    const QStringList files = DroppedLogFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is done: the analysis may take a while, and the program the file
    // came from waits for the drop to end.
    for (const QString& file : files)
        QMetaObject::invokeMethod(
            this, [this, path = file.toStdString()] { if (!ShutDown) OpenUnconfigured(path, UnconfiguredStyle); },
            Qt::QueuedConnection);
}

void TFrameForm::AboutItemClick()
{
    const auto v = tarvex::Version();
    QMessageBox::about(this, "About Tarvex",
                       QString("<b>Tarvex</b> %1 beta 4<br>A viewer and analyser of FidoNet mailer logs.")
                           .arg(QString::fromLatin1(v.data(), static_cast<qsizetype>(v.size()))));
}
