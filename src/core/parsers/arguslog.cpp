#include "parsers/arguslog.h"

#include "base/logutils.h"
#include "parsers/lineparts.h"

namespace tarvex {

namespace {

using lineparts::From;

bool Digit(char c) { return c >= '0' && c <= '9'; }

// Later versions write "DD-Mon-YYYY", which moves the time and the message two columns right.
bool FourDigitYear(std::string_view line)
{
    return line.size() > 13 && line[4] == '-' && line[8] == '-' && Digit(line[9]) && Digit(line[10]) &&
           Digit(line[11]) && Digit(line[12]);
}

bool Contains(std::string_view line, std::string_view text) { return line.find(text) != std::string_view::npos; }

// The size in "NAME', (1,234 bytes)": read from the parenthesis, which is cut off with the blank
// before it and the character before that blank. Without a parenthesis the size is 0.
std::int64_t TakeParenSize(std::string& text)
{
    const std::size_t p = text.find('(');
    if (p == std::string::npos)
        return 0;
    std::string_view size = std::string_view(text).substr(p + 1);
    size = size.substr(0, size.find('b'));
    // Blanks around the number ("1,234 bytes") are no part of it.
    const std::int64_t n = StrToInt64(OuterTrimmed(RemoveChar(size, ',')));
    text.resize(p >= 2 ? p - 2 : 0);
    return n;
}

void DropLast(std::string& text)
{
    if (!text.empty())
        text.pop_back();
}

}  // namespace

TArgusLog::TArgusLog() : TMailerLog(lsArgus)
{
    MsgCol = 22;
    DayKeyPos = 3;
    DayKeyLen = 9;
}

bool TArgusLog::IsDateColumn(int col) const { return col == 2 || col == (FourDigitWords ? 14 : 12); }

void TArgusLog::NoteWord(std::string_view word, int col, bool lineStart)
{
    if (lineStart)
        FourDigitWords = false;
    if (col == 2)
        FourDigitWords = word.size() == 11 && word[2] == '-' && word[6] == '-';
}

bool TArgusLog::IsErrorWord(std::string_view word) const { return word == "?" || word == "!" || word == "aborted"; }

bool TArgusLog::ClassifyWord(std::string_view word, int col)
{
    if (word == "CONNECT" || word == "Session" || word == "Begin" || (word == "End" && col == (FourDigitWords ? 23 : 21)))
        CurColor = TColorItem::Info;
    else if (word == "Sending" || word == "Receiving")
        CurColor = TColorItem::Transfers;
    else if (word == "Aborting" || word == "Failed")
        CurColor = TColorItem::Errors;
    return col != 0;
}

TDateTime TArgusLog::DateOfLine(std::string_view line)
{
    const std::string_view month = line.size() > 5 ? line.substr(5, 3) : std::string_view();
    const int year = FourDigitYear(line) ? StrToInt(line.substr(9, 4)) : 1900 + lineparts::TwoDigitField(line, 9);
    return EncodeDate(year, MonthOfName(month), lineparts::TwoDigitField(line, 2));
}

TDateTime TArgusLog::TimeOfLine(std::string_view line)
{
    return ComposeDateTime(DateOfLine(line), lineparts::TimeFields(line, FourDigitYear(line) ? 14 : 12));
}

void TArgusLog::CheckNewDay(std::string_view line)
{
    DayKeyLen = FourDigitYear(line) ? 11 : 9;
    TMailerLog::CheckNewDay(line);
}

void TArgusLog::ForgetTransfers()
{
    SendFile.clear();
    RecvFile.clear();
    SendSize = 0;
    RecvSize = 0;
}

void TArgusLog::ParseOutside(std::string_view line)
{
    if (MsgIs(line, "Calling")) {
        CallState = 2;
        DialAddr.reset();
        DialAddr = TFidoAddr::Parse(From(line, Msg + 8));
        CountDial(*DialAddr);
    } else if (MsgIs(line, "Answering call")) {
        CallState = 1;
        DialAddr.reset();
    } else if (MsgIs(line, "BUSY")) {
        if (DialAddr)
            NodeStat(DialAddr, TStatKind::Busy);
    } else if (MsgIs(line, "NO CARRIER")) {
        if (DialAddr)
            NodeStat(DialAddr, TStatKind::NoCarrier);
    } else if (MsgIs(line, "CONNECT")) {
        StartSession(line, CallState == 1);
        // A transfer left open by the last session must not be completed by this one's lines.
        ForgetTransfers();
    }
}

bool TArgusLog::SessionEnds(std::string_view line)
{
    TSess& s = *CurSess;
    if (MsgIs(line, "Session complete")) {
        EndSession(line);
        return true;
    }
    if (MsgIs(line, "*****")) {
        s.Flags &= static_cast<std::uint8_t>(~sfOK);
        EndSession(line);
        return true;
    }
    if (Contains(line, "disconnecting") || MsgIs(line, "Aborting due to carrier loss") ||
        MsgIs(line, "Transfer aborted by ") || MsgIs(line, "Carrier lost")) {
        if (Contains(line, "EMSI") || !s.Addr)
            s.Flags |= sfFailed;
        s.Flags &= static_cast<std::uint8_t>(~sfOK);
        EndSession(line);
        return true;
    }
    if (MsgIs(line, "Cancel requested")) {
        if (!s.Addr)
            s.Flags |= sfFailed;
        EndSession(line);
        return true;
    }
    return false;
}

void TArgusLog::ParseTransfer(std::string_view line)
{
    TSess& s = *CurSess;
    if (MsgIs(line, "Password-protected session")) {
        s.Flags |= sfPassword;
    } else if (MsgIs(line, "Remote presented")) {
        if (Contains(line, "required"))
            s.Flags |= sfBadPassword;
    } else if (constexpr std::string_view freq = "File request \""; MsgIs(line, freq)) {
        const std::string_view rest = From(line, Msg + freq.size());
        if (s.Addr)
            AddFreq(rest.substr(0, rest.find('"')), *s.Addr);
    } else if (constexpr std::string_view nofreq = "Cannot fulfill file request \""; MsgIs(line, nofreq)) {
        std::string_view rest = From(line, Msg + nofreq.size());
        if (!rest.empty())
            rest.remove_suffix(1);
        if (s.Addr)
            AddFreq(rest, *s.Addr);
    } else if (MsgIs(line, "Sending")) {
        std::string text(From(line, Msg + 9));
        SendSize = TakeParenSize(text);
        const std::size_t arrow = text.find("->");
        if (arrow != std::string::npos)
            text.erase(0, std::min(text.size(), arrow + 4));
        DropLast(text);
        SendFile = std::move(text);
        ++s.FilesSent;
    } else if (MsgIs(line, "Transmitting from offset")) {
        if (SendSize != 0)
            SubtractWrapped(SendSize, StrToInt64Grouped(From(line, Msg + 25)));
    } else if (Contains(line, "Sent") && !SendFile.empty()) {
        const std::size_t quote = line.find('\'');
        std::string_view name = quote == std::string_view::npos ? std::string_view() : line.substr(quote + 1);
        if (!name.empty())
            name.remove_suffix(1);
        if (s.Addr)
            FreqSent(name, SendFile, *s.Addr);
        AddWrapped(s.BytesSent, SendSize);
        SendSize = 0;
        SendFile.clear();
    } else if (MsgIs(line, "Receiving")) {
        if (MsgIs(line, "Receiving from offset")) {
            if (RecvSize != 0)
                SubtractWrapped(RecvSize, StrToInt64Grouped(From(line, Msg + 22)));
        } else if (MsgIs(line, "Receiving file was")) {
            RecvSize = 0;
            RecvFile.clear();
        } else {
            std::string text(From(line, Msg + 11));
            RecvSize = TakeParenSize(text);
            DropLast(text);
            RecvFile = std::move(text);
            ++s.FilesRecd;
        }
    } else if (Contains(line, "Received") && !RecvFile.empty()) {
        AddWrapped(s.BytesRecd, RecvSize);
        RecvSize = 0;
        RecvFile.clear();
    } else if (MsgIs(line, "Remote refused") || MsgIs(line, "Protocol aborted")) {
        SendFile.clear();
        RecvFile.clear();
    }
}

void TArgusLog::ParseLine(std::string_view line)
{
    Msg = FourDigitYear(line) ? 23 : 21;
    MsgCol = static_cast<std::uint8_t>(Msg + 1);
    if (SessState == 0) {
        ParseOutside(line);
        return;
    }
    if (SessionEnds(line))
        return;
    TSess& s = *CurSess;
    switch (SessState) {
    case 1:
        if (MsgIs(line, "   Station :")) {
            s.System = Texts.Keep(From(line, Msg + 13));
            SessState = 2;
        }
        break;
    case 2:
        if (MsgIs(line, "   Address :")) {
            s.Flags &= static_cast<std::uint8_t>(~sfHuman);
            s.Addr = TFidoAddr::Parse(WordViewAt(1, From(line, Msg + 13), ' '));
            SessState = 3;
        }
        break;
    case 3:
        if (MsgIs(line, "     SysOp :")) {
            s.SysOp = Texts.Keep(lineparts::NameBeforeFrom(From(line, Msg + 13)));
            SessState = 4;
        }
        break;
    case 4:
        ParseTransfer(line);
        break;
    default:
        break;
    }
}

}  // namespace tarvex
