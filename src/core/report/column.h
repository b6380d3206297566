#pragma once
#include <cstdint>
#include <string>

namespace tarvex {

// One user-defined column of a statistics view: what it shows (ColType, told apart by the
// view's own column class), where (grid, report files or both) and how wide.
class TColumn
{
public:
    virtual ~TColumn() = default;

    // Copies the six stored fields, not the class.
    void Assign(const TColumn& source);

    std::int32_t ColType = 0;
    bool ShowScr = true;
    bool ShowFile = false;
    std::int32_t ScrWidth = 100;   // pixels
    std::int32_t FileWidth = 10;   // characters, box characters not counted
    std::string Heading;
};

// A column over one kind of record. Text is filled in place so that a grid or a report of
// hundreds of thousands of rows reuses one buffer.
template <class Item>
class TColumnOf : public TColumn
{
public:
    virtual void ColumnText(const Item& item, std::string& text) const = 0;
    // True when a report puts a separator line before this record.
    virtual bool StartsGroup(const Item& item) const = 0;
};

// How dates and times are written in column texts and report macros. The month names stay
// English whatever the locale: log dates are read and written with them.
struct TDateFormat
{
    char DateSep = '/';
    char TimeSep = ':';
};

}  // namespace tarvex
