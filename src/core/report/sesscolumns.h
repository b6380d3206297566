#pragma once
#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "log/records.h"
#include "report/column.h"
#include "report/columnlist.h"

namespace tarvex {

// What a session list column shows; the names are offered in this order.
enum TSLColType : std::int32_t {
    slTime = 0, slLength, slAddress, slSystem, slSysOp, slPwd, slRslt,
    slFilesSent, slFilesRecd, slBytesSent, slBytesRecd, slCPS,
};
inline constexpr int kSessColumnTypes = 12;
extern const std::array<const char*, kSessColumnTypes> SessColumnNames;

// The column type of a name, matched without regard to case; -1 when there is none.
int SessColumnTypeOfName(std::string_view name);

// A column of the session list.
class TSLColumn : public TColumnOf<TSess>
{
public:
    explicit TSLColumn(TDateFormat format = {}) : Format(format) {}

    void ColumnText(const TSess& s, std::string& text) const override;
    // Reports get a separator line between days.
    bool StartsGroup(const TSess& s) const override { return (s.Flags & sfFirstOfDay) != 0; }

    TDateFormat Format;
};

using TSessColumnList = TColumnList<TSess>;

// "Time", "Address" and "System": the columns of a session list that has none stored.
std::span<const TDefaultColumn> SessListDefaultColumns();

// Makes TSLColumn objects writing dates with the given separators.
TSessColumnList::Factory SessColumnFactory(TDateFormat format = {});

}  // namespace tarvex
