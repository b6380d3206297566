// Opening a 1-million-line T-Mail log in a log window (load into the viewer, analyse with the
// progress bar and the keep-alive, first paint), against the engine alone (read the file and
// analyse it). Prints gui.open_tmail_ms, engine.tmail_pass_ms and gui.overhead_ratio.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/childform.h"
#include "app/frameform.h"
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
    int Count = 0;
};

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
