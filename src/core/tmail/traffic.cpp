#include "tmail/traffic.h"

#include <cstdio>

#include "base/fidoaddr.h"
#include "base/logutils.h"
#include "base/sort.h"
#include "tmail/recordtable.h"

namespace tarvex {

const char* const kTrafficHeaders[kTrafficColumns] = {"Address", "Sent", "Recd", "Out time",
                                                      "In time", "Out sess", "In sess"};

void TTrafficTotals::Add(const TTrafficEntry& e)
{
    InTime += e.InTime;
    OutTime += e.OutTime;
    BytesRecd += e.BytesRecd;
    BytesSent += e.BytesSent;
    FilesRecd += e.FilesRecd;
    FilesSent += e.FilesSent;
    OutSess1 += e.OutSess1;
    OutSess2 += e.OutSess2;
    InSess1 += e.InSess1;
    InSess2 += e.InSess2;
}

TTrafficEntry DecodeTrafficRecord(const unsigned char* rec)
{
    TTrafficEntry e;
    e.Zone = RecU16(rec, 0);
    e.Net = RecU16(rec, 2);
    e.Node = RecU16(rec, 4);
    e.Point = RecU16(rec, 6);
    e.InTime = RecI32(rec, 8);
    e.OutTime = RecI32(rec, 12);
    e.BytesRecd = RecI32(rec, 16);
    e.BytesSent = RecI32(rec, 20);
    e.FilesRecd = RecU16(rec, 28);
    e.FilesSent = RecU16(rec, 30);
    e.OutSess1 = RecU16(rec, 32);
    e.OutSess2 = RecU16(rec, 34);
    e.InSess1 = RecU16(rec, 36);
    e.InSess2 = RecU16(rec, 38);
    return e;
}

TTrafficTable TrafficTableOf(std::string_view fileBytes)
{
    TTrafficTable table;
    table.LeftoverBytes = DecodeRecords(fileBytes, kTrafficRecordSize, table.Entries, DecodeTrafficRecord);
    for (std::size_t k = 0; k < table.Entries.size(); ++k) {
        table.Entries[k].Order = static_cast<std::uint32_t>(k);
        table.Totals.Add(table.Entries[k]);
    }
    return table;
}

TRecordFileResult LoadTrafficFile(std::string_view localPath, TTrafficTable& table)
{
    return LoadRecordTable(localPath, kTrafficRecordSize, table, TrafficTableOf);
}

namespace {

const TTrafficEntry& E(const void* p) { return *static_cast<const TTrafficEntry*>(p); }

// Greater(a, b): a sorts after b. Equal keys fall back to the order shown before the sort.
bool AddressGreater(const void* pa, const void* pb, void*)
{
    const TTrafficEntry &a = E(pa), &b = E(pb);
    if (a.Zone != b.Zone)
        return a.Zone > b.Zone;
    if (a.Net != b.Net)
        return a.Net > b.Net;
    if (a.Node != b.Node)
        return a.Node > b.Node;
    if (a.Point != b.Point)
        return a.Point > b.Point;
    return a.Order > b.Order;
}

bool SessionsGreater(const void* pa, const void* pb, void*)
{
    const TTrafficEntry &a = E(pa), &b = E(pb);
    const int sa = a.OutSess1 + a.InSess1, sb = b.OutSess1 + b.InSess1;
    if (sa != sb)
        return sa < sb;
    return a.Order > b.Order;
}

bool TrafficGreater(const void* pa, const void* pb, void*)
{
    const TTrafficEntry &a = E(pa), &b = E(pb);
    const std::int64_t ta = std::int64_t{a.BytesRecd} + a.BytesSent;
    const std::int64_t tb = std::int64_t{b.BytesRecd} + b.BytesSent;
    if (ta != tb)
        return ta < tb;
    return a.Order > b.Order;
}

}  // namespace

void SortTraffic(std::vector<TTrafficEntry>& entries, TTrafficSort mode)
{
    RecordGreater greater = nullptr;
    switch (mode) {
    case TTrafficSort::Unsorted: return;
    case TTrafficSort::Address: greater = AddressGreater; break;
    case TTrafficSort::Sessions: greater = SessionsGreater; break;
    case TTrafficSort::Traffic: greater = TrafficGreater; break;
    }
    if (greater == nullptr)
        return;
    for (std::size_t k = 0; k < entries.size(); ++k)
        entries[k].Order = static_cast<std::uint32_t>(k);
    static_assert(sizeof(TTrafficEntry) <= 0xFFFF);
    SortRecords(entries.data(), entries.size(), static_cast<std::uint16_t>(sizeof(TTrafficEntry)), greater);
}

namespace {

std::string Pair(std::int64_t a, std::int64_t b) { return std::to_string(a) + "/" + std::to_string(b); }

std::string FilesAndSize(std::int64_t files, std::int64_t bytes) { return std::to_string(files) + "/" + SizeToStr(bytes); }

}  // namespace

std::string TrafficCellText(const TTrafficEntry& e, int column)
{
    switch (static_cast<TTrafficColumn>(column)) {
    case TTrafficColumn::Address: return FormatAddr(e.Zone, e.Net, e.Node, e.Point);
    case TTrafficColumn::Sent: return FilesAndSize(e.FilesSent, e.BytesSent);
    case TTrafficColumn::Recd: return FilesAndSize(e.FilesRecd, e.BytesRecd);
    case TTrafficColumn::OutTime: return SecsToStr(e.OutTime);
    case TTrafficColumn::InTime: return SecsToStr(e.InTime);
    case TTrafficColumn::OutSess: return Pair(e.OutSess1, e.OutSess2);
    case TTrafficColumn::InSess: return Pair(e.InSess1, e.InSess2);
    }
    return {};
}

std::string TrafficTotalText(const TTrafficTotals& t, int column)
{
    switch (static_cast<TTrafficColumn>(column)) {
    case TTrafficColumn::Address: return "Total";
    case TTrafficColumn::Sent: return FilesAndSize(t.FilesSent, t.BytesSent);
    case TTrafficColumn::Recd: return FilesAndSize(t.FilesRecd, t.BytesRecd);
    case TTrafficColumn::OutTime: return SecsToStr(t.OutTime);
    case TTrafficColumn::InTime: return SecsToStr(t.InTime);
    case TTrafficColumn::OutSess: return Pair(t.OutSess1, t.OutSess2);
    case TTrafficColumn::InSess: return Pair(t.InSess1, t.InSess2);
    }
    return {};
}

namespace {

// "%-14s %-9s %-9s %-8s %-8s %-7s %-7s": each text padded, never cut.
template <class Cell>
std::string ReportRow(Cell cell)
{
    static const int widths[kTrafficColumns] = {14, 9, 9, 8, 8, 7, 7};
    std::string line;
    for (int c = 0; c < kTrafficColumns; ++c) {
        if (c > 0)
            line += ' ';
        line += PadRight(cell(c), widths[c]);
    }
    return line + "\r\n";
}

}  // namespace

std::string TrafficReport(const std::vector<TTrafficEntry>& entries, const TTrafficTotals& totals,
                          const std::string* signatureTime)
{
    std::string r;
    r.reserve((entries.size() + 10) * 80);
    r += "\r\n";
    r += "                 Sent      Recd         Time           Sessions\r\n";
    r += " Address        Fil/Byt   Fil/Byt    Out      In      Out     In\r\n";
    r += "\r\n";
    for (const TTrafficEntry& e : entries)
        r += ReportRow([&](int c) { return TrafficCellText(e, c); });
    r += std::string(64, '-') + "\r\n";
    r += ReportRow([&](int c) { return TrafficTotalText(totals, c); });
    r += "\r\n";
    if (signatureTime)
        r += " * Traffic report created by Tarvex beta 4 at " + *signatureTime + "\r\n";
    return r;
}

}  // namespace tarvex
