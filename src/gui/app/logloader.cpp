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
    const qint64 firstKept = static_cast<qint64>(viewer.Model().LineAt(dropBytes)) + 1;
    viewer.SetSelection(1, 0, firstKept, 0);
    viewer.DeleteSelection();
    return true;
}

}  // namespace

bool LoadLogText(const TLogLoad& w)
{
    LogViewer& viewer = w.Viewer;
    const std::string path = ResolvePath(w.Log.Path);
    viewer.SetCodePage(w.CodePage);
    if (!w.OEMConvert) {
        QString error;
        if (!viewer.LoadFromFile(QString::fromStdString(path), &error)) {
            w.Ui.Message("Error reading log: " + error.toStdString(), TMsgKind::Error, TMsgButtons::OK);
            return false;
        }
        return true;
    }
    std::string text;
    std::string error;
    if (!ReadWholeFile(path, text, &error)) {
        w.Ui.Message("Error reading log: " + error, TMsgKind::Error, TMsgButtons::OK);
        return false;
    }
    std::size_t keptStart = 0;
    if (w.Log.CutMode == 0)
        if (const auto start = KeptStartByKBytes(text, CutLimitBytes(w.Log.CutSize), 128, true))
            keptStart = *start;
    if (keptStart > 0) {
        const TFileCutResult r = CutFileHead(path, keptStart, std::string_view(text).substr(keptStart), &error);
        if (r == TFileCutResult::Cut && !error.empty())
            w.Ui.Message(error, TMsgKind::Warning, TMsgButtons::OK);
        if (r != TFileCutResult::Cut) {
            keptStart = 0;
            if (!error.empty())
                w.Ui.Message(error, r == TFileCutResult::Failed ? TMsgKind::Error : TMsgKind::Warning,
                                   TMsgButtons::OK);
        }
    }
    viewer.SetText(std::string_view(text).substr(keptStart));
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
        lines, [&](std::size_t i) { return viewer.LineBytes(static_cast<qint64>(i) + 1); },
        [&](std::string_view line) { return CutDateOfLine(log, line); },
        log.CutSize, [&w](std::int32_t d) {
            if (w.Progress)
                w.Progress(w.Log.CutSize, d);
        });
    viewer.show();
    return first == 0 || CutAt(w, viewer.Model().LineStart(first));
}
