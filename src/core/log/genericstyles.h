#pragma once
#include <optional>

#include "log/tlog.h"

namespace tarvex {

// Logs in the common Binkley-style layout: shown, coloured and walked by date only.
class TBinkLog : public TLog
{
public:
    TBinkLog();
    bool IsDateColumn(int col) const override;
    bool ClassifyWord(std::string_view word, int col) override;
    TDateTime DateOfLine(std::string_view line) override;
};

// Logs in the FrontDoor layout, where a dashed date line opens each day.
class TFDLog : public TLog
{
public:
    TFDLog();
    bool IsDateColumn(int col) const override;
    bool ClassifyWord(std::string_view word, int col) override;
    TDateTime DateOfLine(std::string_view line) override;
    bool DatesBySeparators() const override { return true; }
    std::optional<TDateTime> SeparatorDate(std::string_view line) const override;

    TDateTime LastDate = 0;
};

// A fixed-width decimal field of a log line (1-based column); throws on anything else.
int NumberAt(std::string_view line, int col, int width);
// The date of a Binkley-style line: day in columns 3-4, month name in 6-8, the program's year.
TDateTime BinkStyleDate(std::string_view line);

}  // namespace tarvex
