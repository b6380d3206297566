#pragma once
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
// The list is either fully rewritten or left exactly as it was.
TDlcResult UpdateFilesBbs(std::string_view localDir, std::string_view upperName, const TDlcFormat& fmt,
                          std::string* error = nullptr);

// The counter update after a pass: the requests after the AutoNew mark, or all of them when
// there is no mark. Each entry is processed once.
void RunDlcUpdate(TMailerLog& log, IUserInterface& ui, const TDlcFormat& fmt, const TProgressFn& progress = {});

}  // namespace tarvex
