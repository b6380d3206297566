#include "parsers/sfmaillog.h"

#include "base/logutils.h"
#include "mailercfg/lngerror.h"
#include "mailercfg/qparser.h"
#include "mailercfg/stylephrases.h"
#include "parsers/lineparts.h"
#include "platform/paths.h"

namespace tarvex {

namespace {

using lineparts::From;
using lineparts::HasAt;

constexpr std::size_t kMarker = 10;  // 0-based column of the "(x)" marker
constexpr char kSeparator = '\xC4';  // the horizontal line of the DOS box-drawing characters
constexpr char kLastEntry = '\xC0';  // the corner that marks the last entry of a list

// The phrases of sf-mail.lng the parser uses, in the order its rules take them up.
constexpr TStylePhrase kUsedPhrases[] = {
    PhraseNo(1082), PhraseNo(2034), PhraseNo(2032), PhraseNo(1157), PhraseNo(1158), PhraseNo(2035),
    PhraseNo(1084), PhraseNo(1085), PhraseNo(1087), PhraseNo(1094), PhraseNo(2040), PhraseNo(1027),
    PhraseNo(2012), PhraseNo(1125), PhraseNo(1115), PhraseNo(1159), PhraseNo(1160),
};
constexpr int kHighestPhrase = 2040;

bool MarkerIs(std::string_view line, char symbol)
{
    return line.size() >= kMarker + 3 && line[kMarker] == '(' && line[kMarker + 1] == symbol && line[kMarker + 2] == ')';
}


}  // namespace

TSFMailLog::TSFMailLog() : TMailerLog(lsSFMail)
{
    MsgCol = 11;
    DayKeyPos = 1;
    DayKeyLen = 0;
}

bool TSFMailLog::IsDateColumn(int col) const { return col == 0 || col == 3 || col == 6; }

bool TSFMailLog::IsErrorWord(std::string_view word) const { return word == "(!)" || word == "(?)"; }

bool TSFMailLog::ClassifyWord(std::string_view word, int col)
{
    (void)col;
    if ((!word.empty() && word[0] == kSeparator) || word == "(\x0F)" || word == "(+)")
        CurColor = TColorItem::Info;
    else if (HasAt(word, 1, "Send") || HasAt(word, 1, "Recv"))
        CurColor = TColorItem::Transfers;
    else if (!HumanWord.empty() && word == HumanWord)
        CurColor = TColorItem::Special;
    return true;
}

std::optional<TDateTime> TSFMailLog::SeparatorDate(std::string_view line) const
{
    if (line.empty() || line[0] != kSeparator)
        return std::nullopt;
    const std::string_view month = line.size() > 15 ? line.substr(15, 3) : std::string_view();
    return YearlessDate(MonthOfName(month), lineparts::TwoDigitField(line, 12));
}

void TSFMailLog::CheckNewDay(std::string_view line)
{
    const std::optional<TDateTime> date = SeparatorDate(line);
    if (date && *date != CurDate) {
        AddDay(LineNo, *date);
        CurDate = *date;
    }
}

TDateTime TSFMailLog::DateOfLine(std::string_view) { return CurDate; }

TDateTime TSFMailLog::TimeOfLine(std::string_view line)
{
    return ComposeDateTime(CurDate, lineparts::TimeFields(line, 0));
}

const std::string& TSFMailLog::Phrase(int id) const
{
    static const std::string none;
    return id >= 0 && static_cast<std::size_t>(id) < Phrases.size() ? Phrases[static_cast<std::size_t>(id)] : none;
}

// A phrase the table lacks is empty; it must match no line rather than every line.
bool TSFMailLog::Starts(std::string_view line, int id) const
{
    const std::string& p = Phrase(id);
    return !p.empty() && MsgIs(line, p);
}

std::string_view TSFMailLog::Rest(std::string_view line, int id) const
{
    return From(line, kMarker + Phrase(id).size());
}

void TSFMailLog::LoadLanguage()
{
    if (Lng)
        return;
    Lng = OpenLanguage<TSFMailLng>(JoinMailerPath(MailerPath, "sf-mail.lng"));
    Phrases.assign(kHighestPhrase + 1, std::string());
    for (const TStylePhrase& p : kUsedPhrases)
        Phrases[static_cast<std::size_t>(p.Number)] = TakePhrase(*Lng, p);
    HumanWord = WordAt(2, Phrase(1082), " ");
}

std::vector<std::pair<std::string, std::string>> TSFMailLog::TakenPhrases() const
{
    std::vector<std::pair<std::string, std::string>> out;
    if (Lng)
        for (const TStylePhrase& p : kUsedPhrases)
            out.emplace_back(std::to_string(p.Number), TakePhrase(*Lng, p));
    return out;
}

std::string TSFMailLog::ConfigFile() const { return JoinMailerPath(JoinMailerPath(MailerPath, "cfg"), "sf-mail.cfg"); }

void TSFMailLog::LoadConfig()
{
    // Each pass reads the configuration afresh and dates its lines from its own separators.
    CurDate = 0;
    CallState = 0;
    ClearAliases();
    FrAlias = "freq.als";
    TQParser parser;
    parser.SetIncludeStr("#include");
    parser.SetDefineStr("#define");
    parser.AddStringHandler("Fr_Alias", FrAlias);
    // Lines may start with a "(x)" condition, which holds for every reading here.
    parser.OnAfterParse = [](TQParser& p, TQTokens& tokens) {
        if (!tokens.empty() && !tokens[0].empty() && tokens[0][0] == '(') {
            tokens.erase(tokens.begin());
            if (!p.TokenPos.empty())
                p.TokenPos.erase(p.TokenPos.begin());
        }
        return true;
    };
    parser.Parse(ConfigFile());
    if (FrAlias.find('\\') == std::string::npos)
        FrAlias = JoinMailerPath(MailerPath, FrAlias);
    ReadFreqIndex(FrAlias);
}

void TSFMailLog::ParseOutside(std::string_view line)
{
    if (MarkerIs(line, '#')) {
        DialAddr.reset();
        CallState = 1;
    } else if (MarkerIs(line, '\x07')) {
        CallState = 2;
        const std::size_t comma = line.find(',');
        std::string_view addr;
        if (comma != std::string_view::npos) {
            addr = From(line, comma + 2);
            addr = addr.substr(0, addr.find(','));
        }
        DialAddr.reset();
        DialAddr = TFidoAddr::Parse(addr);
        CountDial(*DialAddr);
    } else if (Starts(line, 2034)) {
        if (DialAddr)
            NodeStat(DialAddr, TStatKind::Busy);
    } else if (Starts(line, 2032)) {
        if (DialAddr)
            NodeStat(DialAddr, TStatKind::NoCarrier);
    } else {
        if (CallState != 0 && HasAt(line, 14, "CONNECT")) {
            StartSession(line, CallState == 1);
            // A file of the last session's request list must not be taken for this one's.
            FreqName.clear();
            FreqPath.clear();
        }
        CallState = 0;
    }
}

void TSFMailLog::ParseInSession(std::string_view line)
{
    TSess& s = *CurSess;
    if (Starts(line, 1157)) {
        SessState = 900;
    } else if (Starts(line, 1158)) {
        SessState = 900;
        ClearFlag(s, sfOK);
    } else if (MarkerIs(line, '!')) {
        if (Starts(line, 2035))
            s.Flags |= sfFailed;
        EndSession(line);
        return;
    }

    switch (SessState) {
    case 1:
        if (Starts(line, 1084)) {
            s.System = Texts.Keep(Rest(line, 1084));
            SessState = 2;
        } else if (Starts(line, 1082)) {
            s.Flags |= sfHuman;
            SessState = 10;
        }
        break;
    case 2:
        if (Starts(line, 1085)) {
            s.Addr = TFidoAddr::Parse(Rest(line, 1085));
            SessState = 3;
        }
        break;
    case 3:
        if (Starts(line, 1087)) {
            s.SysOp = Texts.Keep(Rest(line, 1087));
            SessState = 4;
        }
        break;
    case 4:
        if (Starts(line, 1094))
            s.Flags |= sfPassword;
        else if (Starts(line, 2040))
            s.Flags |= sfBadPassword;
        else if (HasAt(line, 11, "Send-"))
            AddWrapped(s.FilesSent, 1);
        else if (HasAt(line, 11, "Recv-"))
            AddWrapped(s.FilesRecd, 1);
        else if (Starts(line, 1027))
            SessState = 5;
        break;
    case 5:
        if (Starts(line, 2012)) {
            SessState = 4;
        } else {
            if (s.Addr)
                AddFreq(From(line, 13), *s.Addr);
            if (line.size() > kMarker && line[kMarker] == kLastEntry)
                SessState = 6;
        }
        break;
    case 6:
        if (HasAt(line, 11, "Send-")) {
            AddWrapped(s.FilesSent, 1);
            FreqPath = StripParenthesized(From(line, 20));
            FreqName = FileNameOf(FreqPath);
        } else if (HasAt(line, 11, "Recv-")) {
            AddWrapped(s.FilesRecd, 1);
        } else if (Starts(line, 1125)) {
            if (s.Addr) {
                // The transfer ended on the line before the one that says it went well.
                --LineNo;
                FreqSent(FreqName, FreqPath, *s.Addr);
                ++LineNo;
            }
        }
        break;
    case 10:
        if (Starts(line, 1115))
            EndSession(line);
        break;
    default:
        break;
    }

    switch (SessState) {
    case 900:
        SessState = 901;
        break;
    default:
        break;
    }
}

void TSFMailLog::ParseLine(std::string_view line)
{
    if (line.empty() || line[0] < '0' || line[0] > '9')
        return;
    if (SessState == 0) {
        ParseOutside(line);
        return;
    }
    // The two lines after the end of a session carry its byte totals and its speed.
    if (SessState == 901) {
        if (Starts(line, 1157) || Starts(line, 1158) || MarkerIs(line, '!')) {
            ParseInSession(line);
            return;
        }
        if (Starts(line, 1159)) {
            const std::string_view rest = Rest(line, 1159);
            const std::size_t slash = rest.find('/');
            CurSess->BytesSent = StrToInt64(rest.substr(0, slash));
            const std::string_view recd = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
            CurSess->BytesRecd = StrToInt64(recd.substr(0, recd.find(',')));
        }
        SessState = 902;
        return;
    }
    if (SessState == 902) {
        if (Starts(line, 1157) || Starts(line, 1158) || MarkerIs(line, '!')) {
            ParseInSession(line);
            return;
        }
        if (Starts(line, 1160))
            CurSess->CPS = StrToInt(Rest(line, 1160));
        EndSession(line);
        return;
    }
    ParseInSession(line);
}

}  // namespace tarvex
