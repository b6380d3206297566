#pragma once
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "host/settingsstore.h"
#include "host/userinterface.h"
#include "log/mailerlog.h"

namespace tarvex {

// How download counters look in files.bbs descriptions.
struct TDlcFormat {
    char Left = '[';
    char Right = ']';
    int Digits = 3;
    char Lead = '0';
    bool Backup = true;
};

// The format from the settings' texts: the first character of each text is used, an empty one
// giving a blank (brackets and padding must still print); digits as stored.
TDlcFormat DlcFormatOf(std::string_view left, std::string_view right, int digits, std::string_view lead,
                       bool backup);
// The same from the values of section "General".
TDlcFormat ReadDlcFormat(const ISettingsStore& reg);

// The counter text for n, keeping only its last Digits digits: 7 -> "[007]".
std::string CounterText(long long n, const TDlcFormat& fmt);

// Finds the counter of a files.bbs line: the first bracket pair whose text is a number once
// the padding is skipped (an empty pair counts as 0). False when the line holds none.
bool FindCounter(std::string_view line, const TDlcFormat& fmt, std::size_t& pos, std::size_t& len, long long& value);

// The line with its counter raised by one; a line without a counter gets one at column 14.
std::string RaiseCounter(std::string_view line, const TDlcFormat& fmt);

enum class TDlcResult { Updated, Appended, NoList, Failed };

// Raises the counter of every line of the list that names upperName, or appends a line for it.
// The list is either fully rewritten or left exactly as it was. counter, when given, gets the
// new counter of the first line raised (0 when a line is appended). A dry run keeps the lists it
// would have written in dryLists (by local path) and reads them from there again, so that a run
// of several updates tells what the real run would, and the disk is not touched.
using TDlcDryLists = std::map<std::string, std::string>;
TDlcResult UpdateFilesBbs(std::string_view localDir, std::string_view upperName, const TDlcFormat& fmt,
                          std::string* error = nullptr, long long* counter = nullptr,
                          TDlcDryLists* dryLists = nullptr);

// What the update did for one request.
struct TDlcOutcome {
    enum class TKind {
        NotSent,   // the file was never sent
        NotFound,  // no path, and the style's LocateFile found none
        Updated,   // a line of the list raised
        Appended,  // a line added to the list
        NoList,    // the directory holds no files.bbs: skipped without a word
        Message,   // the directory or the list failed: Message is what the user was shown
    };
    TKind Kind = TKind::NotSent;
    std::string ListPath;  // the files.bbs, as the mailer's paths name it (Updated, Appended, NoList)
    long long Counter = 0;  // the new counter (Updated, Appended)
    std::string Message;
    bool WriteFailed = false;  // the list could not be rewritten (and was left as it was)
};

// The counter update after a pass: the requests after the AutoNew mark, or all of them when
// there is no mark. Each entry is processed once; each is told to each, when given.
using TDlcEach = std::function<void(std::int32_t index, const TDlcOutcome& outcome)>;
void RunDlcUpdate(TMailerLog& log, IUserInterface& ui, const TDlcFormat& fmt, const TProgressFn& progress = {},
                  const TDlcEach& each = {}, bool dryRun = false);

}  // namespace tarvex
