#pragma once
#include <QString>
#include <cstdint>
#include <functional>

#include "host/userinterface.h"
#include "log/logtext.h"
#include "log/tlog.h"

class LogViewer;

// What loading and cutting a log needs, and no more: the log's definition, the viewer that
// shows it, somewhere to put messages, how to decode it, and a bar for a cut by days.
struct TLogLoad
{
    tarvex::TLog& Log;
    LogViewer& Viewer;
    tarvex::IUserInterface& Ui;
    bool OEMConvert = false;
    QString CodePage;
    // Called with the bar's maximum first (value -1), then with each day read.
    std::function<void(std::int32_t maximum, std::int32_t value)> Progress;
    // Called while the file is read, with the bytes read and the file's size; false stops the
    // load (the window is closing), and no message is shown for it.
    std::function<bool(std::uint64_t done, std::uint64_t total)> Loading;
};

// Puts the text of the log (a mailer style) into its viewer. With OEM conversion on, the file
// is cut by KBytes on its raw bytes as it is loaded and shown in the OEM code page; else it is
// shown in the ANSI code page. False when nothing could be loaded (or the load was stopped).
bool LoadLogText(const TLogLoad& load);
// The same for a log that is not cut on opening, the viewer's text growing as the file is read
// and each piece handed to sink once the viewer holds it: the analysis runs on this thread while
// the second one reads and finds the lines. A load that fails or is stopped leaves the viewer
// empty.
bool LoadLogText(const TLogLoad& load, const tarvex::LogText::LoadSink& sink);

// Cuts the log file to its CutSize (KBytes or days) and drops the same lines from the viewer.
// The file is rewritten in place with exactly the kept bytes, plus whatever the mailer
// appended meanwhile. False when the file could not be opened (loading stops there).
bool CutLog(const TLogLoad& load);
