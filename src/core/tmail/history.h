#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tmail/tmailfiles.h"

namespace tarvex {

// One session of a T-Mail line's last-sessions history (a 28-byte record of t-hist.$NN).
struct THistoryRecord
{
    std::uint16_t Zone = 0, Net = 0, Node = 0, Point = 0;
    std::int32_t StartTime = 0;  // seconds; only the time of day is shown
    std::int32_t Length = 0;     // seconds
    std::int32_t BytesRecd = 0;
    std::int32_t BytesSent = 0;
    std::uint8_t FilesRecd = 0, FilesSent = 0;
    std::uint8_t Flags = 0;      // bit 0 incoming, bit 2 succeeded
};

inline constexpr std::size_t kHistoryRecordSize = 28;
inline constexpr std::uint8_t kHistoryIncoming = 1;
inline constexpr std::uint8_t kHistorySucceeded = 4;

// The record of 28 bytes at rec.
THistoryRecord DecodeHistoryRecord(const unsigned char* rec);

struct THistoryTable
{
    std::vector<THistoryRecord> Records;  // in file order
    std::size_t LeftoverBytes = 0;        // bytes after the last whole record
};

// Reads a history file. On failure table is left as it was.
TRecordFileResult LoadHistoryFile(std::string_view localPath, THistoryTable& table);
THistoryTable HistoryTableOf(std::string_view fileBytes);

enum class THistoryColumn { Status, Address, StartTime, Length, Sent, Recv };
inline constexpr int kHistoryColumns = 6;
extern const char* const kHistoryHeaders[kHistoryColumns];

std::string HistoryCellText(const THistoryRecord& r, int column);

}  // namespace tarvex
