#include "report/sesscolumns.h"

#include <charconv>
#include <cmath>

#include "base/logutils.h"

namespace tarvex {

const std::array<const char*, kSessColumnTypes> SessColumnNames = {
    "Time", "Length", "Address", "System", "SysOp", "Pwd", "Rslt",
    "Files sent", "Files recd", "Bytes sent", "Bytes recd", "CPS",
};

namespace {

constexpr TDefaultColumn kDefaults[] = {
    {slTime, "Time", 90},
    {slAddress, "Address", 90},
    {slSystem, "System", 120},
};

void AppendNumber(std::string& text, std::int64_t n)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    text.append(buf, r.ptr);
}

void AppendTwo(std::string& text, int n)
{
    text += static_cast<char>('0' + (n / 10) % 10);
    text += static_cast<char>('0' + n % 10);
}

// The same texts as SessDescription and SecsToStr, written into the cell's own buffer: these
// run for every row of a report of hundreds of thousands of sessions.
void AppendDescription(std::string& text, const TSess& s)
{
    if (s.Flags & sfHuman) {
        text += "Human caller";
        return;
    }
    text += (s.Flags & sfInbound) ? "In " : "Out ";
    if (s.Flags & sfFailed)
        text += "FAILED";
    else if (s.Flags & sfFTS1)
        text += "FTS-1";
    else if (s.Addr) {
        const TFidoAddr& a = *s.Addr;
        AppendNumber(text, a.Zone);
        text += ':';
        AppendNumber(text, a.Net);
        text += '/';
        AppendNumber(text, a.Node);
        if (a.Point != 0) {
            text += '.';
            AppendNumber(text, a.Point);
        }
        if (ShowDomain())
            text += a.Domain;
    }
}

void AppendDuration(std::string& text, std::int64_t n)
{
    std::uint64_t u = static_cast<std::uint64_t>(n);
    if (n < 0) {
        text += '-';
        u = 0 - u;
    }
    AppendNumber(text, static_cast<std::int64_t>(u / 3600));
    text += ':';
    AppendTwo(text, static_cast<int>((u / 60) % 60));
    text += ':';
    AppendTwo(text, static_cast<int>(u % 60));
}

}  // namespace

int SessColumnTypeOfName(std::string_view name)
{
    for (int i = 0; i < kSessColumnTypes; ++i)
        if (SameText(name, SessColumnNames[static_cast<std::size_t>(i)]))
            return i;
    return -1;
}

void TSLColumn::ColumnText(const TSess& s, std::string& text) const
{
    text.clear();
    // A human caller or a failed handshake has no system and moved nothing.
    const bool noRemote = (s.Flags & (sfHuman | sfFailed)) != 0;
    switch (ColType) {
    case slTime: {
        int y = 0, m = 0, d = 0, h = 0, n = 0, sec = 0, ms = 0;
        DecodeDate(s.StartTime, y, m, d);
        DecodeTime(s.StartTime, h, n, sec, ms);
        AppendTwo(text, d);
        text += Format.DateSep;
        AppendTwo(text, m);
        text += ' ';
        AppendTwo(text, h);
        text += Format.TimeSep;
        AppendTwo(text, n);
        text += Format.TimeSep;
        AppendTwo(text, sec);
        break;
    }
    case slLength: {
        const double secs = (s.EndTime - s.StartTime) * 86400.0;
        AppendDuration(text, std::isfinite(secs) ? std::llround(std::clamp(secs, -1e15, 1e15)) : 0);
        break;
    }
    case slAddress: AppendDescription(text, s); break;
    case slSystem:
        if (!noRemote)
            text.append(s.System);
        break;
    case slSysOp: text.append(s.SysOp); break;
    case slPwd: text.append((s.Flags & sfBadPassword) ? "BAD" : (s.Flags & sfPassword) ? "Yes" : "No"); break;
    case slRslt: text.append((s.Flags & sfOK) ? "OK" : "Err"); break;
    case slFilesSent:
        if (!noRemote)
            AppendNumber(text, s.FilesSent);
        break;
    case slFilesRecd:
        if (!noRemote)
            AppendNumber(text, s.FilesRecd);
        break;
    case slBytesSent:
        if (!noRemote)
            AppendNumber(text, s.BytesSent);
        break;
    case slBytesRecd:
        if (!noRemote)
            AppendNumber(text, s.BytesRecd);
        break;
    case slCPS:
        if (!noRemote)
            AppendNumber(text, s.CPS);
        break;
    default: break;
    }
}

std::span<const TDefaultColumn> SessListDefaultColumns() { return kDefaults; }

TSessColumnList::Factory SessColumnFactory(TDateFormat format)
{
    return [format] { return std::make_unique<TSLColumn>(format); };
}

}  // namespace tarvex
