#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/datetime.h"
#include "host/logwindow.h"
#include "host/settingsstore.h"
#include "host/userinterface.h"
#include "log/coloritems.h"

namespace tarvex {

// Style numbers as stored in the settings.
enum TLogStyle : std::uint8_t {
    lsOther = 0,
    lsTMail = 1,
    lsGenericBink = 2,
    lsGenericFD = 3,
    lsBrake = 4,
    lsBinkPlus = 5,
    lsFHMail = 6,
    lsSFMail = 7,
    lsArgus = 8,
};
inline constexpr int kStyleCount = 9;

// The auto-new mark (TLog::LastStr): the first bytes of the last line read, kept when a window
// closes and looked for when the log opens again.
inline constexpr std::size_t kLastStrLength = 20;
inline std::string_view MarkOf(std::string_view line) { return line.substr(0, kLastStrLength); }

// A configured log. The base class is the style "Other": shown and walked, never analysed
// and never coloured. Each style overrides the colouring questions and the date of a line.
class TLog
{
public:
    TLog();
    virtual ~TLog() = default;
    TLog(const TLog&) = delete;
    TLog& operator=(const TLog&) = delete;

    // Colouring questions, asked word by word from left to right.
    virtual bool IsDateColumn(int col) const;
    virtual bool IsErrorWord(std::string_view word) const;
    // Called with CurColor = Normal; returns true when the colour it set holds for the rest of the line.
    virtual bool ClassifyWord(std::string_view word, int col);
    // Shown every word before the questions above, lineStart on the first word of a line, so
    // that a style whose layout varies from line to line can tell which one it is colouring.
    virtual void NoteWord(std::string_view word, int col, bool lineStart);

    virtual void Assign(const TLog& source);
    virtual void Load(const ISettingsStore& reg, std::string_view section);
    virtual void Save(ISettingsStore& reg, std::string_view section) const;
    // The date a line belongs to, for day navigation.
    virtual TDateTime DateOfLine(std::string_view line);
    // True for a style whose lines carry no date: a separator line opens each day, and
    // DateOfLine answers only while the log is read from the top. Whoever walks the log
    // otherwise (a days cut walks it from the end) dates a line by the separator above it.
    virtual bool DatesBySeparators() const { return false; }
    // The date a separator line opens; nothing for any other line. Throws, as the day check
    // of a pass does, for a separator whose date cannot be read.
    virtual std::optional<TDateTime> SeparatorDate(std::string_view) const { return std::nullopt; }
    // Lets the user set the style's own options (HasOptions); true when they changed how the
    // lines read, so that an analysis made before no longer holds and the text is analysed again.
    virtual bool EditOptions(IUserInterface& ui);
    virtual bool IsMailer() const { return false; }

    // The viewer asks this for every word it draws.
    TColorItem GetWordColor(std::string_view word, int lineNo, int col);

    TColorItem CurColor = TColorItem::Normal;
    std::string Name = "New log";
    std::string Path;
    std::uint8_t Style = lsOther;
    std::string LastStr;
    bool AutoNew = false;
    std::int32_t CutSize = 0;
    std::uint8_t CutMode = 0;  // 0 KBytes, 1 days
    ILogWindow* Window = nullptr;
    std::int32_t ColorLineNo = -1;
    bool Highlight = true;
    bool HasOptions = false;
    // Whether a window of the log follows it as the program writing it appends ("Follow");
    // unset, a log that is analysed is followed and any other is not.
    std::optional<bool> Follow;
    bool Follows() const { return Follow.value_or(IsMailer()); }

protected:
    explicit TLog(std::uint8_t style);

private:
    // The word GetWordColor was last asked about, to tell a line's first word from the next.
    int LastWordLine = -1;
    int LastWordCol = -1;
};

}  // namespace tarvex
