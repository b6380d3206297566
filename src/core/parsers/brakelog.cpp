#include "parsers/brakelog.h"

#include "base/logutils.h"
#include "mailercfg/qparser.h"
#include "parsers/lineparts.h"
#include "platform/paths.h"

namespace tarvex {

namespace {

using lineparts::From;
using lineparts::HasAt;
using lineparts::NameBeforeFrom;
using lineparts::TwoDigitField;

constexpr std::size_t kMsg = 24;  // 0-based column of the message

// "recd/sent" of the summary line.
template <typename TInt>
void SplitPair(std::string_view piece, TInt& recd, TInt& sent)
{
    const std::size_t slash = piece.find('/');
    const std::string_view second = slash == std::string_view::npos ? std::string_view() : piece.substr(slash + 1);
    if constexpr (sizeof(TInt) == 8) {
        recd = StrToInt64(piece.substr(0, slash));
        sent = StrToInt64(second);
    } else {
        recd = StrToInt(piece.substr(0, slash));
        sent = StrToInt(second);
    }
}

}  // namespace

TBrakeLog::TBrakeLog() : TMailerLog(lsBrake)
{
    MsgCol = 25;
    DayKeyPos = 1;
    DayKeyLen = 8;
    HasOptions = true;
}

bool TBrakeLog::IsDateColumn(int col) const { return col == 0 || col == 9; }

bool TBrakeLog::IsErrorWord(std::string_view word) const { return word.starts_with("failed") || word.starts_with("Unable"); }

bool TBrakeLog::ClassifyWord(std::string_view word, int col)
{
    if (col == 18) {
        CurColor = TColorItem::Special;
        return false;
    }
    if (col == 22)
        return false;
    if (word == "Ready," || word == "Done," || word == "Incoming" || word == "Outgoing")
        CurColor = TColorItem::Info;
    else if (IsTransferWord(word))
        CurColor = TColorItem::Transfers;
    else if (word == "Human" || word == "Humman")
        CurColor = TColorItem::Special;
    return true;
}

void TBrakeLog::Load(const ISettingsStore& reg, std::string_view section)
{
    TMailerLog::Load(reg, section);
    BrkVersion = reg.ReadInteger(section, "BrkVersion", kOldVersion);
}

void TBrakeLog::Save(ISettingsStore& reg, std::string_view section) const
{
    TMailerLog::Save(reg, section);
    reg.WriteInteger(section, "BrkVersion", BrkVersion);
}

TDateTime TBrakeLog::DateOfLine(std::string_view line)
{
    return EncodeDate(1900 + TwoDigitField(line, 6), TwoDigitField(line, 3), TwoDigitField(line, 0));
}

TDateTime TBrakeLog::TimeOfLine(std::string_view line)
{
    return ComposeDateTime(DateOfLine(line), lineparts::TimeFields(line, 9));
}

bool TBrakeLog::EditOptions(IUserInterface& ui)
{
    const std::int32_t before = BrkVersion;
    const int shown = BrkVersion == kOldVersion ? 0 : BrkVersion == kNewVersion ? 1 : -1;
    const int chosen = ui.ChooseOne("Brake! log options", "Mailer version", {"701-702", "703-715"}, shown);
    if (chosen == 0)
        BrkVersion = kOldVersion;
    else if (chosen == 1)
        BrkVersion = kNewVersion;
    // The versions read the transfer lines differently.
    return BrkVersion != before;
}

bool TBrakeLog::IsSendLine(std::string_view line) const
{
    return BrkVersion == kOldVersion ? HasAt(line, kMsg + 1, "-Send") : HasAt(line, kMsg + 1, "S ");
}

bool TBrakeLog::IsSentLine(std::string_view line) const
{
    return BrkVersion == kOldVersion ? HasAt(line, kMsg + 1, "-Sent") : HasAt(line, kMsg, "SE ");
}

bool TBrakeLog::IsTransferWord(std::string_view word) const
{
    if (BrkVersion == kOldVersion)
        return HasAt(word, 1, "-Sen") || HasAt(word, 1, "-Receive");
    return (word.size() == 2 && (word[1] == 'S' || word[1] == 'R')) || word == "SE" || word == "RE";
}

std::string_view TBrakeLog::StripTransferPrefix(std::string_view line) const
{
    return From(line, BrkVersion == kOldVersion ? kMsg + 7 : kMsg + 3);
}

std::string TBrakeLog::LocateFile(std::string_view name)
{
    // Without a TREE line the mailer serves no files, so there is nothing to search.
    return Tree.empty() ? std::string() : FindFileInTree(name, Tree);
}

std::string TBrakeLog::ConfigFile() const { return JoinMailerPath(MailerPath, "brake!.ctl"); }

void TBrakeLog::LoadConfig()
{
    // Each pass reads the configuration afresh: nothing of an earlier reading may linger.
    ClearAliases();
    AliasNames.clear();
    Tree.clear();
    TQParser parser;
    parser.AddListHandler("ALIAS", AliasNames);
    parser.AddStringHandler("TREE", Tree);
    parser.SetDefineStr("");
    parser.Parse(ConfigFile());
    if (!Tree.empty() && Tree.back() == '\\')
        Tree.pop_back();
    // brake!.ctl names only the magic word, not the file it stands for: a request for it is
    // kept under the word itself, so that its transfer still finds it.
    for (const std::string& name : AliasNames)
        AddAlias(name, name);
}

void TBrakeLog::NoteCall(std::string_view line)
{
    std::string_view word = WordViewAt(3, From(line, kMsg), ' ');
    if (!word.empty())
        word.remove_suffix(1);
    DialAddr.reset();
    DialAddr = TFidoAddr::Parse(word);
    CountDial(*DialAddr);
}

void TBrakeLog::ReadDoneCounts(std::string_view line)
{
    const std::string_view files = OuterTrimmed(WordViewAt(4, line, ','));
    const std::string_view bytes = OuterTrimmed(WordViewAt(5, line, ','));
    SplitPair(files, CurSess->FilesRecd, CurSess->FilesSent);
    SplitPair(bytes, CurSess->BytesRecd, CurSess->BytesSent);
}

void TBrakeLog::ParseLine(std::string_view line)
{
    const std::string_view msg = From(line, kMsg);
    auto is = [msg](std::string_view phrase) { return msg.starts_with(phrase); };

    if (SessState == 0) {
        if (is("Incoming") || is("Outgoing")) {
            const bool inbound = is("Incoming");
            StartSession(line, inbound);
            // A transfer that never ended in the last session must not pair with this one's.
            FreqFlag = false;
            FreqFile.clear();
            if (inbound)
                DialAddr.reset();
        } else if (is("Calling")) {
            NoteCall(line);
        } else if (is("Not connected")) {
            const std::string_view result = From(line, kMsg + 15);
            if (result == "BUSY")
                NodeStat(DialAddr, TStatKind::Busy);
            else if (result == "NO CARRIER" && DialAddr)
                NodeStat(DialAddr, TStatKind::NoCarrier);
        } else if (is("Connection timed out") && DialAddr) {
            NodeStat(DialAddr, TStatKind::NoCarrier);
        }
        return;
    }

    const bool done = is("Done,");
    if (done || is("Session failed,")) {
        if (done)
            ReadDoneCounts(line);
        else
            CurSess->Flags |= sfFailed;
        EndSession(line);
        return;
    }
    if (line.find("Carrier lost") != std::string_view::npos || is("Too low CPS") ||
        line.find("timed out") != std::string_view::npos)
        CurSess->Flags &= static_cast<std::uint8_t>(~sfOK);

    switch (SessState) {
    case 1:
        if (is("Session with")) {
            CurSess->Flags &= static_cast<std::uint8_t>(~sfHuman);
            CurSess->Addr = TFidoAddr::Parse(From(line, kMsg + 13));
            SessState = 2;
        } else if (is("Human") || is("Humman")) {
            CurSess->Flags |= sfHuman;
            SessState = 6;
        }
        break;
    case 2:
        if (is("System:")) {
            CurSess->System = Texts.Keep(From(line, kMsg + 8));
            SessState = 3;
        }
        break;
    case 3:
        if (HasAt(line, kMsg + 1, "Sysop:")) {
            CurSess->SysOp = Texts.Keep(NameBeforeFrom(From(line, kMsg + 8)));
            SessState = 4;
        }
        break;
    case 4:
        if (is("Password protected session"))
            CurSess->Flags |= sfPassword;
        else if (is("Sending FREQed files"))
            SessState = 5;
        break;
    case 5:
        if (IsSendLine(line)) {
            FreqFlag = true;
            const std::string_view rest = StripTransferPrefix(line);
            FreqFile.assign(rest.substr(0, rest.find(',')));
            if (CurSess->Addr)
                AddFreq(FreqFile, *CurSess->Addr);
        } else if (IsSentLine(line) && FreqFlag) {
            FreqFlag = false;
            if (CurSess->Addr)
                FreqSent(FreqFile, "", *CurSess->Addr);
        } else if (!is("Sending from")) {
            FreqFlag = false;
        }
        break;
    case 6:
        if (is("Calling") || is("Answering")) {
            EndSession(line);
            if (is("Calling"))
                NoteCall(line);
        }
        break;
    default:
        break;
    }
}

}  // namespace tarvex
