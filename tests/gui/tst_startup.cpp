// The program's own start, argv and all, as a user types it: our "--style" must reach us even
// though QApplication has an option of that name. This test has its own main, because the
// QApplication under test is the one the program makes.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <functional>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/childform.h"
#include "app/frameform.h"
#include "app/startup.h"
#include "log/mailerlog.h"
#include "tmailfixture.h"

using namespace tarvex::fixtures;

namespace {

int Failures = 0;

void Check(bool ok, const char* what)
{
    if (!ok) {
        ++Failures;
        std::fprintf(stderr, "FAIL: %s\n", what);
    }
}

// Argv as the program gets it: pointers into strings that live as long as the run.
struct TArgv
{
    explicit TArgv(std::vector<std::string> args) : Args(std::move(args))
    {
        for (std::string& a : Args)
            Ptrs.push_back(a.data());
        Ptrs.push_back(nullptr);
    }
    int Argc() const { return static_cast<int>(Args.size()); }
    std::vector<std::string> Args;
    std::vector<char*> Ptrs;
};

// Our options out of argv, the rest (Qt's among them) kept in order.
void OwnOptionsLeaveTheRest()
{
    TArgv a({"tarvex", "-platform", "offscreen", "--style=2", "x.log", "--style", "T-mail", "-style", "1", "--", "--style"});
    int argc = a.Argc();
    TOwnOptions own;
    QString error;
    Check(TakeOwnOptions(argc, a.Ptrs.data(), own, error), "options taken");
    Check(own.StyleGiven && own.Style == "1", "the last --style wins");
    Check(argc == 6, "five arguments left");
    const std::vector<std::string> rest(a.Ptrs.begin() + 1, a.Ptrs.begin() + argc);
    Check(rest == std::vector<std::string>({"-platform", "offscreen", "x.log", "--", "--style"}), "the rest in order");
    Check(a.Ptrs[static_cast<std::size_t>(argc)] == nullptr, "argv ends where argc says");

    TArgv b({"tarvex", "--style"});
    argc = b.Argc();
    Check(!TakeOwnOptions(argc, b.Ptrs.data(), own, error) && error.contains("--style"), "a style option without value");
}

// A T-Mail mailer folder with a generated log in it; returns the log's path.
std::string WriteTMailStation(const QTemporaryDir& dir)
{
    const std::string mailer = dir.filePath("t-mail").toStdString();
    TMailDirOptions options;
    WriteTMailDir(mailer, options);
    TMailLogOptions logOptions;
    logOptions.Lines = 3000;
    logOptions.WithSeparators = false;
    WriteFileBytes(mailer + "/t-mail.log", BuildTMailLog(logOptions, options.Phrases));
    return mailer + "/t-mail.log";
}

// Starts the program with the arguments (the log file, if any, last) and waits for its first log
// window to finish; before, opening may do what else opens the log. Returns the window's status
// texts, or empty on a timeout.
QStringList StartAndWait(std::vector<std::string> args, QString* style, const std::function<void(TFrameForm&)>& opening)
{
    TArgv argv(std::move(args));
    QStringList status;
    const int code = RunTarvex(argv.Argc(), argv.Ptrs.data(), [&](TFrameForm& frame) {
        if (opening)
            opening(frame);
        auto* poll = new QTimer(&frame);
        auto* waited = new int(0);
        QObject::connect(poll, &QTimer::timeout, &frame, [&frame, poll, waited, &status, style] {
            // A message box would wait for a user: record it and give up.
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    std::fprintf(stderr, "message: %s\n", qPrintable(box->text()));
                    box->reject();
                }
            const QList<TChildForm*> windows = frame.LogWindows();
            const bool done = !windows.isEmpty() && !windows.front()->IsBusy() &&
                              !windows.front()->StatusText(1).isEmpty();
            if (done || ++*waited > 1500) {
                poll->stop();
                delete waited;
                if (done) {
                    status = QStringList{windows.front()->StatusText(0), windows.front()->StatusText(1)};
                    *style = QString::number(windows.front()->Log->Style);
                }
                frame.close();
            }
        });
        poll->start(20);
    });
    Check(code == 0, "the program ends with status 0");
    return status;
}

// Starts the program on a generated T-Mail log with the given style arguments.
QStringList StartOn(const std::vector<std::string>& styleArgs, QString* style)
{
    QTemporaryDir dir;
    const std::string log = WriteTMailStation(dir);
    std::vector<std::string> args = {"tarvex", "-platform", "offscreen", "--settings",
                                     dir.filePath("settings.ini").toStdString()};
    args.insert(args.end(), styleArgs.begin(), styleArgs.end());
    args.push_back(log);
    return StartAndWait(args, style, {});
}

// A file dropped on the window of a program started with --style opens in that style, as a
// file named on the command line would.
void DroppedLogTakesTheCommandLineStyle()
{
    QTemporaryDir dir;
    const QString log = QString::fromStdString(WriteTMailStation(dir));
    QString style;
    const QStringList status = StartAndWait(
        {"tarvex", "-platform", "offscreen", "--settings", dir.filePath("settings.ini").toStdString(), "--style", "T-mail"},
        &style, [log](TFrameForm& frame) {
            QTimer::singleShot(0, &frame, [&frame, log] {
                QMimeData data;
                data.setUrls({QUrl::fromLocalFile(log)});
                const QPoint at = frame.rect().center();
                QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(&frame, &enter);
                Check(enter.isAccepted(), "the window takes the dragged log");
                QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(&frame, &drop);
            });
        });
    Check(status.size() == 2, "the dropped log's window finished its pass");
    if (status.size() == 2) {
        Check(style == "1", "the dropped log is of style T-mail");
        Check(status[0].startsWith("Analysis complete, "), "the dropped log was analysed");
    }
}

// With a log window maximised the main window's title names the program and then the log, and
// the program only once: the window system adds a display name, when one is set, to every
// title that does not already end with it.
void MaximisedLogNamesTheProgramOnce()
{
    QTemporaryDir dir;
    TArgv argv({"tarvex", "-platform", "offscreen", "--settings", dir.filePath("settings.ini").toStdString(),
                WriteTMailStation(dir)});
    QString title, shown;
    RunTarvex(argv.Argc(), argv.Ptrs.data(), [&](TFrameForm& frame) {
        auto* poll = new QTimer(&frame);
        auto* waited = new int(0);
        QObject::connect(poll, &QTimer::timeout, &frame, [&frame, poll, waited, &title, &shown] {
            const QList<TChildForm*> windows = frame.LogWindows();
            const bool done = !windows.isEmpty() && !windows.front()->IsBusy();
            if (!done && ++*waited <= 1500)
                return;
            poll->stop();
            delete waited;
            if (done) {
                windows.front()->showMaximized();
                title = frame.windowTitle();
                // An unset display name follows the program's name.
                QApplication::setApplicationName("renamed");
                const QString display = QGuiApplication::applicationDisplayName();
                QApplication::setApplicationName("Tarvex");
                shown = display != "renamed" && !title.endsWith(display) ? title + " " + QChar(0x2014) + " " + display : title;
            }
            frame.close();
        });
        poll->start(20);
    });
    Check(title == "Tarvex - [t-mail.log]", "the maximised log's name follows the program's in the title");
    Check(shown.count("Tarvex") == 1, "the window system shows the program's name once");
}

// Several log files named at once, as a file manager starts the program for a selection: a
// window each.
void EveryLogNamedOpensAWindow()
{
    QTemporaryDir dir;
    std::vector<std::string> args = {"tarvex", "-platform", "offscreen", "--settings", dir.filePath("settings.ini").toStdString()};
    for (const char* name : {"first.log", "second.log", "third.log"}) {
        args.push_back(dir.filePath(name).toStdString());
        WriteFileBytes(args.back(), std::string("01 Mar 12:00:00 ") + name + "\n");
    }
    TArgv argv(args);
    std::vector<std::string> opened;
    RunTarvex(argv.Argc(), argv.Ptrs.data(), [&](TFrameForm& frame) {
        auto* poll = new QTimer(&frame);
        auto* waited = new int(0);
        QObject::connect(poll, &QTimer::timeout, &frame, [&frame, poll, waited, &opened] {
            const QList<TChildForm*> windows = frame.LogWindows();
            const bool done = windows.size() == 3 && std::none_of(windows.begin(), windows.end(),
                                                                    [](TChildForm* w) { return w->IsBusy(); });
            if (done || ++*waited > 1500) {
                poll->stop();
                delete waited;
                for (TChildForm* w : windows)
                    opened.push_back(w->Log->Path);
                frame.close();
            }
        });
        poll->start(20);
    });
    std::sort(opened.begin(), opened.end());
    Check(opened == std::vector<std::string>(args.end() - 3, args.end()), "each log named has its window");
}

}  // namespace

int main(int, char**)
{
    OwnOptionsLeaveTheRest();

    for (const auto& styleArgs : std::vector<std::vector<std::string>>{{"--style", "T-mail"}, {"--style=1"}}) {
        QString style;
        const QStringList status = StartOn(styleArgs, &style);
        Check(status.size() == 2, "the log window finished its pass");
        if (status.size() == 2) {
            Check(style == "1", "the log is of style T-mail");
            Check(status[0].startsWith("Analysis complete, "), "the analysis completed");
            Check(status[1].contains(" sessions") && !status[1].startsWith("0 days"), "days and sessions found");
            std::printf("%s | %s\n", qPrintable(status[0]), qPrintable(status[1]));
        }
    }
    DroppedLogTakesTheCommandLineStyle();
    MaximisedLogNamesTheProgramOnce();
    EveryLogNamedOpensAWindow();
    std::printf(Failures == 0 ? "PASS\n" : "%d FAILURES\n", Failures);
    return Failures == 0 ? 0 : 1;
}
