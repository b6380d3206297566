#include "parsers/binkplog.h"

#include "base/linesplit.h"
#include "base/logutils.h"
#include "log/genericstyles.h"
#include "mailercfg/lngerror.h"
#include "mailercfg/qparser.h"
#include "mailercfg/stylephrases.h"
#include "parsers/lineparts.h"
#include "platform/paths.h"

namespace tarvex {

namespace {

using lineparts::From;
using lineparts::NameBeforeFrom;

// The phrases of binkley.lng the parser uses: the colouring words first, then those of the
// line rules in the order they are tried.
constexpr TStylePhrase kUsedPhrases[] = {
    PhraseNo(100, TPhraseCut::FirstWord), PhraseNo(352, TPhraseCut::FirstWord), PhraseNo(353, TPhraseCut::FirstWord),
    PhraseNo(305), PhraseNo(293), PhraseNo(16), PhraseNo(183), PhraseNo(273, TPhraseCut::Raw), PhraseNo(102),
    PhraseNo(304), PhraseNo(126), PhraseNo(75), PhraseNo(103), PhraseNo(104), PhraseNo(255), PhraseNo(251),
};
constexpr int kHighestPhrase = 353;


}  // namespace

TBinkPLog::TBinkPLog() : TMailerLog(lsBinkPlus)
{
    MsgCol = 24;
    DayKeyPos = 3;
    DayKeyLen = 6;
}

bool TBinkPLog::IsDateColumn(int col) const { return col == 2 || col == 5 || col == 9; }

bool TBinkPLog::IsErrorWord(std::string_view word) const { return word == "!"; }

bool TBinkPLog::ClassifyWord(std::string_view word, int col)
{
    if (col == 0)
        return false;
    if (col == Words.TaskCol()) {
        CurColor = TColorItem::Special;
        return false;
    }
    if (word.substr(0, 6) == InfoWord1 || word == "Connect" || word == InfoWord2 || word == InfoWord3)
        CurColor = TColorItem::Info;
    else if (word == TransferWord1 || word == TransferWord2 || word.starts_with("Sent-") || word.starts_with("Received-"))
        CurColor = TColorItem::Transfers;
    else if (word == HumanWord)
        CurColor = TColorItem::Special;
    return true;
}

TDateTime TBinkPLog::DateOfLine(std::string_view line) { return BinkStyleDate(line); }

TDateTime TBinkPLog::TimeOfLine(std::string_view line)
{
    return ComposeDateTime(DateOfLine(line), lineparts::TimeFields(line, 9));
}

const std::string& TBinkPLog::Phrase(int n) const
{
    static const std::string none;
    return n >= 0 && static_cast<std::size_t>(n) < Phrases.size() ? Phrases[static_cast<std::size_t>(n)] : none;
}

void TBinkPLog::LoadLanguage()
{
    if (Lng)
        return;
    Lng = OpenLanguage<TBinkLng>(JoinMailerPath(MailerPath, "binkley.lng"));
    Phrases.assign(kHighestPhrase + 1, std::string());
    for (const TStylePhrase& p : kUsedPhrases)
        if (p.Cut == TPhraseCut::Phrase)
            Phrases[static_cast<std::size_t>(p.Number)] = TakePhrase(*Lng, p);
    Raw273 = Lng->GetString(273);
    auto firstWord = [this](int n) { return WordAt(1, Lng->GetPhrase(n), " "); };
    InfoWord1 = firstWord(100);
    InfoWord2 = firstWord(352);
    InfoWord3 = firstWord(353);
    TransferWord1 = firstWord(305);
    TransferWord2 = firstWord(293);
    HumanWord = firstWord(16);
}

std::vector<std::pair<std::string, std::string>> TBinkPLog::TakenPhrases() const
{
    std::vector<std::pair<std::string, std::string>> out;
    if (Lng)
        for (const TStylePhrase& p : kUsedPhrases)
            out.emplace_back(std::to_string(p.Number), TakePhrase(*Lng, p));
    return out;
}

std::string TBinkPLog::ConfigFile() const { return JoinMailerPath(MailerPath, "binkley.cfg"); }

void TBinkPLog::LoadConfig()
{
    OkFile.clear();
    Avail.clear();
    About.clear();
    // Each pass reads the configuration afresh: nothing of an earlier reading may linger.
    ClearAliases();
    TQParser parser;
    parser.OnDefine = [](TQParser& p, TQTokens& tokens) {
        if (tokens.size() >= 3)
            p.Defines.SetValue("%" + tokens[1] + "%", p.LineFromToken(2, 255));
        return false;
    };
    parser.AddStringHandler("OkFile", OkFile);
    parser.AddStringHandler("About", About);
    parser.AddStringHandler("Avail", Avail);
    parser.Parse(ConfigFile());

    if (!About.empty())
        AddAlias("ABOUT", About);
    if (!Avail.empty())
        AddAlias("FILES", Avail);
    if (!OkFile.empty())
        ReadOkFile(JoinMailerPath(MailerPath, OkFile));
}

void TBinkPLog::ReadOkFile(const std::string& fileName)
{
    std::string text;
    std::string error;
    if (!ReadWholeFile(ResolvePath(fileName), text, &error))
        throw std::runtime_error(error);
    LineSplitter lines(text);
    std::string_view raw;
    while (lines.Next(raw)) {
        std::string_view line = LeadingTrimmed(raw);
        if (line.empty() || line[0] != '@')
            continue;
        line.remove_prefix(1);
        AddAlias(WordViewAt(1, line, ' '), WordViewAt(2, line, ' '));
    }
}

void TBinkPLog::ParseLine(std::string_view line)
{
    const TBinkColumns cols = BinkColumnsOf(line);
    if (line.size() < cols.Task + 4 || line.substr(cols.Task, 4) != "BINK")
        return;
    Msg = cols.Msg;
    MsgCol = static_cast<std::uint8_t>(Msg + 1);
    const std::string_view msg = From(line, Msg);

    if (SessState != 0) {
        ParseInSession(line, msg);
        return;
    }
    if (msg.starts_with(Phrase(183))) {
        CallFlag = true;
        const std::size_t open = line.find('(');
        std::string_view rest = open == std::string_view::npos ? line : line.substr(open + 1);
        if (!rest.empty())
            rest.remove_suffix(1);
        DialAddr.reset();
        DialAddr = TFidoAddr::Parse(rest);
        CountDial(*DialAddr);
        return;
    }
    bool outgoing = false;
    if (msg.starts_with("Busy")) {
        if (DialAddr)
            NodeStat(DialAddr, TStatKind::Busy);
    } else if (msg.starts_with("No Carrier")) {
        if (DialAddr)
            NodeStat(DialAddr, TStatKind::NoCarrier);
    } else if (msg.starts_with("Connect")) {
        outgoing = CallFlag;
        StartSession(line, !CallFlag);
        // Nothing of the last session's transfers or caller may carry over into this one.
        SendFlag = false;
        HumanFlag = false;
    }
    CallFlag = false;
    // The call stays noted through the session it opened: its end counts the session for the
    // node called.
    if (!outgoing)
        DialAddr.reset();
}

void TBinkPLog::ParseInSession(std::string_view line, std::string_view msg)
{
    TSess& s = *CurSess;
    const bool failedEnd = msg.starts_with(Raw273);
    if (msg.starts_with("End of EMSI Session") || failedEnd || HumanFlag) {
        HumanFlag = false;
        if (failedEnd) {
            ClearFlag(s, sfOK);
            if (!s.Addr)
                s.Flags |= sfFailed;
        }
        EndSession(line);
        return;
    }
    if (msg.starts_with(Phrase(102))) {
        if (!s.Addr)
            s.Flags |= sfFailed;
        ClearFlag(s, sfOK);
        SessState = 100;
    } else if (msg.starts_with(Phrase(304))) {
        ClearFlag(s, sfOK);
    } else if (msg.starts_with(Phrase(16)) || msg.starts_with(Phrase(126))) {
        s.Flags |= sfHuman;
        HumanFlag = true;
    }

    switch (SessState) {
    case 1:
        if (!line.empty() && line.back() == ')') {
            const std::string_view text = From(line, Msg);
            const std::size_t open = text.rfind('(');
            if (open != std::string_view::npos) {
                s.System = Texts.Keep(text.substr(0, open > 0 ? open - 1 : 0));
                s.Addr = TFidoAddr::Parse(text.substr(open + 1, text.size() - open - 2));
                ClearFlag(s, sfHuman);
                SessState = 2;
            }
        }
        break;
    case 2:
        if (msg.starts_with(Phrase(75))) {
            s.SysOp = Texts.Keep(NameBeforeFrom(From(line, Msg + 7)));
            SessState = 3;
        }
        break;
    case 3:
        if (msg.starts_with(Phrase(103))) {
            s.Flags |= sfPassword;
        } else if (msg.starts_with(Phrase(104))) {
            s.Flags |= sfBadPassword;
        } else if (msg.starts_with(Phrase(255))) {
            if (s.Addr)
                AddFreq(From(line, Msg + 13), *s.Addr);
        } else if (msg.starts_with(Phrase(293))) {
            AddWrapped(s.FilesRecd, 1);
            SendFlag = false;
        } else if (msg.starts_with(Phrase(305))) {
            AddWrapped(s.FilesSent, 1);
            SendFlag = true;
        } else if (msg.starts_with(Phrase(251)) && line.find('(') != std::string_view::npos) {
            const std::string_view after = line.substr(line.find('(') + 1);
            AddWrapped(SendFlag ? s.BytesSent : s.BytesRecd, StrToInt64(after.substr(0, after.find(' '))));
        } else if (msg.substr(0, 5) == "Sent-") {
            const std::size_t blank = line.find(' ', Msg + 1);
            const std::string_view path = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
            if (s.Addr)
                FreqSent(FileNameViewOf(path), path, *s.Addr);
        }
        break;
    default:
        break;
    }
}

}  // namespace tarvex
