#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "log/coloritems.h"
#include "base/datetime.h"
#include "base/fidoaddr.h"
#include "base/textstore.h"

namespace tarvex {

// Session flags.
inline constexpr std::uint8_t sfInbound = 0x01;
inline constexpr std::uint8_t sfOK = 0x02;
inline constexpr std::uint8_t sfHuman = 0x04;
inline constexpr std::uint8_t sfFailed = 0x08;
inline constexpr std::uint8_t sfPassword = 0x10;
inline constexpr std::uint8_t sfBadPassword = 0x20;
inline constexpr std::uint8_t sfFTS1 = 0x40;
inline constexpr std::uint8_t sfFirstOfDay = 0x80;

// One mail session, from its connect line to its closing line.
struct TSess {
    TSess() = default;
    TSess(std::int32_t startLine, TDateTime startTime) : StartLine(startLine), StartTime(startTime) {}

    std::int32_t StartLine = 0;
    std::int32_t EndLine = 0;
    TDateTime StartTime = 0;
    TDateTime EndTime = 0;
    std::optional<TFidoAddr> Addr;  // none for human callers and failed handshakes
    // Kept in the log's text store (TMailerLog::Texts): names repeat across many sessions.
    TStoredText SysOp;
    TStoredText System;
    // A binkp hub passes more than 2 GB to one node in a session: byte counts are 64-bit.
    std::int64_t BytesSent = 0;
    std::int64_t BytesRecd = 0;
    std::int32_t FilesSent = 0;
    std::int32_t FilesRecd = 0;
    std::int32_t CPS = 0;
    std::uint8_t Flags = 0;
};

inline void ClearFlag(TSess& s, std::uint8_t flag) { s.Flags = static_cast<std::uint8_t>(s.Flags & ~flag); }

// One line of text for the session list's address column and the timeline.
std::string SessDescription(const TSess& s);
// The colour item a session is drawn with.
TColorItem SessColor(const TSess& s);

// One day of the log.
struct TNewDay {
    std::int32_t LineNo = 0;
    TDateTime Date = 0;
};

// One requested file.
struct TFreq {
    TFidoAddr Addr;
    bool Sent = false;
    std::int32_t LineNo = 0;
    std::string Name;
    std::string FilePath;
    bool IsNew = false;
};

// One magic name of the mailer's file request index.
struct TFreqAlias {
    std::string Path;
    std::string FileName;
};

// Dial statistics of one node on one day.
struct TNodeStat {
    TFidoAddr Addr;
    std::int32_t Tries = 0;
    std::int32_t Busy = 0;
    std::int32_t NoCarrier = 0;
    std::int32_t OutSess = 0;
    std::int32_t InSess = 0;
    // Of those sessions, the ones that failed: a node's history tells them apart by colour.
    std::int32_t InFailed = 0;
    std::int32_t OutFailed = 0;
    std::int32_t CPS = 0;  // beside the other 32-bit counts, so that no padding follows
    std::int64_t BytesSent = 0;
    std::int64_t BytesRecd = 0;
    std::int64_t Seconds = 0;
};

// Bytes per second of a session or a node's sum: the larger direction over the seconds. Sums of
// bytes and seconds wrap like the counters they are, instead of overflowing.
std::int32_t RateOf(std::int64_t sent, std::int64_t recd, std::int64_t secs);

// The kinds of count NodeStat increments.
enum class TStatKind { Busy = 1, NoCarrier = 2, OutSess = 3, InSess = 4 };

}  // namespace tarvex
