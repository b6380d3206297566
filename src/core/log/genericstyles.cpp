#include "log/genericstyles.h"

#include "base/errors.h"
#include "base/logutils.h"

namespace tarvex {

int NumberAt(std::string_view line, int col, int width)
{
    const auto pos = static_cast<std::size_t>(col - 1);
    if (col < 1 || pos >= line.size())
        throw EConvertError("'' is not a valid integer value");
    return StrToInt(line.substr(pos, static_cast<std::size_t>(width)));
}

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

std::string_view FieldAt(std::string_view line, int col, int width)
{
    const auto pos = static_cast<std::size_t>(col - 1);
    return pos < line.size() ? line.substr(pos, static_cast<std::size_t>(width)) : std::string_view();
}

}  // namespace

TBinkColumns BinkColumnsOf(std::string_view line)
{
    if (line.size() > 20 && line[17] == '.' && Digit(line[18]) && Digit(line[19]) && line[20] == ' ')
        return {21, 26};
    return {};
}

void TBinkWordColumns::Note(std::string_view word, int col, bool lineStart)
{
    if (lineStart)
        Hundredths = false;
    if (col == 9)
        Hundredths = word.size() == 11 && word[8] == '.';
}

TBinkLog::TBinkLog() : TLog(lsGenericBink) {}

bool TBinkLog::IsDateColumn(int col) const { return col == 2 || col == 5 || col == 9; }

bool TBinkLog::ClassifyWord(std::string_view word, int col)
{
    if (col == 0 && !word.empty() && (word[0] == '-' || word[0] == '!')) {
        CurColor = TColorItem::Errors;
        return true;
    }
    if (col == Words.TaskCol())
        CurColor = TColorItem::Special;
    return false;
}

TDateTime TBinkLog::DateOfLine(std::string_view line) { return BinkStyleDate(line); }

TDateTime BinkStyleDate(std::string_view line)
{
    const int day = NumberAt(line, 3, 2);
    const int month = MonthOfName(FieldAt(line, 6, 3));
    return YearlessDate(month, day);
}

TFDLog::TFDLog() : TLog(lsGenericFD) {}

bool TFDLog::IsDateColumn(int col) const { return col == 2; }

bool TFDLog::ClassifyWord(std::string_view word, int col)
{
    if (col == 0 && !word.empty() && word[0] == '-')
        CurColor = TColorItem::Errors;
    return true;
}

TDateTime TFDLog::DateOfLine(std::string_view line)
{
    if (const auto date = SeparatorDate(line))
        LastDate = *date;
    return LastDate;
}

std::optional<TDateTime> TFDLog::SeparatorDate(std::string_view line) const
{
    if (line.substr(0, 10) != "----------")
        return std::nullopt;
    const int day = NumberAt(line, 17, 2);
    const int month = MonthOfName(FieldAt(line, 20, 3));
    const int year = StrToInt("19" + std::string(FieldAt(line, 24, 2)));
    return EncodeDate(year, month, day);
}

}  // namespace tarvex
