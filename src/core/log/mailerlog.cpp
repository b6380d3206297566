#include "log/mailerlog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>

#include "base/linesplit.h"
#include "base/logutils.h"
#include "base/sort.h"
#include "log/readahead.h"
#include "mailercfg/lngerror.h"
#include "mailercfg/qparser.h"
#include "platform/freememory.h"
#include "platform/paths.h"
#include "platform/sharedfile.h"

namespace tarvex {

namespace {

// Zone, net, node and point in one number that orders as the address does.
std::uint64_t NodeKey(const TFidoAddr& a)
{
    return (std::uint64_t{a.Zone} << 48) | (std::uint64_t{a.Net} << 32) | (std::uint64_t{a.Node} << 16) | a.Point;
}

// Compared without a library call: this runs on every line, and day keys are a few bytes.
bool SameKey(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size();
    if (n != b.size())
        return false;
    if (n >= 4 && n <= 8) {
        // Two overlapping 4-byte words cover the key.
        std::uint32_t a1, a2, b1, b2;
        std::memcpy(&a1, a.data(), 4);
        std::memcpy(&a2, a.data() + n - 4, 4);
        std::memcpy(&b1, b.data(), 4);
        std::memcpy(&b2, b.data() + n - 4, 4);
        return a1 == b1 && a2 == b2;
    }
    return a == b;
}

// Sorts a day's nodes by address. Each address stands once in a day's list, and distinct keys
// have only one sorted order, so the records are sorted by their packed addresses and moved
// once; should an address stand twice, the list's own quicksort decides among equals.
void SortNodes(std::vector<TNodeStat>& nodes)
{
    if (nodes.size() < 2)
        return;
    std::vector<std::pair<std::uint64_t, std::size_t>> keys;
    keys.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i)
        keys.emplace_back(NodeKey(nodes[i].Addr), i);
    std::sort(keys.begin(), keys.end());
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (keys[i].first == keys[i - 1].first) {
            SortList(nodes, [](const TNodeStat& a, const TNodeStat& b) { return Compare(a.Addr, b.Addr); });
            return;
        }
    std::vector<TNodeStat> sorted;
    sorted.reserve(nodes.size());
    for (const auto& k : keys)
        sorted.push_back(std::move(nodes[k.second]));
    nodes.swap(sorted);
}

// Restores the normal cursor (when the step set the busy one) and forgets the front end on
// every way out of a pass or of one of its steps. A step of a followed log is short and comes
// often: it leaves the cursor alone.
class TPassScope
{
public:
    TPassScope(IUserInterface& ui, IUserInterface*& slot, bool& busySlot, bool busy)
        : Ui(ui), Slot(slot), BusySlot(busySlot), Busy(busy)
    {
        Slot = &ui;
        BusySlot = busy;
        if (Busy)
            Ui.SetBusyCursor(true);
    }
    ~TPassScope()
    {
        if (Busy)
            Ui.SetBusyCursor(false);
        Slot = nullptr;
        BusySlot = false;
    }
    TPassScope(const TPassScope&) = delete;
    TPassScope& operator=(const TPassScope&) = delete;

private:
    IUserInterface& Ui;
    IUserInterface*& Slot;
    bool& BusySlot;
    bool Busy;
};

// A line of megabytes that waited for its end leaves no buffer of its size behind.
void ReleaseHeld(std::string& held)
{
    if (held.capacity() > (std::size_t{1} << 20))
        std::string().swap(held);
    else
        held.clear();
}

}  // namespace

TMailerLog::TMailerLog(std::uint8_t style) : TLog(style) {}

TMailerLog::~TMailerLog() = default;

void TMailerLog::Assign(const TLog& source)
{
    TLog::Assign(source);
    if (const auto* m = dynamic_cast<const TMailerLog*>(&source)) {
        MailerPath = m->MailerPath;
        UpdateDLC = m->UpdateDLC;
    }
}

void TMailerLog::Load(const ISettingsStore& reg, std::string_view section)
{
    TLog::Load(reg, section);
    MailerPath = reg.ReadString(section, "MailerPath", "");
    UpdateDLC = reg.ReadBool(section, "UpdateDLC", false);
}

void TMailerLog::Save(ISettingsStore& reg, std::string_view section) const
{
    TLog::Save(reg, section);
    reg.WriteString(section, "MailerPath", MailerPath);
    reg.WriteBool(section, "UpdateDLC", UpdateDLC);
}

void TMailerLog::CheckNewDay(std::string_view line)
{
    const std::size_t pos = DayKeyPos > 0 ? DayKeyPos - 1u : 0u;
    const std::string_view key = pos < line.size() ? line.substr(pos, DayKeyLen) : std::string_view();
    if (!SameKey(key, LastDayKey)) {
        AddDay(LineNo, DateOfLine(line));
        LastDayKey.assign(key);
    }
}

std::string TMailerLog::LocateFile(std::string_view name) { return std::string(name); }

void TMailerLog::LoadLanguage() {}

void TMailerLog::ReadLanguage(IUserInterface& ui)
{
    TPassScope scope(ui, CurUi, BusyPass, true);
    LoadLanguage();
}

void TMailerLog::TellCannotOpenLanguage()
{
    Ui().SetBusyCursor(false);
    Ui().Message(std::string(CannotOpenLngMessage), TMsgKind::Error, TMsgButtons::OK);
}

IUserInterface& TMailerLog::Ui() const
{
    if (!CurUi)
        throw std::logic_error("no user interface outside an analysis pass");
    return *CurUi;
}

void TMailerLog::ResetRecords()
{
    LineNo = 0;
    SessState = 0;
    LastDayKey.clear();
    Sessions.clear();
    PassSessions.clear();
    Days.clear();
    DayStats.clear();
    DayNodes.clear();
    DaySlots.clear();
    DayNodesDay = 0;
    SessCount = 0;
    DayCount = 0;
    CurSess.reset();
    SpareSess.reset();
    // Last: the sessions above point into it.
    Texts.Clear();
    DialAddr.reset();
    NewDayPending = false;
    // Each pass starts with an empty request list, so that the counter update after a pass
    // never counts a request of an earlier pass again.
    Freqs.clear();
    FreqIndex.Clear();
    NewFreqCount = 0;
    FirstNewFreq = -1;
    PastMark = false;
    MarkLineNo = 0;
    LinesRead = 0;
    ProgressCounter = 0;
    ReleaseHeld(Held);
    PassStopped = false;
    TextEnded = false;
    SettledLines = 0;
    SettledDays = 0;
    SettledFreqs = 0;
    FreqsTouched = 0;
}

bool TMailerLog::LoadMailerFiles(IUserInterface& ui)
{
    // Drive letters of this mailer's files that the user has not mapped are guessed from
    // where the mailer lives; the guesses hold until another mailer is analysed.
    SetDriveGuessBase(MailerPath);

    try {
        LoadConfig();
    } catch (const EQParserError& e) {
        ui.SetBusyCursor(false);
        std::string msg;
        if (e.LineNo != 0)
            msg = "Error loading config file (file " + e.ShownFileName() + ", line " + std::to_string(e.LineNo) + "):\n\r" + e.what();
        else
            msg = std::string("Error loading config file:\r\n") + e.what();
        ui.Message(msg, TMsgKind::Error, TMsgButtons::OK);
        return false;
    } catch (const std::exception& e) {
        ui.SetBusyCursor(false);
        ui.Message(std::string("Error loading config file: ") + e.what(), TMsgKind::Error, TMsgButtons::OK);
        return false;
    }

    try {
        LoadLanguage();
    } catch (...) {
        return false;  // the style has told the user already
    }
    return true;
}

bool TMailerLog::Analyze(IUserInterface& ui, const TProgressFn& progress, std::optional<std::string_view> text)
{
    TPassScope scope(ui, CurUi, BusyPass, true);
    PassStarted = false;
    if (!LoadMailerFiles(ui))
        return false;

    if (!text) {
        // The file is read in pieces, as a followed log is: the pass needs each line only while
        // it reads it, and a log of gigabytes held whole would double what the analysis costs.
        SharedReadFile file;
        std::string error;
        if (!file.Open(ResolvePath(Path), error)) {
            ui.SetBusyCursor(false);
            ui.Message("Cannot open log file for analysis", TMsgKind::Error, TMsgButtons::OK);
            return false;
        }
        ResetRecords();
        PassStarted = true;
        const bool whole = PassOverFile(ui, progress, file);
        (void)Settle(ui);
        ReturnFreeMemory();
        return whole;
    }
    ResetRecords();
    PassStarted = true;
    // The whole text at once: its last line, with or without its end, is read like any other,
    // and nothing waits.
    const bool whole = RunPass(ui, progress, *text);
    TextEnded = true;
    (void)Settle(ui);
    ReturnFreeMemory();
    return whole;
}

bool TMailerLog::PassOverFile(IUserInterface& ui, const TProgressFn& progress, SharedReadFile& file)
{
    // The next pieces are read on a second thread while this one analyses: on a log of
    // gigabytes, reading is a core's worth of work the pass need not wait for.
    constexpr std::size_t Piece = std::size_t{4} << 20;
    ReadAhead reader(file, 0, UINT64_MAX, Piece);
    std::string error;
    for (;;) {
        const char* data = nullptr;
        const std::int64_t got = reader.Next(data, error);
        if (got < 0) {
            // What was read stays analysed; the user learns the rest could not be.
            (void)EndLines(ui, progress);
            ui.SetBusyCursor(false);
            ui.Message("Cannot open log file for analysis", TMsgKind::Error, TMsgButtons::OK);
            return false;
        }
        if (got == 0)
            break;
        if (!FeedLines(ui, {data, static_cast<std::size_t>(got)}, progress)) {
            TextEnded = true;
            return false;
        }
    }
    return EndLines(ui, progress);
}

bool TMailerLog::BeginPass(IUserInterface& ui)
{
    TPassScope scope(ui, CurUi, BusyPass, true);
    PassStarted = false;
    if (!LoadMailerFiles(ui))
        return false;
    ResetRecords();
    PassStarted = true;
    return true;
}

bool TMailerLog::FeedPass(IUserInterface& ui, std::string_view bytes, const TProgressFn& progress)
{
    if (!PassStarted || PassStopped || TextEnded)
        return false;
    if (bytes.empty())
        return true;
    TPassScope scope(ui, CurUi, BusyPass, false);
    return FeedLines(ui, bytes, progress);
}

bool TMailerLog::FeedLines(IUserInterface& ui, std::string_view bytes, const TProgressFn& progress)
{
    if (!Held.empty()) {
        // The line that waited takes the bytes up to its end, and is read on its own.
        const auto* lf = static_cast<const char*>(std::memchr(bytes.data(), '\n', bytes.size()));
        if (!lf) {
            Held.append(bytes);
            return true;
        }
        const std::size_t n = static_cast<std::size_t>(lf - bytes.data()) + 1;
        Held.append(bytes.data(), n);
        bytes.remove_prefix(n);
        const bool goOn = RunPass(ui, progress, Held);
        ReleaseHeld(Held);
        if (!goOn)
            return false;
    }
    const std::size_t last = bytes.rfind('\n');
    if (last == std::string_view::npos) {
        Held.assign(bytes);
        return true;
    }
    if (!RunPass(ui, progress, bytes.substr(0, last + 1)))
        return false;
    Held.assign(bytes.substr(last + 1));
    return true;
}

bool TMailerLog::EndPass(IUserInterface& ui, const TProgressFn& progress)
{
    if (!PassStarted || PassStopped || TextEnded)
        return false;
    TPassScope scope(ui, CurUi, BusyPass, false);
    return EndLines(ui, progress);
}

bool TMailerLog::EndLines(IUserInterface& ui, const TProgressFn& progress)
{
    TextEnded = true;
    if (Held.empty())
        return true;
    const bool whole = RunPass(ui, progress, Held);
    ReleaseHeld(Held);
    return whole;
}

TPassGrowth TMailerLog::SettlePass(IUserInterface& ui)
{
    TPassScope scope(ui, CurUi, BusyPass, false);
    TPassGrowth g = Settle(ui);
    // The last settling of a pass in steps: what the pass held for itself is free now.
    if (TextEnded)
        ReturnFreeMemory();
    return g;
}

TPassGrowth TMailerLog::Settle(IUserInterface& ui)
{
    TPassGrowth g;
    g.FirstLine = SettledLines + 1;
    g.LastLine = LineNo;
    g.FirstSession = Sessions.size();
    g.FirstDay = SettledDays;
    g.FirstNodeDay = SettledDays == 0 ? 0 : SettledDays - 1;
    g.FirstFreq = std::min(SettledFreqs, FreqsTouched);
    // Earlier days were sorted as the next one began, spread over the pass: sorting the nodes of
    // a hundred thousand days here at once would hold the window for half a second.
    if (!DayStats.empty())
        SortNodes(DayStats.back());
    // The day's nodes moved: the addresses packed for them are taken afresh when it counts on.
    DayNodes.clear();
    DaySlots.clear();
    DayNodesDay = 0;
    FinishSessions(ui);
    SettledLines = LineNo;
    SettledDays = Days.size();
    SettledFreqs = Freqs.size();
    FreqsTouched = Freqs.size();
    return g;
}

bool TMailerLog::AskToContinue(IUserInterface& ui, const std::string& question)
{
    ui.SetBusyCursor(false);
    if (Window)
        Window->ShowLine(LineNo);
    const bool goOn = ui.Message(question, TMsgKind::Error, TMsgButtons::OKCancel) == TMsgResult::OK;
    if (goOn && BusyPass)
        ui.SetBusyCursor(true);
    return goOn;
}

bool TMailerLog::RunPass(IUserInterface& ui, const TProgressFn& progress, std::string_view text)
{
    const bool hadWindow = Window != nullptr;
    LineSplitter lines(text);
    std::string_view line;
    std::string failure;  // kept out of the loop: made and dropped on every line otherwise
    // Every way out that ends the pass early says so, for the steps that may follow.
    bool whole = false;
    struct TStopMark {
        bool& Whole;
        bool& Stopped;
        ~TStopMark()
        {
            if (!Whole)
                Stopped = true;
        }
    } stopMark{whole, PassStopped};
    while (lines.Next(line)) {
        ui.KeepAlive();
        if (hadWindow && Window == nullptr)
            return false;
        // Records number their lines in 32 bits: past that the pass stops and says so, rather
        // than numbering lines wrongly.
        if (LineNo == std::numeric_limits<std::int32_t>::max()) {
            ui.SetBusyCursor(false);
            ui.Message("The log has more than " + std::to_string(LineNo) +
                           " lines; only those were analysed", TMsgKind::Error, TMsgButtons::OK);
            return false;
        }
        ++LineNo;
        LinesRead = LineNo;
        if (++ProgressCounter == 100) {
            ProgressCounter = 0;
            if (progress)
                progress(LineNo);
        }
        if (line.empty())
            continue;

        if (AutoNew && MarkOf(line) == LastStr) {
            MarkLineNo = LineNo;
            PastMark = true;
            FirstNewFreq = static_cast<std::int32_t>(Freqs.size());
        }

        try {
            CheckNewDay(line);
        } catch (...) {
            if (!AskToContinue(ui, "Invalid date at line " + std::to_string(LineNo) + "\n\rContinue processing?"))
                return false;
        }

        bool failed = false;
        LineFailed = false;
        try {
            ParseLine(line);
            if (LineFailed) {
                failed = true;
                failure.swap(LineFailure);
            }
        } catch (const std::exception& e) {
            failed = true;
            failure = e.what();
        } catch (...) {
            failed = true;
            failure = "Unknown error";
        }
        if (failed &&
            !AskToContinue(ui, "Error analyzing log at line " + std::to_string(LineNo) + ":\n\r" + failure +
                                   "\n\rContinue processing?"))
            return false;
    }
    whole = true;
    return true;
}

void TMailerLog::FinishSessions(IUserInterface& ui)
{
    if (Sessions.empty())
        SessCount = 0;
    // Sessions are kept in chunks too: they move chunk by chunk, each handed back as soon as it
    // is moved, and sessions settled later (a followed log) are appended without moving any.
    // The front end gets its turns while the sessions move (they may be millions); SessCount
    // follows the list, so a view painting meanwhile reads only what has arrived.
    PassSessions.MoveInto(Sessions, [this, &ui] {
        ++SessCount;
        ui.KeepAlive();
    });
}

void TMailerLog::AddDay(std::int32_t lineNo, TDateTime date)
{
    // No node of the day that ends is counted again, so its list takes its final order now.
    if (!DayStats.empty())
        SortNodes(DayStats.back());
    Days.push_back({lineNo, date});
    // Days of a log are much alike: room for as many nodes as the day before saves the
    // list's growing steps.
    const std::size_t before = DayStats.empty() ? 0 : DayStats.back().size();
    DayStats.emplace_back();
    DayStats.back().reserve(before);
    ++DayCount;
    NewDayPending = true;
}

namespace {

// Below this many nodes a day's addresses are simply scanned.
constexpr std::size_t ScanNodes = 16;

std::size_t SlotOf(std::uint64_t key, std::size_t mask)
{
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

}  // namespace

void TMailerLog::IndexDayNode(std::size_t i)
{
    if (DayNodes.size() < ScanNodes)
        return;
    if (DaySlots.size() < 2 * DayNodes.size()) {
        RebuildDaySlots();
        return;
    }
    const std::size_t mask = DaySlots.size() - 1;
    std::size_t s = SlotOf(DayNodes[i], mask);
    while (DaySlots[s] != 0) {
        if (DayNodes[DaySlots[s] - 1] == DayNodes[i])
            return;  // an earlier entry of the address is the one found
        s = (s + 1) & mask;
    }
    DaySlots[s] = static_cast<std::uint32_t>(i + 1);
}

void TMailerLog::RebuildDaySlots()
{
    DaySlots.clear();
    if (DayNodes.size() < ScanNodes)
        return;
    std::size_t size = 64;
    while (size < 4 * DayNodes.size())
        size *= 2;
    DaySlots.assign(size, 0);
    for (std::size_t i = 0; i < DayNodes.size(); ++i)
        IndexDayNode(i);
}

TNodeStat* TMailerLog::TodayNode(const TFidoAddr& addr)
{
    auto& nodes = DayStats.back();
    if (DayNodesDay != DayStats.size() || DayNodes.size() != nodes.size()) {
        // A new day, or the list was changed from outside: take its addresses afresh.
        DayNodes.clear();
        for (const auto& n : nodes)
            DayNodes.push_back(NodeKey(n.Addr));
        DayNodesDay = DayStats.size();
        RebuildDaySlots();
    }
    const std::uint64_t key = NodeKey(addr);
    if (DaySlots.empty()) {
        for (std::size_t i = 0; i < DayNodes.size(); ++i)
            if (DayNodes[i] == key)
                return &nodes[i];
        return nullptr;
    }
    const std::size_t mask = DaySlots.size() - 1;
    for (std::size_t s = SlotOf(key, mask); DaySlots[s] != 0; s = (s + 1) & mask)
        if (DayNodes[DaySlots[s] - 1] == key)
            return &nodes[DaySlots[s] - 1];
    return nullptr;
}

TNodeStat& TMailerLog::AddTodayNode(const TFidoAddr& addr)
{
    auto& nodes = DayStats.back();
    TNodeStat n;
    n.Addr = addr;
    nodes.push_back(std::move(n));
    DayNodes.push_back(NodeKey(addr));
    IndexDayNode(DayNodes.size() - 1);
    return nodes.back();
}

void TMailerLog::CountDial(const TFidoAddr& addr)
{
    if (DayStats.empty())
        return;  // no day yet: nowhere to count
    TNodeStat* n = TodayNode(addr);
    if (!n)
        n = &AddTodayNode(addr);
    ++n->Tries;
}

TNodeStat* TMailerLog::NodeStat(const std::optional<TFidoAddr>& addr, TStatKind kind)
{
    if (!addr || DayStats.empty())
        return nullptr;
    TNodeStat* found = TodayNode(*addr);
    if (!found)
        found = &AddTodayNode(*addr);
    switch (kind) {
    case TStatKind::Busy: ++found->Busy; break;
    case TStatKind::NoCarrier: ++found->NoCarrier; break;
    case TStatKind::OutSess: ++found->OutSess; break;
    case TStatKind::InSess: ++found->InSess; break;
    }
    return found;
}

void TMailerLog::StartSession(std::string_view line, bool inbound)
{
    const TDateTime t = TimeOfLine(line);
    if (SpareSess) {
        *SpareSess = TSess(LineNo, t);
        CurSess = std::move(SpareSess);
    } else {
        CurSess = std::make_unique<TSess>(LineNo, t);
    }
    if (NewDayPending) {
        CurSess->Flags |= sfFirstOfDay;
        NewDayPending = false;
    }
    if (inbound)
        CurSess->Flags |= sfInbound;
    CurSess->Flags |= sfOK;
    SessState = 1;
}

void TMailerLog::EndSession(std::string_view line)
{
    if (!CurSess) {
        SessState = 0;
        return;
    }
    TSess& s = *CurSess;
    s.EndTime = TimeOfLine(line);
    s.EndLine = LineNo;
    const double span = std::round((s.EndTime - s.StartTime) * 86400.0);
    const auto secs = static_cast<std::int64_t>(std::clamp(span, -2147483648.0, 2147483647.0));
    if (s.CPS == 0 && secs != 0)
        s.CPS = RateOf(s.BytesSent, s.BytesRecd, secs);
    if (s.Flags & sfFailed)
        s.Flags = static_cast<std::uint8_t>(s.Flags & ~sfOK);
    SessState = 0;

    TNodeStat* n = nullptr;
    if ((s.Flags & sfInbound) && s.Addr)
        n = NodeStat(s.Addr, TStatKind::InSess);
    else if (DialAddr)
        n = NodeStat(DialAddr, TStatKind::OutSess);
    if (n) {
        if (s.Flags & sfFailed)
            ++((s.Flags & sfInbound) ? n->InFailed : n->OutFailed);
        AddWrapped(n->BytesSent, s.BytesSent);
        AddWrapped(n->BytesRecd, s.BytesRecd);
        AddWrapped(n->Seconds, secs);
        if (n->Seconds != 0)
            n->CPS = RateOf(n->BytesSent, n->BytesRecd, n->Seconds);
    }

    if (CurUi) {
        PassSessions.push_back(std::move(s));  // counted when the pass moves them to Sessions
    } else {
        Sessions.push_back(std::move(s));
        ++SessCount;
    }
    DialAddr.reset();
    SpareSess = std::move(CurSess);
}

std::int32_t TMailerLog::SessionAtLine(std::int32_t lineNo) const
{
    for (std::size_t i = 0; i < Sessions.size(); ++i)
        if (Sessions[i].StartLine <= lineNo && lineNo <= Sessions[i].EndLine)
            return static_cast<std::int32_t>(i);
    return -1;
}

std::int32_t TMailerLog::DayAtLine(std::int32_t lineNo) const
{
    if (Days.empty())
        return 0;
    // Days lie in line order: the last one starting at or before the line.
    auto it = std::upper_bound(Days.begin(), Days.end(), lineNo,
                               [](std::int32_t l, const TNewDay& d) { return l < d.LineNo; });
    return static_cast<std::int32_t>(it - Days.begin()) - 1;
}

std::int32_t TMailerLog::NodeCount(std::int32_t day) const
{
    if (day < 0 || static_cast<std::size_t>(day) >= DayStats.size())
        return 0;
    return static_cast<std::int32_t>(DayStats[static_cast<std::size_t>(day)].size());
}

const TNodeStat& TMailerLog::Node(std::int32_t day, std::int32_t i) const
{
    return DayStats.at(static_cast<std::size_t>(day)).at(static_cast<std::size_t>(i));
}

}  // namespace tarvex
