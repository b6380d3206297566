#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/datetime.h"
#include "base/fidoaddr.h"
#include "log/records.h"
#include "report/column.h"
#include "report/columnlist.h"

namespace tarvex {

class TMailerLog;

// One day of a node's history: its dial statistics record of that day. The last row of a
// history is the total over all its days (Day -1).
struct TNodeDay
{
    std::int32_t Day = -1;  // the log's day; -1 for the total
    TDateTime Date = 0;
    TNodeStat Stat;

    bool IsTotal() const { return Day < 0; }
};

// The node's record of every day it appears on, in day order, then the total: bytes, seconds
// and counts summed, the CPS of the sums. The address matches as the dial statistics match it
// (zone, net, node and point; the domain ignored). Reads each day's sorted node records, so it
// takes a search per day and nothing of the sessions. A node that never appears gives the
// total alone.
std::vector<TNodeDay> BuildNodeHistory(const TMailerLog& log, const TFidoAddr& addr);

// The node a line of the log speaks of: the address of the session the line belongs to, else
// the first word of the line that reads as an address (zone:net/node, a point and domain
// allowed); none when there is neither.
std::optional<TFidoAddr> NodeAtLine(const TMailerLog& log, std::int32_t lineNo, std::string_view text);

// What a node history column shows; the names are offered in this order.
enum TNHColType : std::int32_t {
    nhDate = 0, nhTries, nhBusy, nhNoCarrier, nhOutSess, nhInSess, nhFailed,
    nhBytesSent, nhBytesRecd, nhTimeOnline, nhCPS,
};
inline constexpr int kNodeHistColumnTypes = 11;
extern const std::array<const char*, kNodeHistColumnTypes> NodeHistColumnNames;
// Report widths that fit each heading and its usual values: "01 Jan 26", "No carrier", "1:02:05".
extern const std::array<int, kNodeHistColumnTypes> NodeHistFileWidths;

// A column of the node history: one value of the node's day, "Total" in the date of the total.
class TNHColumn : public TColumnOf<TNodeDay>
{
public:
    void ColumnText(const TNodeDay& d, std::string& text) const override;
    // A report draws a separator line above the total.
    bool StartsGroup(const TNodeDay& d) const override { return d.IsTotal(); }
};

using TNodeHistColumnList = TColumnList<TNodeDay>;

// Every column, on screen and in reports, when the view's section stores none.
std::span<const TDefaultColumn> NodeHistDefaultColumns();

TNodeHistColumnList::Factory NodeHistColumnFactory();

// One day of a chart: the sessions of the day by the colour they are drawn in, and the bytes
// moved each way.
struct TDayBar
{
    std::int32_t Day = 0;
    TDateTime Date = 0;
    std::int32_t In = 0;     // inbound sessions that did not fail (TLInc)
    std::int32_t Out = 0;    // outbound ones (TLOut)
    std::int32_t Human = 0;  // human callers (TLHuman)
    std::int32_t Bad = 0;    // failed sessions either way (TLBad)
    std::int64_t BytesSent = 0;
    std::int64_t BytesRecd = 0;

    std::int64_t Sessions() const { return std::int64_t{In} + Out + Human + Bad; }
};

// One bar for every day of the log, from a node's history: the days it does not appear on are
// empty. A node never meets a human caller, who gives no address.
std::vector<TDayBar> NodeHistoryBars(const TMailerLog& log, std::span<const TNodeDay> history);

// One bar for every day of the log, over all its sessions: a session belongs to the day it
// started on (one before the first day to the first day).
std::vector<TDayBar> LogOverviewBars(const TMailerLog& log);

}  // namespace tarvex
