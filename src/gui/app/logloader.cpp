#include "app/logloader.h"

#include "log/logcut.h"
#include "platform/filecut.h"
#include "platform/paths.h"
#include "viewer/logviewer.h"

using namespace tarvex;

namespace {

// Drops everything before byte dropBytes of the viewer's text from the file and the viewer.
bool CutAt(const TLogLoad& w, std::size_t dropBytes)
{
    LogViewer& viewer = w.Viewer;
    const std::string_view bytes = viewer.Bytes();
    if (dropBytes == 0 || dropBytes > bytes.size())
        return true;
    std::string error;
    const TFileCutResult r = CutFileHead(ResolvePath(w.Log.Path), dropBytes, bytes.substr(dropBytes), &error);
    if (r == TFileCutResult::Cut && !error.empty())
        w.Ui.Message(error, TMsgKind::Warning, TMsgButtons::OK);
    if (r != TFileCutResult::Cut) {
        // The viewer keeps showing the whole file, which is what the file still holds.
        if (!error.empty())
            w.Ui.Message(error, r == TFileCutResult::Failed ? TMsgKind::Error : TMsgKind::Warning,
                                    TMsgButtons::OK);
        return r != TFileCutResult::Failed;
    }
    // Exactly the dropped bytes go: a cut after a 0 byte may fall inside a line.
    const std::size_t line = viewer.Model().LineAt(dropBytes);
    const qint64 pos = static_cast<qint64>(dropBytes - viewer.Model().LineStart(line));
    viewer.SetSelection(1, 0, static_cast<qint64>(line) + 1, pos);
    viewer.DeleteSelection();
    return true;
}

}  // namespace

bool LoadLogText(const TLogLoad& w)
{
    LogViewer& viewer = w.Viewer;
    const std::string path = ResolvePath(w.Log.Path);
    viewer.SetCodePage(w.CodePage);
    // The viewer reads the file itself in both modes: a copy of a log of gigabytes would double
    // what it costs, and reading in pieces lets the window paint meanwhile.
    bool stopped = false;
    const LogText::LoadProgress progress = [&w, &stopped](std::uint64_t done, std::uint64_t total) {
        stopped = w.Loading && !w.Loading(done, total);
        return !stopped;
    };
    QString error;
    if (!viewer.LoadFromFile(QString::fromStdString(path), &error, progress)) {
        if (!stopped)
            w.Ui.Message("Error reading log: " + error.toStdString(), TMsgKind::Error, TMsgButtons::OK);
        return false;
    }
    if (!w.OEMConvert || w.Log.CutMode != 0)
        return true;
    // With conversion the KBytes cut is made here, on the raw bytes, and stops at a 0 byte too.
    // A cut that fails leaves the file and the viewer whole, and the loading goes on.
    if (const auto start = KeptStartByKBytes(viewer.Bytes(), CutLimitBytes(w.Log.CutSize), 128, true))
        (void)CutAt(w, *start);
    return true;
}

bool CutLog(const TLogLoad& w)
{
    TLog& log = w.Log;
    if (log.CutSize <= 0)
        return true;
    LogViewer& viewer = w.Viewer;
    if (log.CutMode == 0) {
        // A mailer log read with conversion was cut on its raw bytes while loading.
        if (w.OEMConvert)
            return true;
        const auto start = KeptStartByKBytes(viewer.Bytes(), CutLimitBytes(log.CutSize), 127, false);
        return !start || CutAt(w, *start);
    }
    if (w.Progress)
        w.Progress(log.CutSize, -1);
    viewer.hide();
    const std::size_t lines = static_cast<std::size_t>(viewer.LineCount());
    const std::size_t first = FirstKeptLineByDays(
        log, lines, [&](std::size_t i) { return viewer.LineBytes(static_cast<qint64>(i) + 1); },
        log.CutSize, [&w](std::int32_t d) {
            if (w.Progress)
                w.Progress(w.Log.CutSize, d);
        });
    viewer.show();
    return first == 0 || CutAt(w, viewer.Model().LineStart(first));
}
