#pragma once
#include <optional>

#include "log/tlog.h"

namespace tarvex {

// Binkley-style lines come in two layouts: "+ 01 Mar 12:34:56 BINK message" and, from later
// versions on, with hundredths, "+ 01 Mar 12:34:56.78 BINK message". Day, month and the start
// of the time stand in the same columns; the task name and the message move three columns right.
// Each line is read in its own layout, so a log that changed versions midway reads right.
struct TBinkColumns {
    std::size_t Task = 18;  // 0-based
    std::size_t Msg = 23;
};
TBinkColumns BinkColumnsOf(std::string_view line);

// The same for the viewer, which sees a line word by word: the time word tells the layout.
class TBinkWordColumns
{
public:
    void Note(std::string_view word, int col, bool lineStart);
    // The task name is the word after the time, whatever its length.
    int TaskCol() const { return Hundredths ? 21 : 18; }

private:
    bool Hundredths = false;
};

// Logs in the common Binkley-style layout: shown, coloured and walked by date only.
class TBinkLog : public TLog
{
public:
    TBinkLog();
    bool IsDateColumn(int col) const override;
    bool ClassifyWord(std::string_view word, int col) override;
    void NoteWord(std::string_view word, int col, bool lineStart) override { Words.Note(word, col, lineStart); }
    TDateTime DateOfLine(std::string_view line) override;

private:
    TBinkWordColumns Words;
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
