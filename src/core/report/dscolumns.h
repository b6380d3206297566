#pragma once
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "log/records.h"
#include "report/column.h"
#include "report/columnlist.h"

namespace tarvex {

// What a dial statistics column shows; the names are offered in this order.
enum TDSColType : std::int32_t {
    dsNode = 0, dsTries, dsBusy, dsNoCarrier, dsOutSess, dsInSess,
    dsBytesSent, dsBytesRecd, dsTimeOnline, dsCPS,
};
inline constexpr int kDialStatColumnTypes = 10;
extern const std::array<const char*, kDialStatColumnTypes> DialStatColumnNames;

// A column of the dial statistics: one value of a node's day.
class TDSColumn : public TColumnOf<TNodeStat>
{
public:
    void ColumnText(const TNodeStat& n, std::string& text) const override;
    // A day's nodes are one group: reports have no separator lines.
    bool StartsGroup(const TNodeStat&) const override { return false; }
};

using TDialStatColumnList = TColumnList<TNodeStat>;

// "Node", "Out sess" and "In sess": the columns of dial statistics that have none stored.
std::span<const TDefaultColumn> DialStatDefaultColumns();

TDialStatColumnList::Factory DialStatColumnFactory();

}  // namespace tarvex
