#include "parsers/fhmaillog.h"

#include "base/logutils.h"
#include "log/genericstyles.h"
#include "mailercfg/fhmailcfg.h"
#include "mailercfg/lngerror.h"
#include "mailercfg/qparser.h"
#include "mailercfg/stylephrases.h"
#include "parsers/lineparts.h"
#include "platform/paths.h"

namespace tarvex {

namespace {

using lineparts::From;
using lineparts::HasAt;


constexpr TStylePhrase K(std::string_view key, TPhraseCut cut = TPhraseCut::Phrase, std::string_view def = {})
{
    return TStylePhrase{0, key, cut, def};
}

// In the order of TFHMailLog::TKey.
constexpr TStylePhrase kPhrases[] = {
    K("POST_SESSION", TPhraseCut::FirstWord),
    K("STARTING_PROCESS", TPhraseCut::FirstWord),
    K("FINISHING", TPhraseCut::FirstWord),
    K("BBSCALL"),
    K("RING", TPhraseCut::Phrase, "Ring"),
    K("BUSY", TPhraseCut::Phrase, "Busy"),
    K("NO_CARRIER", TPhraseCut::Phrase, "No Carrier"),
    K("DIALING"),
    K("REMOTE_ADDRESS"),
    K("SESSION_ABORT"),
    K("SESSION_COMPLETE"),
    K("POST_HISTORY"),
    K("REMOTE_NAME"),
    K("REMOTE_SYSOP"),
    K("REMOTE_SYSOP2"),
    K("FREQ"),
    K("PASSWORD_PROTECTED"),
    K("BAD_PASSWORD"),
    K("PARTIALLY_SENT"),
    K("TX_RESUMED"),
    K("RX_RESUMED"),
};
static_assert(std::size(kPhrases) == TFHMailLog::KeyCount);


// A counted number written with one or two characters after it ("1234b").
std::int64_t CountWithout(std::string_view word, std::size_t tail)
{
    return StrToInt64(word.substr(0, word.size() > tail ? word.size() - tail : 0));
}

}  // namespace

TFHMailLog::TFHMailLog() : TMailerLog(lsFHMail)
{
    MsgCol = 24;
    DayKeyPos = 3;
    DayKeyLen = 6;
}

bool TFHMailLog::IsDateColumn(int col) const { return col == 2 || col == 5 || col == 9; }

bool TFHMailLog::IsErrorWord(std::string_view word) const { return word == "!"; }

bool TFHMailLog::ClassifyWord(std::string_view word, int col)
{
    if (col == 0)
        return false;
    if (col == Words.TaskCol()) {
        CurColor = TColorItem::Special;
        return false;
    }
    if (word == "Connect" || word == Phrases[PostSession] || word == Phrases[StartingProcess] ||
        word == Phrases[Finishing])
        CurColor = TColorItem::Info;
    else if (HasAt(word, 1, "-sen") || HasAt(word, 1, "-recv"))
        CurColor = TColorItem::Transfers;
    else if (!BbsCallWord.empty() && word == BbsCallWord)
        CurColor = TColorItem::Special;
    return true;
}

TDateTime TFHMailLog::DateOfLine(std::string_view line) { return BinkStyleDate(line); }

TDateTime TFHMailLog::TimeOfLine(std::string_view line)
{
    return ComposeDateTime(DateOfLine(line), lineparts::TimeFields(line, 9));
}

std::string TFHMailLog::ConfigFile() const { return JoinMailerPath(MailerPath, "fhmail.cfg"); }

void TFHMailLog::LoadConfig()
{
    AliasList.clear();
    // Each pass reads the configuration afresh: nothing of an earlier reading may linger.
    ClearAliases();
    TQParser parser;
    SetUpFHMailConfigParser(parser, AliasList, Language);
    parser.Parse(ConfigFile());
    ConfigRead = true;
    if (!AliasList.empty()) {
        AliasList = JoinMailerPath(MailerPath, AliasList);
        ReadFreqIndex(AliasList);
    }
}

// Outside a pass (the phrase list) the language file is found as the pass would find it: through
// fhmail.cfg when there is one, else under its default name.
void TFHMailLog::ReadLanguageName()
{
    const std::string cfg = ConfigFile();
    if (!FileExists(ResolvePath(cfg)))
        return;
    std::string aliasList;
    TQParser parser;
    SetUpFHMailConfigParser(parser, aliasList, Language);
    parser.Parse(cfg);
}

void TFHMailLog::LoadLanguage()
{
    if (Lng)
        return;
    if (!ConfigRead)
        ReadLanguageName();
    Lng = OpenLanguage<TFHMailLng>(JoinMailerPath(MailerPath, Language));
    for (std::size_t i = 0; i < KeyCount; ++i)
        Phrases[i] = TakePhrase(*Lng, kPhrases[i]);
    BbsCallWord = WordAt(1, Phrases[BbsCall], " ");
}

std::vector<std::pair<std::string, std::string>> TFHMailLog::TakenPhrases() const
{
    std::vector<std::pair<std::string, std::string>> out;
    if (Lng)
        for (std::size_t i = 0; i < KeyCount; ++i)
            out.emplace_back(std::string(kPhrases[i].Key), Phrases[i]);
    return out;
}

std::string_view TFHMailLog::Rest(std::string_view line, TKey key) const
{
    return From(line, Msg + Phrases[key].size());
}

void TFHMailLog::ParseOutside(std::string_view line)
{
    if (Starts(line, Ring)) {
        CallState = 1;
        DialAddr.reset();
    } else if (Starts(line, Dialing)) {
        CallState = 2;
        DialAddr.reset();
        // A dial by phone number names no node; nor does a line that ends with the phrase.
        const std::string_view rest = LeadingTrimmed(Rest(line, Dialing));
        if (rest.empty() || rest[0] == '#')
            return;
        DialAddr = TFidoAddr::Parse(rest);
        CountDial(*DialAddr);
    } else if (Starts(line, Busy)) {
        if (DialAddr)
            NodeStat(DialAddr, TStatKind::Busy);
    } else if (Starts(line, NoCarrier)) {
        if (DialAddr)
            NodeStat(DialAddr, TStatKind::NoCarrier);
    } else if (Starts(line, RemoteAddress)) {
        StartSession(line, CallState == 1);
        CurSess->Addr = TFidoAddr::Parse(LeadingTrimmed(Rest(line, RemoteAddress)));
        ClearFlag(*CurSess, sfHuman);
        // A file announced in the last session must not be taken for one of this session's.
        SendPath.clear();
    } else if (Starts(line, BbsCall)) {
        // A human caller always calls in; the mailer may write no ring before it, or have
        // dialled out just before the caller got through.
        StartSession(line, true);
        CurSess->Flags |= sfHuman;
        SendPath.clear();
        SessState = 10;
    }
}

void TFHMailLog::ParseTransfer(std::string_view line)
{
    TSess& s = *CurSess;
    const std::string_view msg = From(line, Msg);
    if (Starts(line, PasswordProtected)) {
        s.Flags |= sfPassword;
    } else if (Starts(line, BadPassword)) {
        s.Flags |= sfBadPassword;
    } else if (Starts(line, Freq)) {
        if (s.Addr)
            AddFreq(Rest(line, Freq), *s.Addr);
    } else if (msg.starts_with("send:")) {
        std::string_view text = msg.substr(5);
        if (!text.empty() && text[0] == ' ')
            text.remove_prefix(1);
        SendPath.assign(text.substr(0, text.find("-->")));
    } else if (HasAt(msg, 1, "-sent")) {
        const std::string_view bytes = WordViewAt(2, msg, ' ');
        if (s.Addr)
            FreqSent(WordViewAt(3, msg, ' '), SendPath, *s.Addr);
        if (!bytes.empty()) {
            AddWrapped(s.BytesSent, CountWithout(bytes, 1));
            AddWrapped(s.FilesSent, 1);
        }
    } else if (HasAt(msg, 1, "-recv")) {
        const std::string_view bytes = WordViewAt(2, msg, ' ');
        if (!bytes.empty()) {
            AddWrapped(s.BytesRecd, CountWithout(bytes, 1));
            AddWrapped(s.FilesRecd, 1);
        }
    } else if (Starts(line, PartiallySent)) {
        const std::string_view bytes = WordViewAt(3, msg, ' ');
        if (!bytes.empty())
            AddWrapped(s.BytesSent, CountWithout(bytes, 2));
    }
}

void TFHMailLog::ParseInSession(std::string_view line)
{
    TSess& s = *CurSess;
    if (Starts(line, SessionComplete)) {
        const std::size_t tx = line.find("Tx/Rx:");
        if (tx != std::string_view::npos) {
            const std::string_view pair = WordViewAt(1, line.substr(tx + 6), ' ');
            const std::size_t slash = pair.find('/');
            s.BytesSent = StrToInt64(pair.substr(0, slash));
            s.BytesRecd = StrToInt64(slash == std::string_view::npos ? std::string_view() : pair.substr(slash + 1));
        }
        EndSession(line);
        CallState = 0;
        return;
    }
    if (Starts(line, NoCarrier)) {
        ClearFlag(s, sfOK);
        EndSession(line);
        CallState = 0;
        return;
    }
    if (line.find("Carrier lost") != std::string_view::npos || Starts(line, SessionAbort))
        ClearFlag(s, sfOK);

    switch (SessState) {
    case 1:
        if (Starts(line, RemoteName)) {
            s.System = Texts.Keep(Rest(line, RemoteName));
            SessState = 2;
        }
        break;
    case 2:
        if (Starts(line, RemoteSysop)) {
            const std::string_view rest = Rest(line, RemoteSysop);
            const std::size_t end = Phrases[RemoteSysop2].empty() ? std::string_view::npos : rest.find(Phrases[RemoteSysop2]);
            s.SysOp = Texts.Keep(end == std::string_view::npos || end < 1 ? std::string_view() : rest.substr(0, end - 1));
            SessState = 3;
        }
        break;
    case 3:
        ParseTransfer(line);
        break;
    case 10:
        SessState = 11;
        break;
    default:
        break;
    }
}

void TFHMailLog::ParseLine(std::string_view line)
{
    const TBinkColumns cols = BinkColumnsOf(line);
    if (line.size() < cols.Task + 4 || line.substr(cols.Task, 4) != "FHML")
        return;
    Msg = cols.Msg;
    MsgCol = static_cast<std::uint8_t>(Msg + 1);
    if (SessState == 11) {
        EndSession(line);
        CallState = 0;
    }
    if (SessState == 0)
        ParseOutside(line);
    else
        ParseInSession(line);
}

}  // namespace tarvex
