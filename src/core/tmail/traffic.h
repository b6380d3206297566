#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tmail/tmailfiles.h"

namespace tarvex {

// One node of a T-Mail traffic file: what was sent to and received from it and how long and how
// often it was talked to. A record of the file is 104 bytes; only these fields are used.
struct TTrafficEntry
{
    std::uint16_t Zone = 0, Net = 0, Node = 0, Point = 0;
    std::int32_t InTime = 0;    // seconds in incoming sessions
    std::int32_t OutTime = 0;   // seconds in outgoing sessions
    std::int32_t BytesRecd = 0;
    std::int32_t BytesSent = 0;
    std::uint16_t FilesRecd = 0, FilesSent = 0;
    std::uint16_t OutSess1 = 0, OutSess2 = 0;  // the two outgoing counters, shown as stored
    std::uint16_t InSess1 = 0, InSess2 = 0;
    // Position in the order shown before the present sort: ties keep it.
    std::uint32_t Order = 0;
};

// The sums over all entries, each in full width: the total row of a station that talked to
// many nodes must not wrap at 16 or 32 bits.
struct TTrafficTotals
{
    std::int64_t InTime = 0, OutTime = 0, BytesRecd = 0, BytesSent = 0;
    std::int64_t FilesRecd = 0, FilesSent = 0;
    std::int64_t OutSess1 = 0, OutSess2 = 0, InSess1 = 0, InSess2 = 0;

    void Add(const TTrafficEntry& e);
};

inline constexpr std::size_t kTrafficRecordSize = 104;

// The entry of one 104-byte record; rec must hold all of it.
TTrafficEntry DecodeTrafficRecord(const unsigned char* rec);

struct TTrafficTable
{
    std::vector<TTrafficEntry> Entries;  // in the order shown
    TTrafficTotals Totals;
    std::size_t LeftoverBytes = 0;       // bytes after the last whole record
};

// Reads a traffic file into table (entries in file order). On failure table is left as it was.
TRecordFileResult LoadTrafficFile(std::string_view localPath, TTrafficTable& table);
// The same from the bytes of a file.
TTrafficTable TrafficTableOf(std::string_view fileBytes);

enum class TTrafficSort { Unsorted = 0, Address = 1, Sessions = 2, Traffic = 3 };

// Sorts in place: by address ascending, by sessions (first outgoing + first incoming counter)
// or by traffic (bytes received + sent) descending. Entries that compare equal keep the order
// they had before. Unsorted leaves the present order as it is.
void SortTraffic(std::vector<TTrafficEntry>& entries, TTrafficSort mode);

// Columns of the table and the report.
enum class TTrafficColumn { Address, Sent, Recd, OutTime, InTime, OutSess, InSess };
inline constexpr int kTrafficColumns = 7;
extern const char* const kTrafficHeaders[kTrafficColumns];

std::string TrafficCellText(const TTrafficEntry& e, int column);
std::string TrafficTotalText(const TTrafficTotals& t, int column);

// The text report: heading, one line a node in the order given, the hyphen line, the total line
// and, when signatureTime is given, the signature line with it. Lines end with CR LF.
std::string TrafficReport(const std::vector<TTrafficEntry>& entries, const TTrafficTotals& totals,
                          const std::string* signatureTime);

}  // namespace tarvex
