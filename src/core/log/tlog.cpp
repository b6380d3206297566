#include "log/tlog.h"

namespace tarvex {

TLog::TLog() : TLog(lsOther) {}

TLog::TLog(std::uint8_t style) : Style(style) {}

bool TLog::IsDateColumn(int) const { return false; }

bool TLog::IsErrorWord(std::string_view) const { return false; }

bool TLog::ClassifyWord(std::string_view, int) { return false; }

void TLog::NoteWord(std::string_view, int, bool) {}

void TLog::Assign(const TLog& source)
{
    Name = source.Name;
    Path = source.Path;
    AutoNew = source.AutoNew;
    CutMode = source.CutMode;
    CutSize = source.CutSize;
    Follow = source.Follow;
}

void TLog::Load(const ISettingsStore& reg, std::string_view section)
{
    Name = reg.ReadString(section, "Name", "");
    Path = reg.ReadString(section, "Path", "");
    AutoNew = reg.ReadBool(section, "AutoNew", false);
    LastStr = reg.ReadString(section, "LastStr", "");
    CutMode = static_cast<std::uint8_t>(reg.ReadInteger(section, "CutMode", 0));
    CutSize = reg.ReadInteger(section, "CutSize", 0);
    Highlight = reg.ReadBool(section, "Highlight", true);
    std::string follow;
    Follow.reset();
    if (reg.ReadValue(section, "Follow", follow))
        Follow = reg.ReadBool(section, "Follow", Follows());
}

void TLog::Save(ISettingsStore& reg, std::string_view section) const
{
    reg.WriteString(section, "Name", Name);
    reg.WriteString(section, "Path", Path);
    reg.WriteInteger(section, "Style", Style);
    reg.WriteBool(section, "AutoNew", AutoNew);
    reg.WriteString(section, "LastStr", LastStr);
    reg.WriteInteger(section, "CutMode", CutMode);
    reg.WriteInteger(section, "CutSize", CutSize);
    reg.WriteBool(section, "Highlight", Highlight);
    // Written only once the user chose, so that a log keeps the default of its style.
    if (Follow)
        reg.WriteBool(section, "Follow", *Follow);
}

TDateTime TLog::DateOfLine(std::string_view) { return ProgramStartDate(); }

bool TLog::EditOptions(IUserInterface&) { return false; }

TColorItem TLog::GetWordColor(std::string_view word, int lineNo, int col)
{
    // A viewer repaints single lines in any order (a caret move, a selection, a scroll by one
    // line). A question that does not go on along the line last asked about starts that line
    // afresh, so a colour decided for another line, or for this one in an earlier paint, never
    // carries over. Words asked in order along one line see no difference.
    const bool lineStart = lineNo != LastWordLine || col <= LastWordCol;
    if (lineStart)
        ColorLineNo = -1;
    LastWordLine = lineNo;
    LastWordCol = col;
    NoteWord(word, col, lineStart);
    if (IsDateColumn(col))
        return TColorItem::DateTime;
    if (IsErrorWord(word)) {
        CurColor = TColorItem::Errors;
        ColorLineNo = lineNo;
        return CurColor;
    }
    if (lineNo == ColorLineNo)
        return CurColor;
    CurColor = TColorItem::Normal;
    if (ClassifyWord(word, col))
        ColorLineNo = lineNo;
    return CurColor;
}

}  // namespace tarvex
