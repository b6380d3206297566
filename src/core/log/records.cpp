#include "log/records.h"

namespace tarvex {

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
