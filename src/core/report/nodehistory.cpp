#include "report/nodehistory.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "base/logutils.h"
#include "log/mailerlog.h"

namespace tarvex {

const std::array<const char*, kNodeHistColumnTypes> NodeHistColumnNames = {
    "Date", "Tries", "Busy", "No carrier", "Out sess", "In sess", "Failed",
    "Bytes sent", "Bytes recd", "Time online", "CPS",
};

const std::array<int, kNodeHistColumnTypes> NodeHistFileWidths = {9, 5, 5, 10, 8, 7, 6, 12, 12, 11, 6};

namespace {

constexpr TDefaultColumn kDefaults[] = {
    {nhDate, "Date", 70, 9},
    {nhTries, "Tries", 40, 5},
    {nhBusy, "Busy", 40, 5},
    {nhNoCarrier, "No carrier", 60, 10},
    {nhOutSess, "Out sess", 50, 8},
    {nhInSess, "In sess", 50, 7},
    {nhFailed, "Failed", 45, 6},
    {nhBytesSent, "Bytes sent", 80, 12},
    {nhBytesRecd, "Bytes recd", 80, 12},
    {nhTimeOnline, "Time online", 70, 11},
    {nhCPS, "CPS", 50, 6},
};

void AddTo(TNodeStat& sum, const TNodeStat& n)
{
    AddWrapped(sum.Tries, n.Tries);
    AddWrapped(sum.Busy, n.Busy);
    AddWrapped(sum.NoCarrier, n.NoCarrier);
    AddWrapped(sum.OutSess, n.OutSess);
    AddWrapped(sum.InSess, n.InSess);
    AddWrapped(sum.InFailed, n.InFailed);
    AddWrapped(sum.OutFailed, n.OutFailed);
    AddWrapped(sum.BytesSent, n.BytesSent);
    AddWrapped(sum.BytesRecd, n.BytesRecd);
    AddWrapped(sum.Seconds, n.Seconds);
}

std::size_t DaysOf(const TMailerLog& log) { return std::min(log.Days.size(), log.DayStats.size()); }

// Counts from a damaged log may wrap below zero; a chart draws nothing for them.
std::int32_t NotBelowZero(std::int64_t n) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 0, INT32_MAX)); }

}  // namespace

std::vector<TNodeDay> BuildNodeHistory(const TMailerLog& log, const TFidoAddr& addr)
{
    std::vector<TNodeDay> rows;
    TNodeDay total;
    total.Stat.Addr = addr;
    const std::size_t days = DaysOf(log);
    for (std::size_t d = 0; d < days; ++d) {
        const auto& nodes = log.DayStats[d];
        const auto it = std::lower_bound(nodes.begin(), nodes.end(), addr, [](const TNodeStat& n, const TFidoAddr& a) {
            return Compare(n.Addr, a) < 0;
        });
        if (it == nodes.end() || Compare(it->Addr, addr) != 0)
            continue;
        TNodeDay row;
        row.Day = static_cast<std::int32_t>(d);
        row.Date = log.Days[d].Date;
        row.Stat = *it;
        AddTo(total.Stat, *it);
        rows.push_back(std::move(row));
    }
    if (total.Stat.Seconds != 0)
        total.Stat.CPS = RateOf(total.Stat.BytesSent, total.Stat.BytesRecd, total.Stat.Seconds);
    rows.push_back(std::move(total));
    return rows;
}

std::optional<TFidoAddr> NodeAtLine(const TMailerLog& log, std::int32_t lineNo, std::string_view text)
{
    // Sessions lie in line order: the last one starting at or before the line.
    const std::size_t count = std::min(log.Sessions.size(), static_cast<std::size_t>(std::max(log.SessCount, 0)));
    const auto end = log.Sessions.begin() + static_cast<std::ptrdiff_t>(count);
    const auto it = std::upper_bound(log.Sessions.begin(), end, lineNo,
                                     [](std::int32_t l, const TSess& s) { return l < s.StartLine; });
    if (it != log.Sessions.begin() && lineNo <= std::prev(it)->EndLine && std::prev(it)->Addr)
        return std::prev(it)->Addr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t,;()[]<>'\"", pos);
        if (start == std::string_view::npos)
            break;
        std::size_t stop = text.find_first_of(" \t,;()[]<>'\"", start);
        if (stop == std::string_view::npos)
            stop = text.size();
        const std::string_view word = text.substr(start, stop - start);
        pos = stop;
        const std::size_t colon = word.find(':');
        // A time has colons and no slash, a date a slash and no colon.
        if (word[0] < '0' || word[0] > '9' || colon == std::string_view::npos || word.find('/', colon) == std::string_view::npos)
            continue;
        TFidoAddr addr;
        std::string error;
        if (TFidoAddr::TryParse(word, addr, error))
            return addr;
    }
    return std::nullopt;
}

void TNHColumn::ColumnText(const TNodeDay& d, std::string& text) const
{
    const TNodeStat& n = d.Stat;
    text.clear();
    switch (ColType) {
    case nhDate: text = d.IsTotal() ? "Total" : FormatDDMMMYY(d.Date); break;
    case nhTries: text = std::to_string(n.Tries); break;
    case nhBusy: text = std::to_string(n.Busy); break;
    case nhNoCarrier: text = std::to_string(n.NoCarrier); break;
    case nhOutSess: text = std::to_string(n.OutSess); break;
    case nhInSess: text = std::to_string(n.InSess); break;
    case nhFailed: text = std::to_string(std::int64_t{n.InFailed} + n.OutFailed); break;
    case nhBytesSent: text = std::to_string(n.BytesSent); break;
    case nhBytesRecd: text = std::to_string(n.BytesRecd); break;
    case nhTimeOnline: text = SecsToStr(n.Seconds); break;
    case nhCPS: text = std::to_string(n.CPS); break;
    default: break;
    }
}

std::span<const TDefaultColumn> NodeHistDefaultColumns() { return kDefaults; }

TNodeHistColumnList::Factory NodeHistColumnFactory()
{
    return [] { return std::make_unique<TNHColumn>(); };
}

std::vector<TDayBar> NodeHistoryBars(const TMailerLog& log, std::span<const TNodeDay> history)
{
    const std::size_t days = DaysOf(log);
    std::vector<TDayBar> bars(days);
    for (std::size_t d = 0; d < days; ++d) {
        bars[d].Day = static_cast<std::int32_t>(d);
        bars[d].Date = log.Days[d].Date;
    }
    for (const TNodeDay& row : history) {
        if (row.IsTotal() || static_cast<std::size_t>(row.Day) >= days)
            continue;
        const TNodeStat& n = row.Stat;
        TDayBar& b = bars[static_cast<std::size_t>(row.Day)];
        b.In = NotBelowZero(std::int64_t{n.InSess} - n.InFailed);
        b.Out = NotBelowZero(std::int64_t{n.OutSess} - n.OutFailed);
        b.Bad = NotBelowZero(std::int64_t{n.InFailed} + n.OutFailed);
        b.BytesSent = n.BytesSent;
        b.BytesRecd = n.BytesRecd;
    }
    return bars;
}

std::vector<TDayBar> LogOverviewBars(const TMailerLog& log)
{
    const std::size_t days = log.Days.size();
    std::vector<TDayBar> bars(days);
    for (std::size_t d = 0; d < days; ++d) {
        bars[d].Day = static_cast<std::int32_t>(d);
        bars[d].Date = log.Days[d].Date;
    }
    if (days == 0)
        return bars;
    const std::size_t count = std::min(log.Sessions.size(), static_cast<std::size_t>(std::max(log.SessCount, 0)));
    std::size_t d = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const TSess& s = log.Sessions[i];
        // Sessions come in line order, so the day only moves on; a session out of order is
        // looked up.
        while (d + 1 < days && log.Days[d + 1].LineNo <= s.StartLine)
            ++d;
        std::size_t day = d;
        if (s.StartLine < log.Days[d].LineNo)
            day = static_cast<std::size_t>(std::max(log.DayAtLine(s.StartLine), 0));
        TDayBar& b = bars[day];
        switch (SessColor(s)) {
        case TColorItem::TLBad: ++b.Bad; break;
        case TColorItem::TLHuman: ++b.Human; break;
        case TColorItem::TLInc: ++b.In; break;
        default: ++b.Out; break;
        }
        AddWrapped(b.BytesSent, s.BytesSent);
        AddWrapped(b.BytesRecd, s.BytesRecd);
    }
    return bars;
}

}  // namespace tarvex
