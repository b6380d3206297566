#include "passwalk.h"

#include <cstdlib>
#include <exception>
#include <string>

#include "host/userinterface.h"
#include "report/nodehistory.h"

namespace tarvex::fuzz {

namespace {

// The words of a line as a viewer hands them to the colouring questions: runs of non-blanks
// with their 0-based columns.
void ColourLine(TLog& log, std::string_view line, int lineNo)
{
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start)
            (void)log.GetWordColor(line.substr(start, i - start), lineNo, static_cast<int>(start));
    }
}

// A record's line must be one the window can scroll to; anything else is a fault of the pass.
void CheckLine(std::int32_t lineNo, std::int32_t linesRead)
{
    if (lineNo < 0 || lineNo > linesRead + 1)
        std::abort();
}

}  // namespace

void AnalyzeAndWalk(TMailerLog& log, std::string_view text)
{
    log.AutoNew = true;
    log.LastStr = std::string(text.substr(text.size() / 2, 20));
    TScriptedUserInterface ui;
    log.Analyze(ui, [](std::int32_t) {}, text);

    for (std::int32_t line = 0; line <= log.LinesRead + 1; ++line) {
        if (const std::int32_t s = log.SessionAtLine(line); s >= 0)
            (void)log.Session(s);
        // Before the first day there is none, and a log without days answers 0.
        if (const std::int32_t d = log.DayAtLine(line); d >= 0 && d < log.DayCount)
            (void)log.Day(d);
    }
    for (std::int32_t d = 0; d < log.DayCount; ++d) {
        CheckLine(log.Day(d).LineNo, log.LinesRead);
        for (std::int32_t n = 0; n < log.NodeCount(d); ++n)
            (void)log.Node(d, n);
    }
    for (std::int32_t s = 0; s < log.SessCount; ++s) {
        const TSess& sess = log.Session(s);
        CheckLine(sess.StartLine, log.LinesRead);
        (void)SessDescription(sess);
        (void)SessColor(sess);
    }
    for (const TFreqEntry& f : log.Freqs)
        CheckLine(f.Freq.LineNo, log.LinesRead);

    // The overview and the history of the last day's first node, as their windows read them.
    for (const TDayBar& b : LogOverviewBars(log))
        if (b.Day < 0 || static_cast<std::size_t>(b.Day) >= log.Days.size() || b.Sessions() < 0)
            std::abort();
    if (log.NodeCount(log.DayCount - 1) > 0) {
        const auto rows = BuildNodeHistory(log, log.Node(log.DayCount - 1, 0).Addr);
        if (rows.size() < 2 || !rows.back().IsTotal())
            std::abort();  // the node appears on its own day at least
        (void)NodeHistoryBars(log, rows);
        TNHColumn column;
        std::string cell;
        for (const TNodeDay& row : rows)
            for (column.ColType = 0; column.ColType < kNodeHistColumnTypes; ++column.ColType)
                column.ColumnText(row, cell);
    }

    std::size_t from = 0;
    int lineNo = 0;
    while (from <= text.size() && lineNo < 5000) {
        const std::size_t lf = text.find('\n', from);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        ColourLine(log, text.substr(from, end - from), lineNo++);
        try {
            (void)log.DateOfLine(text.substr(from, end - from));
        } catch (const std::exception&) {
            // a line without a date of its own: the window tells the user, nothing breaks
        }
        if (lf == std::string_view::npos)
            break;
        from = lf + 1;
    }
}

}  // namespace tarvex::fuzz
