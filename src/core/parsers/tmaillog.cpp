#include "parsers/tmaillog.h"

#include <array>

#include "base/linesplit.h"
#include "base/logutils.h"
#include "mailercfg/lngerror.h"
#include "mailercfg/qparser.h"
#include "mailercfg/stylephrases.h"
#include "platform/paths.h"
#include "platform/sharedfile.h"

namespace tarvex {

namespace {

constexpr std::size_t kMsg = 15;  // 0-based column of the message
constexpr char kMarker = '\xFE';
// The phrases of t-mail.lng the parser uses, in the order it takes them up.
constexpr TStylePhrase kUsedPhrases[] = {
    PhraseNo(2), PhraseNo(3), PhraseNo(4), PhraseNo(424), PhraseNo(587), PhraseNo(15), PhraseNo(16),
    PhraseNo(21), PhraseNo(26), PhraseNo(32), PhraseNo(33), PhraseNo(42), PhraseNo(47), PhraseNo(58),
    PhraseNo(60), PhraseNo(147), PhraseNo(159), PhraseNo(199), PhraseNo(203), PhraseNo(256), PhraseNo(467),
};
constexpr std::size_t kIndexRecord = 512;
constexpr std::size_t kIndexDirOffset = 264;

bool StartsWithPhrase(std::string_view text, std::string_view phrase)
{
    if (phrase.empty())
        return true;
    if (text.size() < phrase.size() || text[0] != phrase[0])
        return false;
    for (std::size_t i = 1; i < phrase.size(); ++i)
        if (text[i] != phrase[i])
            return false;
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitPair(std::string_view line, std::size_t pos) { return (line[pos] - '0') * 10 + (line[pos + 1] - '0'); }

// Word 4 of a line split at blanks. With the usual layout (the date and the time as words 1
// and 2, a blank before the message) the search starts at the message.
std::string_view FourthWord(std::string_view line)
{
    bool usual = line.size() > kMsg && line[5] == ' ' && line[kMsg - 1] == ' ';
    for (std::size_t i = 0; usual && i < kMsg - 1; ++i)
        usual = i == 5 || line[i] != ' ';
    return usual ? WordViewAt(2, line.substr(kMsg), ' ') : WordViewAt(4, line, ' ');
}

// A two-digit field of the date or time; anything else goes the general (and throwing) way.
int TwoDigits(std::string_view s)
{
    if (s.size() == 2 && s[0] >= '0' && s[0] <= '9' && s[1] >= '0' && s[1] <= '9')
        return (s[0] - '0') * 10 + (s[1] - '0');
    return StrToInt(s);
}

bool HasBackslash(std::string_view s) { return s.find('\\') != std::string_view::npos; }

bool MarkerAtMessage(std::string_view line) { return line.size() > kMsg && line[kMsg] == kMarker; }

// Where a non-empty phrase first occurs; an empty phrase is found nowhere.
std::size_t FindPhrase(std::string_view line, std::string_view phrase)
{
    return phrase.empty() ? std::string_view::npos : line.find(phrase);
}

// A NUL-terminated field of a fixed-size record.
std::string_view CField(const char* p, std::size_t size)
{
    std::size_t n = 0;
    while (n < size && p[n] != '\0')
        ++n;
    return {p, n};
}

int CompareBytes(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

TTmailLog::TTmailLog() : TMailerLog(lsTMail)
{
    MsgCol = 16;
    DayKeyPos = 1;
    DayKeyLen = 5;
}

bool TTmailLog::IsDateColumn(int col) const { return col == 0 || col == 6; }

bool TTmailLog::IsErrorWord(std::string_view word) const { return word == "cancelled" || word == "cancelled."; }

bool TTmailLog::ClassifyWord(std::string_view word, int col)
{
    if ((!word.empty() && word[0] == Marker) || (col == 15 && word == "T-Mail") || word == InfoWord) {
        CurColor = TColorItem::Info;
    } else if (word.size() >= 3 && word[2] == '-') {
        if ((word[0] == 'H' || word[0] == 'J' || word[0] == 'Z') && (word[1] == 'R' || word[1] == 'S'))
            CurColor = TColorItem::Transfers;
    } else if (word == HumanWord) {
        CurColor = TColorItem::Special;
    } else if (word == FailWord || word == ErrorWord) {
        CurColor = TColorItem::Errors;
    }
    return true;
}

TDateTime TTmailLog::DateOfLine(std::string_view line)
{
    if (SkipBlock)
        return CachedDate;
    if (Block256 == 2) {
        if (line.size() > kMsg && line[kMsg] == '!')
            Block256 = 0;
        else
            return CachedDate;
    }
    const int day = TwoDigits(line.substr(0, 2));
    const int month = TwoDigits(line.size() > 3 ? line.substr(3, 2) : std::string_view());
    // Most dated lines fall on the day of the line before: its date is kept, not encoded anew.
    // The year depends on the start date and a year the user gave, so they are part of the key.
    const std::array<int, 4> key{YearlessYear(), static_cast<int>(ProgramStartDate()), month, day};
    if (key != EncodedKey) {
        EncodedDate = YearlessDate(month, day);
        EncodedKey = key;
    }
    CachedDate = EncodedDate;
    return CachedDate;
}

void TTmailLog::CheckNewDay(std::string_view line)
{
    if (SkipBlock)
        return;
    if (Block256 == 2) {
        // The '!' line that ends the untrusted block must be dated here too: left to the
        // session lines alone, the block would never end and no later day would be found.
        if (line.size() <= kMsg || line[kMsg] != '!')
            return;
        Block256 = 0;
    }
    TMailerLog::CheckNewDay(line);
}

TDateTime TTmailLog::TimeOfLine(std::string_view line)
{
    auto field = [&](std::size_t pos) { return pos < line.size() ? line.substr(pos, 2) : std::string_view(); };
    const TDateTime date = DateOfLine(line);
    if (line.size() >= 14 && IsDigit(line[6]) && IsDigit(line[7]) && IsDigit(line[9]) && IsDigit(line[10]) &&
        IsDigit(line[12]) && IsDigit(line[13]))
        return ComposeDateTime(date, EncodeTime(DigitPair(line, 6), DigitPair(line, 9), DigitPair(line, 12)));
    return ComposeDateTime(date, EncodeTime(TwoDigits(field(6)), TwoDigits(field(9)), TwoDigits(field(12))));
}

std::string_view TTmailLog::TextAfterPhrase(std::string_view line, int phrase) const
{
    const std::size_t start = kMsg + Phrase(phrase).size() + 1;
    if (start >= line.size())
        return {};
    const std::string_view rest = line.substr(start);
    return rest.substr(0, rest.find(','));
}

void TTmailLog::ParseLine(std::string_view line)
{
    // MsgIs, with the message column taken once for the many tests of a line.
    const std::size_t col = MsgCol > 0 ? MsgCol - 1u : 0u;
    const std::string_view atMsg = col <= line.size() ? line.substr(col) : std::string_view();
    auto is = [atMsg](std::string_view phrase) { return StartsWithPhrase(atMsg, phrase); };

    if (SkipBlock && is("OK")) {
        SkipBlock = false;
        return;
    }
    if (is(Phrase(21))) {
        SkipBlock = true;
        return;
    }
    if (is(Phrase(256))) {
        Block256 = 1;
        return;
    }
    if (Block256 == 1) {
        Block256 = 2;  // the line after that phrase says nothing we use
        return;
    }
    const std::string_view msg = line.size() > kMsg ? line.substr(kMsg) : std::string_view();

    if (SessState == 0) {
        const bool p16 = is(Phrase(16));
        if (p16 || is(Phrase(15))) {
            const std::string_view dial = Phrase(p16 ? 16 : 15);
            std::string_view first = WordViewAt(1, msg, ',');
            first.remove_prefix(std::min(first.size(), dial.size()));
            const std::string_view name = AddressAliases.ValueOrKey(OuterTrimmed(first));
            const std::string_view result = LeadingTrimmed(WordViewAt(3, msg, ','));
            if (!name.empty() && name[0] == '?') {
                DialAddr.reset();
            } else {
                TFidoAddr a;
                if (!TFidoAddr::TryParse(name, a, AddrError))
                    return FailLine(AddrError);
                DialAddr = std::move(a);
                CountDial(*DialAddr);
            }
            if (result.starts_with("BUSY"))
                NodeStat(DialAddr, TStatKind::Busy);
            else if (result.starts_with("NO CARRIER"))
                NodeStat(DialAddr, TStatKind::NoCarrier);
            return;
        }
        if (MarkerAtMessage(line) && line.find("CONNECT") != std::string_view::npos) {
            const bool inbound = is(Phrase(2));
            StartSession(line, inbound);
            if (inbound)
                DialAddr.reset();
        }
        return;
    }

    if (MarkerAtMessage(line)) {
        const std::string_view traffic = Phrase(467);
        const std::size_t p = FindPhrase(line, traffic);
        if (p != std::string_view::npos) {
            // "recd/sent, ..." within the 255 bytes after the phrase.
            const std::size_t from = p + traffic.size() + 1;
            const std::string_view t = from < line.size() ? line.substr(from, 255) : std::string_view();
            const std::size_t slash = t.find('/');
            const std::string_view recd = t.substr(0, slash);
            const std::string_view rest = slash == std::string_view::npos ? std::string_view() : t.substr(slash + 1);
            const std::string_view sent = rest.substr(0, rest.find(','));
            std::int64_t n = 0;
            if (!TryStrToInt64(recd, n))
                return FailLine(NotIntegerMessage(recd));
            CurSess->BytesRecd = n;
            if (!TryStrToInt64(sent, n))
                return FailLine(NotIntegerMessage(sent));
            CurSess->BytesSent = n;
        }
        EndSession(line);
    } else if (is(Phrase(3))) {
        CurSess->Flags |= sfFailed;
        EndSession(line);
    } else if (is(Phrase(424)) || is(Phrase(587)) || is(Phrase(4))) {
        CurSess->Flags &= static_cast<std::uint8_t>(~sfOK);
    } else if (is(Phrase(26))) {
        EndSession(line);
    }

    switch (SessState) {
    case 1:
        if (!msg.empty() && msg[0] >= '0' && msg[0] <= '9') {
            TFidoAddr a;
            if (!TFidoAddr::TryParse(msg.substr(0, msg.find(',')), a, AddrError))
                return FailLine(AddrError);
            CurSess->Addr = std::move(a);
            CurSess->Flags &= static_cast<std::uint8_t>(~sfHuman);
            SessState = 2;
        } else if (is(Phrase(47))) {
            CurSess->Flags |= sfHuman;
            SessState = 5;
        } else if (is(Phrase(42))) {
            CurSess->Flags |= sfFTS1;
        }
        break;
    case 2:
        if (is(Phrase(32))) {
            CurSess->SysOp = Texts.Keep(TextAfterPhrase(line, 32));
            SessState = 3;
        }
        break;
    case 3:
        if (is(Phrase(33))) {
            CurSess->System = Texts.Keep(TextAfterPhrase(line, 33));
            SessState = 4;
        }
        break;
    case 4:
        if (is(Phrase(60))) {
            CurSess->Flags |= sfPassword;
        } else if (is(Phrase(58))) {
            CurSess->Flags |= sfBadPassword;
        } else if (is(Phrase(159))) {
            if (CurSess->Addr)
                AddFreq(TextAfterPhrase(line, 159), *CurSess->Addr);
        } else if (line.substr(std::min(line.size(), kMsg + 1), 2) == "S-") {
            ++CurSess->FilesSent;
            if (line.find("OK") != std::string_view::npos && CurSess->Addr) {
                const std::string_view f = FourthWord(line);
                if (HasBackslash(f))
                    FreqSent(FileNameViewOf(f), f, *CurSess->Addr);
                else
                    FreqSent(f, "", *CurSess->Addr);
            }
        } else if (line.substr(std::min(line.size(), kMsg + 1), 2) == "R-") {
            ++CurSess->FilesRecd;
        }
        break;
    case 5:
        if (is(Phrase(203)))
            EndSession(line);
        break;
    default:
        break;
    }
}

void TTmailLog::LoadLanguage()
{
    if (Lng)
        return;
    Lng = OpenLanguage<TTMailLng>(JoinMailerPath(MailerPath, "t-mail.lng"));
    Phrases.assign(PhraseSlots, std::string());
    for (const TStylePhrase& p : kUsedPhrases)
        Phrases[static_cast<std::size_t>(p.Number)] = TakePhrase(*Lng, p);
    for (std::size_t i = 0; i < PhraseSlots; ++i)
        PhraseViews[i] = Phrases[i];
    HumanWord = WordAt(1, Phrase(47), " ");
    FailWord = WordAt(1, Phrase(3), " ");
    ErrorWord = WordAt(1, Lng->GetPhrase(147), " ");
    InfoWord = WordAt(1, Lng->GetPhrase(199), " ");
}

std::vector<std::pair<std::string, std::string>> TTmailLog::TakenPhrases() const
{
    std::vector<std::pair<std::string, std::string>> out;
    if (Lng)
        for (const TStylePhrase& p : kUsedPhrases)
            out.emplace_back(std::to_string(p.Number), TakePhrase(*Lng, p));
    return out;
}

std::string TTmailLog::ConfigFile() const { return JoinMailerPath(MailerPath, "t-mail.ctl"); }

void TTmailLog::LoadConfig()
{
    FreqDirFile = "dir.frq";
    FreqIndexFile = "index.frq";
    AliasFile.clear();
    // Each pass reads the configuration afresh: nothing of an earlier reading may linger.
    ClearAliases();
    AddressAliases.Clear();
    FilesIndexes.clear();

    TQParser parser;
    parser.AddStringHandler("Freq_Ndx", FreqIndexFile);
    parser.AddStringHandler("Freq_Dir", FreqDirFile);
    parser.AddStringHandler("AddressAliases", AliasFile);
    parser.OnBeforeParse = [](TQParser&, std::string& line) {
        line = DropOuterSpaces(line);
        if (!line.empty() && line[0] == '[') {
            const auto close = line.find(']');
            if (close != std::string::npos)
                line.erase(0, close + 1);
        }
        return true;
    };
    parser.Parse(ConfigFile());

    FreqDirs = ReadFreqDirs(JoinMailerPath(MailerPath, FreqDirFile));
    std::vector<std::string> dirs;
    for (auto& d : FreqDirs) {
        if (!d.empty() && d[0] == '@')
            FilesIndexes.push_back(JoinMailerPath(MailerPath, d.substr(1)));
        else
            dirs.push_back(std::move(d));
    }
    FreqDirs = std::move(dirs);

    ReadFreqIndex(JoinMailerPath(MailerPath, FreqIndexFile));

    if (!AliasFile.empty())
        ReadAddressAliases(JoinMailerPath(MailerPath, AliasFile));
}

void TTmailLog::ReadAddressAliases(const std::string& fileName)
{
    std::string text;
    if (!ReadWholeFile(ResolvePath(fileName), text)) {
        Ui().SetBusyCursor(false);
        Ui().Message("Cannot open address alias file", TMsgKind::Error, TMsgButtons::OK);
        return;
    }
    LineSplitter lines(text);
    std::string_view raw;
    while (lines.Next(raw)) {
        const std::string line = DropOuterSpaces(raw);
        const auto blank = line.find(' ');
        if (line.empty() || blank == std::string::npos)
            continue;
        AddressAliases.SetValue(DropOuterSpaces(line.substr(blank + 1)), line.substr(0, blank));
    }
}

std::string TTmailLog::LookupFilesIndex(std::string_view indexFile, std::string_view name)
{
    SharedReadFile f;
    std::string error;
    const std::int64_t fileSize = f.Open(ResolvePath(indexFile), error) ? f.Size() : -1;
    if (fileSize < 0) {
        Ui().SetBusyCursor(false);
        Ui().Message("Cannot open files index " + std::string(indexFile), TMsgKind::Error, TMsgButtons::OK);
        return {};
    }
    const auto size = static_cast<std::uint64_t>(fileSize);
    std::uint64_t lo = 0, n = size / kIndexRecord;
    std::array<char, kIndexRecord> rec{};
    while (n > 0) {
        const std::uint64_t half = n / 2;
        const std::uint64_t mid = lo + half;
        if (f.ReadAt(mid * kIndexRecord, rec.data(), kIndexRecord, error) != static_cast<std::int64_t>(kIndexRecord))
            return {};
        const int c = CompareBytes(CField(rec.data(), kIndexDirOffset), name);
        if (c == 0)
            return std::string(CField(rec.data() + kIndexDirOffset, kIndexRecord - kIndexDirOffset)) + "\\" +
                   std::string(name);
        if (c < 0) {
            lo = mid + 1;
            n = n - half - 1;
        } else {
            n = half;
        }
    }
    return {};
}

std::string TTmailLog::LocateFile(std::string_view name)
{
    for (const auto& index : FilesIndexes) {
        std::string hit = LookupFilesIndex(index, name);
        if (!hit.empty())
            return hit;
    }
    return FindFileInDirs(name, FreqDirs);
}

}  // namespace tarvex
