#include "log/records.h"

#include <algorithm>
#include <cstdint>

namespace tarvex {

std::int32_t RateOf(std::int64_t sent, std::int64_t recd, std::int64_t secs)
{
    // Sums wrapped by a hostile log may be the most negative number, which a divisor of -1
    // would overflow.
    auto per = [secs](std::int64_t bytes) {
        return secs == -1 ? (bytes == INT64_MIN ? INT64_MAX : -bytes) : bytes / secs;
    };
    const std::int64_t r = std::max(per(sent), per(recd));
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(r, INT32_MIN, INT32_MAX));
}

std::string SessDescription(const TSess& s)
{
    if (s.Flags & sfHuman)
        return "Human caller";
    std::string d = (s.Flags & sfInbound) ? "In " : "Out ";
    if (s.Flags & sfFailed)
        d += "FAILED";
    else if (s.Flags & sfFTS1)
        d += "FTS-1";
    else if (s.Addr)
        d += s.Addr->ToString();
    return d;
}

TColorItem SessColor(const TSess& s)
{
    if (s.Flags & sfFailed)
        return TColorItem::TLBad;
    if (s.Flags & sfHuman)
        return TColorItem::TLHuman;
    if (s.Flags & sfInbound)
        return TColorItem::TLInc;
    return TColorItem::TLOut;
}

}  // namespace tarvex
