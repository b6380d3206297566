// Huge and odd logs in a log window: a 2 GB T-Mail log, a log of one 200 MB line, a log of only
// NUL bytes, and a log that the mailer truncates to nothing while the window loads it. Each is
// opened as a T-mail log (load, analysis, first paint) while a timer ticks every 10 ms; the
// longest time between two ticks is the longest the window went without painting.
//   bench_gui_oddlogs [SCALE [CASE...]]   SCALE in percent of the sizes above (default 100);
//   CASE one of huge, oneline, nul, shrinks (default all)
// Prints, per case, name<TAB>value<TAB>unit: the longest gap, the time to open, the lines shown,
// and the messages the window gave; on stderr, what the window was doing when the longest gap
// (and any gap over 100 ms) began and ended, its status text and bar, so that a stall can be
// placed.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/childform.h"
#include "app/frameform.h"
#include "log/mailerlog.h"
#include "styles/logfactory.h"
#include "tmailfixture.h"
#include "viewer/logviewer.h"

namespace {

class TQuietUi : public TQtUserInterface
{
public:
    tarvex::TMsgResult Message(const std::string& text, tarvex::TMsgKind, tarvex::TMsgButtons) override
    {
        if (++Count <= 2)
            std::fprintf(stderr, "  message: %s\n", text.c_str());
        return tarvex::TMsgResult::OK;
    }
    int Count = 0;
};

// Writes `bytes` bytes made of `block` repeated (the last copy cut short).
void WriteRepeated(const std::string& path, const std::string& block, std::uint64_t bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    while (bytes > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, block.size()));
        f.write(block.data(), static_cast<std::streamsize>(n));
        bytes -= n;
    }
}

struct TCase
{
    const char* Name;
    std::string Path;
    bool TruncateWhileLoading = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double scale = (argc > 1 ? std::atof(argv[1]) : 100.0) / 100.0;
    std::vector<std::string> only;
    for (int i = 2; i < argc; ++i)
        only.emplace_back(argv[i]);
    auto wanted = [&only](const std::string& name) {
        return only.empty() || std::find(only.begin(), only.end(), name) != only.end();
    };
    auto scaled = [scale](double mb) { return static_cast<std::uint64_t>(mb * scale * 1024 * 1024); };

    QTemporaryDir dir;
    const std::string mailerDir = QDir(dir.path()).filePath("t-mail").toStdString();
    tarvex::fixtures::TMailDirOptions dirOptions;
    tarvex::fixtures::WriteTMailDir(mailerDir, dirOptions);
    auto path = [&](const char* name) { return QDir(dir.path()).filePath(name).toStdString(); };

    tarvex::fixtures::TMailLogOptions logOptions;
    logOptions.Lines = 200000;
    logOptions.WithSeparators = false;
    if (wanted("huge"))
        WriteRepeated(path("huge.log"), tarvex::fixtures::BuildTMailLog(logOptions, dirOptions.Phrases), scaled(2048));
    if (wanted("oneline"))
        WriteRepeated(path("oneline.log"), std::string(1 << 20, 'x'), scaled(200));
    if (wanted("nul"))
        WriteRepeated(path("nul.log"), std::string(1 << 20, '\0'), scaled(200));
    if (wanted("shrinks"))
        WriteRepeated(path("shrinks.log"), tarvex::fixtures::BuildTMailLog(logOptions, dirOptions.Phrases), scaled(200));

    const TCase cases[] = {{"huge", path("huge.log")},
                           {"oneline", path("oneline.log")},
                           {"nul", path("nul.log")},
                           {"shrinks", path("shrinks.log"), true}};

    for (bool oem : {false, true}) {
        for (const TCase& c : cases) {
            if (!wanted(c.Name))
                continue;
            auto ui = std::make_unique<TQuietUi>();
            TQuietUi* quiet = ui.get();
            TFrameForm frame(std::make_unique<tarvex::TMemorySettings>(), std::move(ui));
            frame.AppSettings.OEMConvert = oem;
            frame.resize(900, 700);
            frame.show();
            QApplication::processEvents();
            if (c.TruncateWhileLoading)
                WriteRepeated(c.Path, tarvex::fixtures::BuildTMailLog(logOptions, dirOptions.Phrases), scaled(200));

            auto log = tarvex::CreateLog(tarvex::lsTMail);
            log->Name = c.Name;
            log->Path = c.Path;
            static_cast<tarvex::TMailerLog*>(log.get())->MailerPath = mailerDir;
            tarvex::TLog* raw = log.get();
            frame.AddLogMenuItem(std::move(log));

            QElapsedTimer clock;
            qint64 last = 0, maxGap = 0;
            // What the window showed at the last tick, and around the longest gap.
            std::string lastState = "opening", gapBegan, gapEnded;
            auto state = [&frame, raw] {
                TChildForm* w = frame.WindowOfLog(raw);
                if (!w)
                    return std::string("no window");
                const auto* bar = w->findChild<QProgressBar*>("ProgressBar");
                return w->StatusText(0).toStdString() + " " +
                       (bar ? std::to_string(bar->value()) + "/" + std::to_string(bar->maximum()) : "");
            };
            QTimer ticker;
            ticker.setInterval(10);
            QObject::connect(&ticker, &QTimer::timeout, [&] {
                const qint64 now = clock.elapsed();
                const std::string here = state();
                if (now - last > 100)
                    std::fprintf(stderr, "    gap %lld ms: [%s] to [%s]\n", static_cast<long long>(now - last),
                                 lastState.c_str(), here.c_str());
                if (now - last > maxGap) {
                    maxGap = now - last;
                    gapBegan = lastState;
                    gapEnded = here;
                }
                last = now;
                lastState = here;
            });
            QTimer truncator;
            truncator.setSingleShot(true);
            QObject::connect(&truncator, &QTimer::timeout, [&] { std::ofstream(c.Path, std::ios::trunc); });
            clock.start();
            ticker.start();
            if (c.TruncateWhileLoading)
                truncator.start(50);
            frame.OpenLog(raw);
            TChildForm* w = frame.WindowOfLog(raw);
            if (w)
                w->Viewer()->repaint();
            const qint64 openMs = clock.elapsed();
            if (openMs - last > maxGap) {
                maxGap = openMs - last;
                gapBegan = lastState;
                gapEnded = "opened: " + state();
            }
            std::fprintf(stderr, "  %s%s: longest gap from [%s] to [%s]\n", c.Name, oem ? " oem" : "",
                         gapBegan.c_str(), gapEnded.c_str());
            ticker.stop();

            const std::string prefix = std::string("gui.oddlog_") + c.Name + (oem ? "_oem" : "");
            std::printf("%s_max_gap_ms\t%lld\tms\n", prefix.c_str(), static_cast<long long>(maxGap));
            std::printf("%s_open_ms\t%lld\tms\n", prefix.c_str(), static_cast<long long>(openMs));
            std::printf("%s_lines\t%lld\tlines\n", prefix.c_str(),
                        static_cast<long long>(w ? w->Viewer()->LineCount() : -1));
            std::printf("%s_messages\t%d\tmessages\n", prefix.c_str(), quiet->Count);
            std::fflush(stdout);
            frame.close();
        }
    }
    return 0;
}
