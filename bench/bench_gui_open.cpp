// Opening a T-Mail log in a log window (load into the viewer, analyse with the progress bar and
// the keep-alive, first paint).
//
// Usage: bench_gui_open [lines, default 1000000]
//   A generated log of that many lines, against the engine alone (read the file and analyse it).
//   Prints gui.open_tmail_ms, engine.tmail_pass_ms and gui.overhead_ratio.
// Usage: bench_gui_open --log PATH --mailer DIR [--year YYYY, default 2026]
//   A given T-Mail log, configured as a user configures it (mailer path DIR, drive C: on DIR, no
//   cut on opening) and opened once from the frame. Prints scale.window_peak_mb (the process's
//   peak resident set), scale.window_after_mb (what it holds once open), scale.open_s (from the
//   open until the analysis is done and the window painted) and the counts of lines, sessions
//   and questions answered.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/childform.h"
#include "app/frameform.h"
#include "base/datetime.h"
#include "host/settingsstore.h"
#include "styles/logfactory.h"
#include "log/mailerlog.h"
#include "tmailfixture.h"
#include "viewer/logviewer.h"

namespace {

// Answers every question with OK, so a bad line never stops the run for a person.
class TQuietUi : public TQtUserInterface
{
public:
    tarvex::TMsgResult Message(const std::string& text, tarvex::TMsgKind, tarvex::TMsgButtons) override
    {
        if (++Count <= 3)
            std::fprintf(stderr, "message: %s\n", text.c_str());
        return tarvex::TMsgResult::OK;
    }
    int ChooseOne(const std::string&, const std::string&, const std::vector<std::string>&, int selected) override
    {
        return selected;
    }
    int Count = 0;
};

// The process's peak resident set ("VmHWM:"), or what it holds now ("VmRSS:"), in MiB (Linux; 0
// elsewhere).
double ResidentMib(const char* field = "VmHWM:")
{
    double kib = 0;
    const std::size_t n = std::strlen(field);
    if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, field, n) == 0)
                kib = std::atof(line + n);
        std::fclose(f);
    }
    return kib / 1024;
}

// Opens the given log as a user would and reports what it cost.
int OpenGiven(const std::string& logPath, const std::string& mailerDir, int year)
{
    // As the command line's --year: lines without a year are of this one.
    tarvex::SetYearlessYear(year);
    int y = 0, m = 0, d = 0;
    tarvex::DecodeDate(tarvex::ProgramStartDate(), y, m, d);
    if (m == 2 && d == 29 && !tarvex::IsLeapYear(year))
        d = 28;
    tarvex::SetProgramStartDate(tarvex::EncodeDate(year, m, d));

    auto store = std::make_unique<tarvex::TMemorySettings>();
    {
        auto log = tarvex::CreateLog(tarvex::lsTMail);
        log->Name = "bench";
        log->Path = logPath;
        log->CutSize = 0;
        static_cast<tarvex::TMailerLog*>(log.get())->MailerPath = mailerDir;
        log->Save(*store, "Log1");
        store->WriteInteger("General", "NumLogs", 1);
        store->WriteString("Drives", "C", mailerDir);
    }
    auto ui = std::make_unique<TQuietUi>();
    TQuietUi* quiet = ui.get();
    TFrameForm frame(std::move(store), std::move(ui));
    frame.resize(900, 700);
    frame.show();
    QApplication::processEvents();
    tarvex::TLog* log = frame.Logs.FindLog("bench");
    if (!log) {
        std::fprintf(stderr, "the configured log was not read back\n");
        return 1;
    }
    // No dialog may wait for a person: one that opens anyway is named and closed.
    QTimer modalGuard;
    QObject::connect(&modalGuard, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            std::fprintf(stderr, "closing a dialog: %s\n", qPrintable(w->windowTitle()));
            w->close();
        }
    });
    modalGuard.start(200);

    QElapsedTimer t;
    t.start();
    frame.OpenLog(log);
    TChildForm* w = frame.WindowOfLog(log);
    if (w)
        w->Viewer()->repaint();
    const double seconds = static_cast<double>(t.nsecsElapsed()) / 1e9;
    const auto* mailer = static_cast<tarvex::TMailerLog*>(log);
    std::printf("scale.open_s\t%.2f\ts\n", seconds);
    std::printf("scale.window_peak_mb\t%.0f\tMB\n", ResidentMib());
    // What the window goes on holding once the pass is over (its scratch handed back).
    std::printf("scale.window_after_mb\t%.0f\tMB\n", ResidentMib("VmRSS:"));
    std::printf("scale.open_lines\t%lld\tlines\n", w ? static_cast<long long>(w->Viewer()->LineCount()) : 0LL);
    std::printf("scale.open_sessions\t%d\tsessions\n", mailer->SessCount);
    std::printf("scale.open_questions\t%d\tquestions\n", quiet->Count);
    std::fflush(stdout);
    frame.close();
    return w ? 0 : 1;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--log") == 0) {
        std::string logPath, mailerDir;
        int year = 2026;
        for (int i = 1; i + 1 < argc; i += 2) {
            const std::string a = argv[i];
            if (a == "--log")
                logPath = argv[i + 1];
            else if (a == "--mailer")
                mailerDir = argv[i + 1];
            else if (a == "--year")
                year = std::atoi(argv[i + 1]);
        }
        if (logPath.empty() || mailerDir.empty() || year <= 0) {
            std::fprintf(stderr, "usage: bench_gui_open --log PATH --mailer DIR [--year YYYY]\n");
            return 2;
        }
        return OpenGiven(logPath, mailerDir, year);
    }
    const std::size_t lines = argc > 1 ? static_cast<std::size_t>(std::atoll(argv[1])) : 1000000;

    QTemporaryDir dir;
    const std::string mailerDir = QDir(dir.path()).filePath("t-mail").toStdString();
    const std::string logPath = QDir(dir.path()).filePath("t-mail.log").toStdString();
    tarvex::fixtures::TMailDirOptions dirOptions;
    tarvex::fixtures::WriteTMailDir(mailerDir, dirOptions);
    tarvex::fixtures::TMailLogOptions logOptions;
    logOptions.Lines = lines;
    logOptions.Seed = 11;
    logOptions.WithSeparators = false;
    tarvex::fixtures::WriteFileBytes(logPath, tarvex::fixtures::BuildTMailLog(logOptions, dirOptions.Phrases));

    auto makeLog = [&] {
        auto log = tarvex::CreateLog(tarvex::lsTMail);
        log->Name = "bench";
        log->Path = logPath;
        static_cast<tarvex::TMailerLog*>(log.get())->MailerPath = mailerDir;
        return log;
    };

    std::vector<double> engine, gui;
    int sessions = 0;
    int engineSessions = 0;
    for (int round = 0; round < 3; ++round) {
        {
            auto log = makeLog();
            tarvex::TScriptedUserInterface ui;
            QElapsedTimer t;
            t.start();
            // The engine reads the file itself, as the command line does.
            static_cast<tarvex::TMailerLog*>(log.get())->Analyze(ui, {});
            engine.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
            engineSessions = static_cast<tarvex::TMailerLog*>(log.get())->SessCount;
        }
        {
            auto ui = std::make_unique<TQuietUi>();
            TFrameForm frame(std::make_unique<tarvex::TMemorySettings>(), std::move(ui));
            frame.resize(900, 700);
            frame.show();
            QApplication::processEvents();
            auto log = makeLog();
            tarvex::TLog* raw = log.get();
            frame.AddLogMenuItem(std::move(log));
            QElapsedTimer t;
            t.start();
            frame.OpenLog(raw);
            TChildForm* w = frame.WindowOfLog(raw);
            if (w)
                w->Viewer()->repaint();
            gui.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
            sessions = static_cast<tarvex::TMailerLog*>(raw)->SessCount;
            frame.close();
        }
    }
    const double e = Median(engine), g = Median(gui);
    std::printf("gui.open_tmail_ms\t%.1f\tms\n", g);
    std::printf("engine.tmail_pass_ms\t%.1f\tms\n", e);
    std::printf("gui.overhead_ratio\t%.3f\tratio\n", e > 0 ? g / e : 0.0);
    std::printf("gui.open_tmail_lines\t%zu\tlines\n", lines);
    std::printf("gui.open_tmail_sessions\t%d\tsessions\n", sessions);
    if (sessions != engineSessions)
        std::fprintf(stderr, "the window found %d sessions, the engine %d\n", sessions, engineSessions);
    return 0;
}
