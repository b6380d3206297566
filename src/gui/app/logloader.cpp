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
    const LogText& text = viewer.Model();
    if (dropBytes == 0 || dropBytes > text.ByteCount())
        return true;
    std::string error;
    TFileCutResult r = TFileCutResult::Unchanged;
    {
        // Only the kept part is read, and only for as long as the cut needs it.
        const std::string kept = text.ReadRange(dropBytes, text.ByteCount());
        r = CutFileHead(ResolvePath(w.Log.Path), dropBytes, kept, &error);
    }
    if (r == TFileCutResult::Cut) {
        // Exactly the dropped bytes go (a cut after a 0 byte may fall inside a line), and at
        // once: the viewer reads the file it shows, which now starts with the kept part.
        viewer.FileHeadCut(dropBytes);
        if (!error.empty())
            w.Ui.Message(error, TMsgKind::Warning, TMsgButtons::OK);
    } else {
        // The viewer keeps showing the whole file, which is what the file still holds.
        if (!error.empty())
            w.Ui.Message(error, r == TFileCutResult::Failed ? TMsgKind::Error : TMsgKind::Warning,
                                    TMsgButtons::OK);
        return r != TFileCutResult::Failed;
    }
    return true;
}

// A KBytes cut looks at a few bytes near the text's end only; they are read from the viewer.
std::optional<std::size_t> KBytesCutStart(const LogViewer& viewer, std::uint64_t limit, std::size_t window,
                                          bool stopAtNul)
{
    const LogText& text = viewer.Model();
    return KeptStartByKBytes(
        text.ByteCount(), [&text](std::size_t from, std::size_t n) { return text.ReadRange(from, from + n); },
        limit, window, stopAtNul);
}

// Has the viewer read the file through read (one of its two ways), with the window's keep-alive
// as its progress; says why when it fails, unless the window stopped it.
template <class Read>
bool ReadIntoViewer(const TLogLoad& w, const Read& read)
{
    w.Viewer.SetCodePage(w.CodePage);
    bool stopped = false;
    const LogText::LoadProgress progress = [&w, &stopped](std::uint64_t done, std::uint64_t total) {
        stopped = w.Loading && !w.Loading(done, total);
        return !stopped;
    };
    QString error;
    if (!read(QString::fromStdString(ResolvePath(w.Log.Path)), &error, progress)) {
        if (!stopped)
            w.Ui.Message("Error reading log: " + error.toStdString(), TMsgKind::Error, TMsgButtons::OK);
        return false;
    }
    return true;
}

}  // namespace

bool LoadLogText(const TLogLoad& w)
{
    LogViewer& viewer = w.Viewer;
    // The viewer reads the file itself in both modes: a copy of a log of gigabytes would double
    // what it costs, and reading in pieces lets the window paint meanwhile.
    if (!ReadIntoViewer(w, [&viewer](const QString& path, QString* error, const LogText::LoadProgress& progress) {
            return viewer.LoadFromFile(path, error, progress);
        }))
        return false;
    if (!w.OEMConvert || w.Log.CutMode != 0)
        return true;
    // With conversion the KBytes cut is made here, on the raw bytes, and stops at a 0 byte too.
    // A cut that fails leaves the file and the viewer whole, and the loading goes on.
    if (const auto start = KBytesCutStart(viewer, CutLimitBytes(w.Log.CutSize), 128, true))
        (void)CutAt(w, *start);
    return true;
}

bool LoadLogText(const TLogLoad& w, const LogText::LoadSink& sink)
{
    return ReadIntoViewer(w, [&w, &sink](const QString& path, QString* error, const LogText::LoadProgress& progress) {
        return w.Viewer.LoadFromFileInPlace(path, error, progress, sink);
    });
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
        const auto start = KBytesCutStart(viewer, CutLimitBytes(log.CutSize), 127, false);
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
