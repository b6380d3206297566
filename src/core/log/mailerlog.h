#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "log/freqindex.h"
#include "log/records.h"
#include "log/tlog.h"
#include "platform/paths.h"

namespace tarvex {

struct TDlcFormat;
class SharedReadFile;
struct TDlcOutcome;

// A requested name and the record of the request.
struct TFreqEntry {
    std::string Request;  // upper case
    TFreq Freq;
};

// A magic name of the request index and the file it stands for.
struct TAliasEntry {
    std::string Magic;  // upper case
    TFreqAlias Alias;
};

using TProgressFn = std::function<void(std::int32_t lineNo)>;

// What a continued pass changed since the records were last settled, as positions in the
// records, so that a window following a log updates only what grew.
struct TPassGrowth {
    // Lines FirstLine..LastLine were read (none when LastLine < FirstLine).
    std::int32_t FirstLine = 1;
    std::int32_t LastLine = 0;
    std::size_t FirstSession = 0;  // Sessions from here on closed
    std::size_t FirstDay = 0;      // Days from here on began
    // DayStats from here on changed: the day that was going on may have counted more and its
    // nodes may stand in another order; every later day is new.
    std::size_t FirstNodeDay = 0;
    std::size_t FirstFreq = 0;  // Freqs from here on were added or changed
};

// A log of a mailer style: adds the analysis pass, which reads the whole log once and hands
// every line to the style's parser; the parser reports what it recognises through the
// record-keeping operations below.
class TMailerLog : public TLog
{
public:
    ~TMailerLog() override;

    void Assign(const TLog& source) override;
    void Load(const ISettingsStore& reg, std::string_view section) override;
    void Save(ISettingsStore& reg, std::string_view section) const override;
    bool IsMailer() const override { return true; }

    // Style slots.
    virtual void ParseLine(std::string_view line) = 0;
    virtual void CheckNewDay(std::string_view line);
    virtual TDateTime TimeOfLine(std::string_view line) = 0;
    // The full path of a file that the log names without a directory.
    virtual std::string LocateFile(std::string_view name);
    virtual void LoadLanguage();
    virtual void LoadConfig() = 0;
    // The configuration file LoadConfig reads, as a mailer path below MailerPath; empty for a
    // style that reads none. The setup dialog looks for it to tell a wrong mailer path early.
    virtual std::string ConfigFile() const { return {}; }
    // The phrases the style takes from the mailer's language file, as (number or key, text as
    // taken), in the order its parser takes them up; valid once the language is loaded. Empty
    // for a style that reads no language file.
    virtual std::vector<std::pair<std::string, std::string>> TakenPhrases() const { return {}; }
    virtual bool ReadsLanguage() const { return false; }
    // Loads the language file alone, outside a pass, answering through ui; throws what
    // LoadLanguage throws.
    void ReadLanguage(IUserInterface& ui);

    // The pass over the log: the file at Path, or the bytes given (the caller may already
    // hold them; both give the same line numbers). True when the whole log was read.
    bool Analyze(IUserInterface& ui, const TProgressFn& progress, std::optional<std::string_view> text = std::nullopt);

    // The same pass in steps, for a log that grows while it is read: after BeginPass, the log's
    // bytes go to FeedPass in pieces cut anywhere; each complete line is read as the one-shot
    // pass reads it, and a last line without its end waits for it. SettlePass then leaves the
    // records as a pass over the lines so far would (its sessions in Sessions, the last day's
    // nodes in order) and says what changed; feeding may go on after it, and the records end
    // up the same as from one pass over the whole text. EndPass says the text ends: a line
    // still waiting for its end is read as the last one; settle after it.
    // BeginPass reads the configuration and language and empties the records; false when they
    // stopped it, as Analyze (PassStarted tells). FeedPass and EndPass are false once the pass
    // has stopped (a question answered Cancel, the window closed) or before it began; bytes
    // fed after that are not read. None of the steps sets the busy cursor but BeginPass.
    bool BeginPass(IUserInterface& ui);
    bool FeedPass(IUserInterface& ui, std::string_view bytes, const TProgressFn& progress = {});
    bool EndPass(IUserInterface& ui, const TProgressFn& progress = {});
    TPassGrowth SettlePass(IUserInterface& ui);
    // The bytes of a last line that waits for its end.
    std::size_t HeldBytes() const { return Held.size(); }


    // Record keeping for the parsers.
    void AddDay(std::int32_t lineNo, TDateTime date);
    void CountDial(const TFidoAddr& addr);
    TNodeStat* NodeStat(const std::optional<TFidoAddr>& addr, TStatKind kind);
    void AddFreq(std::string_view reqName, const TFidoAddr& addr);
    void FreqSent(std::string_view sentName, std::string_view fullPath, const TFidoAddr& addr);
    // Whether the phrase stands in the line at the message column; an empty phrase always does.
    // Inline: the parsers ask it several times for every line.
    bool MsgIs(std::string_view line, std::string_view phrase) const
    {
        if (phrase.empty())
            return true;
        const std::size_t pos = MsgCol > 0 ? MsgCol - 1u : 0u;
        if (line.size() < pos + phrase.size() || line[pos] != phrase[0])
            return false;
        // By hand: a mismatch mostly shows within a few bytes, sooner than a library call.
        const char* p = line.data() + pos;
        for (std::size_t i = 1; i < phrase.size(); ++i)
            if (p[i] != phrase[i])
                return false;
        return true;
    }
    void StartSession(std::string_view line, bool inbound);
    void EndSession(std::string_view line);

    // Request index and directory list files.
    void AddAlias(std::string_view magicName, std::string_view path);
    const TFreqAlias* FindAlias(std::string_view upperMagic) const;
    void ClearAliases();
    // Both read mailer (DOS) paths; a missing file brings a warning and the pass goes on.
    void ReadFreqIndex(std::string_view fileName);
    std::vector<std::string> ReadFreqDirs(std::string_view fileName);
    // Raises the download counter of the file of request i, when it was sent; a dry run finds
    // the same answer and rewrites nothing.
    TDlcOutcome UpdateFreqDLC(std::int32_t i, IUserInterface& ui, const TDlcFormat& fmt,
                              std::map<std::string, std::string>* dryLists = nullptr);

    // Readers for the views.
    std::int32_t SessionAtLine(std::int32_t lineNo) const;
    std::int32_t DayAtLine(std::int32_t lineNo) const;
    const TSess& Session(std::int32_t i) const { return Sessions.at(static_cast<std::size_t>(i)); }
    const TNewDay& Day(std::int32_t i) const { return Days.at(static_cast<std::size_t>(i)); }
    std::int32_t NodeCount(std::int32_t day) const;
    const TNodeStat& Node(std::int32_t day, std::int32_t i) const;

    // The front end in charge during a pass (valid inside the style slots).
    IUserInterface& Ui() const;

    // The style's language table read from a mailer path. A file that cannot be read is told to
    // the user in the words every style uses before the error goes on and ends the pass.
    template <class TLng>
    std::unique_ptr<TLng> OpenLanguage(std::string_view mailerPath)
    {
        try {
            return std::make_unique<TLng>(ResolvePath(mailerPath));
        } catch (...) {
            TellCannotOpenLanguage();
            throw;
        }
    }

    std::vector<TAliasEntry> Aliases;
    std::optional<TFidoAddr> DialAddr;
    std::unique_ptr<TSess> CurSess;
    std::int32_t SessState = 0;
    std::int32_t LineNo = 0;
    std::uint8_t MsgCol = 1;
    std::uint8_t DayKeyPos = 1;
    std::uint8_t DayKeyLen = 0;
    std::string LastDayKey;
    bool PastMark = false;
    bool NewDayPending = false;
    // Filled when the pass is over (SessCount counts what it holds); contiguous, since the views
    // and reports read it as one span.
    TChunkedList<TSess> Sessions;
    // The texts the sessions hold (system and sysop names); cleared with them.
    TTextStore Texts;
    std::vector<TNewDay> Days;
    std::vector<std::vector<TNodeStat>> DayStats;
    std::int32_t SessCount = 0;
    std::int32_t DayCount = 0;
    TFreqList Freqs;
    std::int32_t NewFreqCount = 0;
    std::int32_t FirstNewFreq = -1;
    std::string MailerPath;
    bool UpdateDLC = false;
    std::int32_t MarkLineNo = 0;
    // The last pass got past reading its configuration and language, and how far it read.
    bool PassStarted = false;
    std::int32_t LinesRead = 0;

protected:
    explicit TMailerLog(std::uint8_t style);

    // Ends the line's parse as a thrown conversion error would, with the same question, for
    // damaged lines that are common enough to make throwing costly. The style returns from
    // ParseLine right after.
    void FailLine(std::string message)
    {
        LineFailed = true;
        LineFailure = std::move(message);
    }

private:
    bool LoadMailerFiles(IUserInterface& ui);
    TPassGrowth Settle(IUserInterface& ui);
    bool RunPass(IUserInterface& ui, const TProgressFn& progress, std::string_view text);
    bool FeedLines(IUserInterface& ui, std::string_view bytes, const TProgressFn& progress);
    bool EndLines(IUserInterface& ui, const TProgressFn& progress);
    bool PassOverFile(IUserInterface& ui, const TProgressFn& progress, SharedReadFile& file);
    bool AskToContinue(IUserInterface& ui, const std::string& question);
    void ResetRecords();
    void SortLastDay();
    void TouchFreq(std::size_t i)
    {
        if (i < FreqsTouched)
            FreqsTouched = i;
    }

    // The node of the current day with this address (none: nullptr), and a fresh one.
    TNodeStat* TodayNode(const TFidoAddr& addr);
    TNodeStat& AddTodayNode(const TFidoAddr& addr);

    IUserInterface* CurUi = nullptr;
    bool BusyPass = false;  // the pass holds the busy cursor: a question hands it back after
    int ProgressCounter = 0;
    // The pass in steps: the start of a line that waits for its end; whether the pass stopped
    // or its text ended; and the records' sizes when they were last settled.
    std::string Held;
    bool PassStopped = false;
    bool TextEnded = false;
    std::int32_t SettledLines = 0;
    std::size_t SettledDays = 0;
    std::size_t SettledFreqs = 0;
    std::size_t FreqsTouched = 0;  // the first request changed since then
    void TellCannotOpenLanguage();
    bool LineFailed = false;
    std::string LineFailure;
    std::string SentName;  // scratch of FreqSent
    // Sessions as the pass closes them, moved to Sessions when it ends: appending to a list that
    // never moves its records keeps a log of millions of sessions from stalling the window
    // while a vector of them doubles.
    TChunkedList<TSess> PassSessions;
    void FinishSessions(IUserInterface& ui);
    // The record of the last session, emptied, for the next one to reuse.
    std::unique_ptr<TSess> SpareSess;
    // The addresses of DayStats.back(), packed, in the same order: every dial and session
    // looks its node up, and a scan of these is far cheaper than one of the records.
    std::vector<std::uint64_t> DayNodes;
    std::size_t DayNodesDay = 0;  // DayStats.size() when DayNodes was built
    // Open-addressing table over DayNodes (position + 1, 0 free) for days with many nodes.
    std::vector<std::uint32_t> DaySlots;
    void IndexDayNode(std::size_t i);
    void RebuildDaySlots();
    std::unordered_map<std::string, std::size_t> AliasIndex;
    TFreqIndex FreqIndex;
    void AppendFreq(TFreqEntry entry);
};

}  // namespace tarvex
