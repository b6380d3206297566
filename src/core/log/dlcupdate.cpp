#include "log/dlcupdate.h"

#include <algorithm>

#include "base/linesplit.h"
#include "base/logutils.h"
#include "platform/fileops.h"
#include "platform/paths.h"

namespace tarvex {

namespace {

char FirstCharOr(std::string_view s, char def) { return s.empty() ? def : s[0]; }

long long PowerOfTen(int digits)
{
    long long p = 1;
    for (int i = 0; i < digits; ++i)
        p *= 10;
    return p;
}

// The local path of a file in dir, found without regard to case when it exists.
std::string FileInDir(std::string_view localDir, std::string_view name)
{
    std::string dir(localDir);
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\')
        dir += '/';
    return ResolvePath(dir + std::string(name));
}

}  // namespace

TDlcFormat DlcFormatOf(std::string_view left, std::string_view right, int digits, std::string_view lead,
                       bool backup)
{
    TDlcFormat f;
    f.Left = FirstCharOr(left, ' ');
    f.Right = FirstCharOr(right, ' ');
    f.Digits = digits;
    f.Lead = FirstCharOr(lead, ' ');
    f.Backup = backup;
    return f;
}

TDlcFormat ReadDlcFormat(const ISettingsStore& reg)
{
    return DlcFormatOf(reg.ReadString("General", "DLCLeft", "["), reg.ReadString("General", "DLCRight", "]"),
                       reg.ReadInteger("General", "DLCDigits", 3), reg.ReadString("General", "DLCLead", "0"),
                       reg.ReadBool("General", "DLCBackup", true));
}

std::string CounterText(long long n, const TDlcFormat& fmt)
{
    const int digits = std::clamp(fmt.Digits, 1, 9);
    const long long mod = PowerOfTen(digits);
    long long v = n % mod;
    if (v < 0)
        v += mod;
    std::string num = std::to_string(v);
    std::string text(1, fmt.Left);
    text.append(static_cast<std::size_t>(digits) - num.size(), fmt.Lead);
    text += num;
    text += fmt.Right;
    return text;
}

bool FindCounter(std::string_view line, const TDlcFormat& fmt, std::size_t& pos, std::size_t& len, long long& value)
{
    const long long mod = PowerOfTen(std::clamp(fmt.Digits, 1, 9));
    std::size_t p = line.find(fmt.Left);
    while (p != std::string_view::npos) {
        const std::size_t q = line.find(fmt.Right, p + 1);
        if (q == std::string_view::npos)
            return false;
        std::string_view inner = line.substr(p + 1, q - p - 1);
        while (!inner.empty() && inner.front() == fmt.Lead)
            inner.remove_prefix(1);
        const bool numeric = std::all_of(inner.begin(), inner.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (numeric) {
            // Only the last digits survive the rewrite, so only they matter.
            long long v = 0;
            for (char c : inner)
                v = (v * 10 + (c - '0')) % mod;
            pos = p;
            len = q - p + 1;
            value = v;
            return true;
        }
        p = line.find(fmt.Left, p + 1);
    }
    return false;
}

std::string RaiseCounter(std::string_view line, const TDlcFormat& fmt)
{
    std::size_t pos = 0, len = 0;
    long long value = 0;
    std::string out(line);
    if (FindCounter(line, fmt, pos, len, value)) {
        out.replace(pos, len, CounterText(value + 1, fmt));
    } else {
        if (out.size() < 13)
            out.append(13 - out.size(), ' ');
        out.insert(13, CounterText(1, fmt));
    }
    return out;
}

TDlcResult UpdateFilesBbs(std::string_view localDir, std::string_view upperName, const TDlcFormat& fmt,
                          std::string* error, long long* counter, TDlcDryLists* dryLists)
{
    const std::string listPath = FileInDir(localDir, "files.bbs");
    std::string old;
    const auto dry = dryLists ? dryLists->find(listPath) : TDlcDryLists::iterator();
    if (dryLists && dry != dryLists->end())
        old = dry->second;
    else if (!FileExists(listPath) || !ReadWholeFile(listPath, old, error))
        return TDlcResult::NoList;

    std::string out;
    out.reserve(old.size() + 64);
    bool found = false;
    std::string_view eol = "\r\n";
    std::size_t start = 0;
    bool firstLine = true;
    while (start < old.size()) {
        std::size_t lf = old.find('\n', start);
        const std::size_t end = lf == std::string::npos ? old.size() : lf + 1;
        const std::string_view raw(old.data() + start, end - start);
        const std::string_view text = StripTerminator(raw);
        const std::string_view term = raw.substr(text.size());
        if (firstLine && !term.empty()) {
            eol = term;
            firstLine = false;
        }
        if (UpperCase(DropTrailingSpaces(text.substr(0, 13))) == upperName) {
            if (!found && counter) {
                std::size_t pos = 0, len = 0;
                long long value = 0;
                FindCounter(text, fmt, pos, len, value);
                *counter = (value + 1) % PowerOfTen(std::clamp(fmt.Digits, 1, 9));
            }
            out += RaiseCounter(text, fmt);
            found = true;
        } else {
            out += text;
        }
        out += term;
        start = end;
    }
    if (!found && counter)
        *counter = 0;
    if (!found) {
        if (!old.empty() && old.back() != '\n')
            out += eol;
        out += PadRight(upperName, 14);
        out += CounterText(0, fmt);
        out += eol;
    }
    if (dryLists) {
        (*dryLists)[listPath] = std::move(out);
        return found ? TDlcResult::Updated : TDlcResult::Appended;
    }

    const std::string backup = fmt.Backup ? FileInDir(localDir, "filesbbs.bak") : std::string();
    if (!ReplaceFileContents(listPath, out, backup, error))
        return TDlcResult::Failed;
    if (!fmt.Backup) {
        const std::string stale = FileInDir(localDir, "filesbbs.bak");
        if (FileExists(stale))
            RemoveFile(stale);
    }
    return found ? TDlcResult::Updated : TDlcResult::Appended;
}

TDlcOutcome TMailerLog::UpdateFreqDLC(std::int32_t i, IUserInterface& ui, const TDlcFormat& fmt,
                                      std::map<std::string, std::string>* dryLists)
{
    TDlcOutcome o;
    if (i < 0 || static_cast<std::size_t>(i) >= Freqs.size())
        return o;
    TFreq& f = Freqs[static_cast<std::size_t>(i)].Freq;
    if (!f.Sent)
        return o;
    // The style's file lookup may need to tell the user something.
    IUserInterface* const outer = CurUi;
    CurUi = &ui;
    struct TRestore {
        IUserInterface*& Slot;
        IUserInterface* Old;
        ~TRestore() { Slot = Old; }
    } restore{CurUi, outer};
    if (f.FilePath.empty())
        f.FilePath = LocateFile(f.Name);
    const std::size_t slash = f.FilePath.find_last_of('\\');
    if (slash == std::string::npos) {
        o.Kind = TDlcOutcome::TKind::NotFound;
        return o;
    }
    const std::string dir = f.FilePath.substr(0, slash + 1);
    const std::string localDir = ResolvePath(NoTrailingBackslash(dir));
    if (!DirectoryExists(localDir)) {
        o.Kind = TDlcOutcome::TKind::Message;
        o.Message = "Cannot chdir to " + dir;
        ui.Message(o.Message, TMsgKind::Plain, TMsgButtons::OK);
        return o;
    }
    o.ListPath = dir + "files.bbs";
    std::string error;
    switch (UpdateFilesBbs(localDir, UpperCase(f.Name), fmt, &error, &o.Counter, dryLists)) {
    case TDlcResult::Updated: o.Kind = TDlcOutcome::TKind::Updated; break;
    case TDlcResult::Appended: o.Kind = TDlcOutcome::TKind::Appended; break;
    case TDlcResult::NoList: o.Kind = TDlcOutcome::TKind::NoList; break;
    case TDlcResult::Failed:
        o.Kind = TDlcOutcome::TKind::Message;
        o.WriteFailed = true;
        o.Message = "Cannot update files.bbs in " + dir + ": " + error;
        ui.Message(o.Message, TMsgKind::Error, TMsgButtons::OK);
        break;
    }
    return o;
}

void RunDlcUpdate(TMailerLog& log, IUserInterface& ui, const TDlcFormat& fmt, const TProgressFn& progress,
                  const TDlcEach& each, bool dryRun)
{
    const auto count = static_cast<std::int32_t>(log.Freqs.size());
    const std::int32_t first = log.FirstNewFreq < 0 ? 0 : std::min(log.FirstNewFreq, count);
    TDlcDryLists dryLists;
    ui.SetBusyCursor(true);
    for (std::int32_t i = first; i < count; ++i) {
        ui.KeepAlive();
        const TDlcOutcome outcome = log.UpdateFreqDLC(i, ui, fmt, dryRun ? &dryLists : nullptr);
        if (each)
            each(i, outcome);
        if (progress)
            progress(i - first + 1);
    }
    ui.SetBusyCursor(false);
}

}  // namespace tarvex
