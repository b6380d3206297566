#include "report/dscolumns.h"

#include <memory>

#include "base/logutils.h"

namespace tarvex {

const std::array<const char*, kDialStatColumnTypes> DialStatColumnNames = {
    "Node", "Tries", "Busy", "No carrier", "Out sess", "In sess",
    "Bytes sent", "Bytes recd", "Time online", "CPS",
};

namespace {

constexpr TDefaultColumn kDefaults[] = {
    {dsNode, "Node", 90},
    {dsOutSess, "Out sess", 50},
    {dsInSess, "In sess", 50},
};

}  // namespace

void TDSColumn::ColumnText(const TNodeStat& n, std::string& text) const
{
    text.clear();
    switch (ColType) {
    case dsNode: text = n.Addr.ToString(); break;
    case dsTries: text = std::to_string(n.Tries); break;
    case dsBusy: text = std::to_string(n.Busy); break;
    case dsNoCarrier: text = std::to_string(n.NoCarrier); break;
    case dsOutSess: text = std::to_string(n.OutSess); break;
    case dsInSess: text = std::to_string(n.InSess); break;
    case dsBytesSent: text = std::to_string(n.BytesSent); break;
    case dsBytesRecd: text = std::to_string(n.BytesRecd); break;
    case dsTimeOnline: text = SecsToStr(n.Seconds); break;
    case dsCPS: text = std::to_string(n.CPS); break;
    default: break;
    }
}

std::span<const TDefaultColumn> DialStatDefaultColumns() { return kDefaults; }

TDialStatColumnList::Factory DialStatColumnFactory()
{
    return [] { return std::make_unique<TDSColumn>(); };
}

}  // namespace tarvex
