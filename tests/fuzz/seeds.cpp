// Writes the seed inputs of every fuzz target into OUTDIR/<target>/, made by our fixture
// generators (the logs of every style, mailer directory files, traffic and history records) and
// by small builders of the other formats here (language tables, report descriptions, settings
// files). Usage: tarvex-fuzz-seeds OUTDIR
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "arguslog.h"
#include "base/datetime.h"
#include "binkdir.h"
#include "binklog.h"
#include "brakelog.h"
#include "fhmaildir.h"
#include "fuzzsupport.h"
#include "goldentmail.h"
#include "sfmaildir.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

std::string OutDir;

void Seed(const std::string& target, const std::string& name, const std::string& bytes)
{
    const std::string path = OutDir + "/" + target + "/" + name;
    if (!fuzz::WriteScratchFile(path, bytes))
        throw std::runtime_error("cannot write " + path);
}

std::string Le16(unsigned v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
std::string Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

std::string PhraseText(int n) { return "Phrase " + std::to_string(n) + " of %1 and %s"; }

// sf-mail.lng: 28 unused bytes, the entry count, 2 unused bytes, (id, 1-based pool position)
// entries, then the pool of length-prefixed strings.
std::string SfMailLng(int count)
{
    std::string index, pool;
    for (int id = 1; id <= count; ++id) {
        const std::string text = PhraseText(id);
        index += Le16(static_cast<unsigned>(id)) + Le16(static_cast<unsigned>(pool.size() + 1));
        pool += static_cast<char>(text.size());
        pool += text;
    }
    return std::string(28, '\0') + Le16(static_cast<unsigned>(count)) + Le16(0) + index + pool;
}

// binkley.lng: a 12-byte header (count at 4, pool size at 6), offsets + 4, NUL-ended strings.
std::string BinkLng(int count)
{
    std::string table, pool;
    for (int n = 0; n < count; ++n) {
        table += Le32(static_cast<std::uint32_t>(pool.size() + 4));
        pool += "\x01" + PhraseText(n);
        pool += '\0';
    }
    return Le32(0) + Le16(static_cast<unsigned>(count)) + Le16(static_cast<unsigned>(pool.size())) + Le32(0) + table +
           pool;
}

std::string FhMailLng()
{
    return "; FHMail language\r\n"
           "BUSY 'Busy'\r\n"
           "REMOTE_SYSOP 'Sysop: %s' 'Sysop of %s'\r\n"
           "connect 'Connect %u'\r\n"
           "NO_QUOTE\r\n"
           "ONE_QUOTE 'half\r\n"
           "  'leading blanks'\r\n"
           "TWO 'a' x 'b'\r\n";
}

void LngSeeds()
{
    Seed("lng_tmail", "default", BuildTMailLng(TMailPhrases(), 600));
    Seed("lng_tmail", "short", BuildTMailLng(TMailPhrases(), 5));
    Seed("lng_tmail", "two", std::string("A\0BC\0xy", 7));
    Seed("lng_sfmail", "forty", SfMailLng(40));
    Seed("lng_sfmail", "empty", SfMailLng(0));
    Seed("lng_bink", "forty", BinkLng(40));
    Seed("lng_bink", "empty", BinkLng(0));
    Seed("lng_fhmail", "phrases", FhMailLng());
}

// The other styles' logs, each as its fixture generator writes it for the mailer directory the
// target makes: clean ones, CR LF ones and ones with damaged lines.
template <class Options, class Build>
void StyleLogSeeds(const std::string& target, const std::string& name, Build build)
{
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        Options o;
        o.Lines = 400;
        o.Seed = seed;
        o.CrLf = seed == 2;
        o.WithDamagedLines = seed == 3;
        o.LinesPerDay = 150;
        Seed(target, name + std::to_string(seed), build(o));
    }
}

void StylePassSeeds()
{
    // pass_brake reads the newer generation's transfer lines when the first byte is odd: a log
    // starting on the 11th is read as one.
    for (const int version : {701, 703}) {
        StyleLogSeeds<TBrakeLogOptions>("pass_brake", "log" + std::to_string(version) + "_",
                                        [version](TBrakeLogOptions o) {
                                            o.Version = version;
                                            o.StartDay = version == 701 ? 2 : 11;
                                            return BuildBrakeLog(o);
                                        });
    }
    const TBinkPhrases bink;
    StyleLogSeeds<TBinkLogOptions>("pass_bink", "log", [&bink](const TBinkLogOptions& o) { return BuildBinkLog(o, bink); });
    const TFHMailDirOptions fh;
    StyleLogSeeds<TFHMailLogOptions>("pass_fhmail", "log",
                                     [&fh](const TFHMailLogOptions& o) { return BuildFHMailLog(o, fh.Phrases); });
    const TSFMailDirOptions sf;
    StyleLogSeeds<TSFMailLogOptions>("pass_sfmail", "log",
                                     [&sf](const TSFMailLogOptions& o) { return BuildSFMailLog(o, sf.Phrases); });
    StyleLogSeeds<TArgusLogOptions>("pass_argus", "log", [](const TArgusLogOptions& o) { return BuildArgusLog(o); });
}

// The first byte picks the reader's set-up (see qparser.cpp): 0 T-Mail, 1 Brake!, 2 Bink/+,
// 3 FHMail, 4 SF-Mail, 5 every handler kind; +6 '#' comments, +12 no comments.
void QParserSeeds()
{
    TMailDirOptions opt;
    Seed("qparser", "tmail_ctl", std::string(1, '\0') + BuildTMailCtl(opt));
    opt.PathStyle = CtlPathStyle::DrivePaths;
    Seed("qparser", "tmail_ctl_drives",
         std::string(1, '\0') + fuzz::JoinFiles({"define ROOT C:\\FIDO\r\ninclude inc1.cfg\r\n" + BuildTMailCtl(opt),
                                                 "[line1] Freq_Dir ROOT\\dir.frq ; comment\r\ninclude sub\\inc3.cfg\r\n",
                                                 "", "Freq_Ndx \"C:\\with blank\\index.frq\"\r\n"}));
    Seed("qparser", "brake",
         std::string(1, '\1') + "ALIAS x\nALIAS 2:5020/1 boss\nTREE C:\\BRAKE\\TREE\ndefine A B C\ninclude inc1.cfg\n" +
             std::string(fuzz::kFileMark) + "ALIAS y\n");
    Seed("qparser", "bink",
         std::string(1, '\2') + fuzz::JoinFiles({"define NODE 2:5020/52 The Node\nOkFile %NODE%.ok\nAbout \"a b\"c\n"
                                                 "include inc1.cfg\ninclude inc2.cfg\n",
                                                 "Avail avail.lst\ninclude inc2.cfg\n", "; deep\n"}));
    Seed("qparser", "fhmail",
         std::string(1, '\3') + "define ROOT = C:\\FH\nAliasList %ROOT%\\alias.lst\nLanguage %ROOT%\\english.lng ; x\n"
                                "define bad\n");
    Seed("qparser", "sfmail",
         std::string(1, '\4') + fuzz::JoinFiles({"#define X 1\n#define X 2\n(1) Fr_Alias freq.als\n#include inc1.cfg\n",
                                                 "Fr_Alias \"unmatched\n"}));
    Seed("qparser", "kinds",
         std::string(1, '\5') + "Proc a b c\nStr value\nBool yes\nBool maybe\nInt 42\nInt 0x1F\nInt x\nList v\n"
                                "Word hydra\nWord none\nCustom 1 2\nNoList a\nNoProc a\nStr\nUnknown 1 2 3 4 5 6\n");
    Seed("qparser", "kinds_hash", std::string(1, '\13') + "Str a # b\n# comment\nInt 7\n");
    Seed("qparser", "self_include", std::string(1, '\0') + "include main.cfg\n");
}

void PassSeeds()
{
    TMailPhrases phrases;
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        TMailLogOptions o;
        o.Lines = 400;
        o.Seed = seed;
        o.CrLf = seed == 2;
        o.WithBlock256 = seed == 3;
        o.LinesPerDay = 150;
        Seed("pass_tmail", "log" + std::to_string(seed), BuildTMailLog(o, phrases));
    }
    Seed("pass_tmail", "golden_basic", BuildGoldenTMailBasicLog());

    // The files index: names to look up, then the index of the default world's files.
    const TMailWorld world = DefaultTMailWorld();
    std::vector<std::pair<std::string, std::string>> entries;
    std::string names;
    for (const FileArea& area : world.Areas)
        for (const AreaFile& f : area.Files) {
            entries.emplace_back(f.Name, world.DosDir(area));
            names += f.Name + "\n";
        }
    names += "NOT.HERE\n\nzzzz\n";
    Seed("tmail_filesindex", "world", fuzz::JoinFiles({names, BuildFilesIndex(entries)}));
}

void TrafficSeeds()
{
    Seed("tmail_traffic", "edges", BuildTrafficFile(EdgeTrafficRecords()));
    Seed("tmail_traffic", "random_leftover", BuildTrafficFile(RandomTrafficRecords(20, 7)) + "leftover");
    Seed("tmail_history", "edges", BuildHistoryFile(EdgeHistoryRecords()));
    Seed("tmail_history", "random_leftover", BuildHistoryFile(RandomHistoryRecords(30, 7)) + "left");
}

// logview takes its first bytes as the style and the cut parameters (see logview.cpp).
void LogViewSeeds()
{
    TMailLogOptions o;
    o.Lines = 200;
    o.LinesPerDay = 40;
    const std::string tmail = BuildTMailLog(o, TMailPhrases());
    Seed("logview", "tmail", std::string("\x01\x00\x02\x00\x02\x10\x00\x40\x00\n", 10) + tmail);
    std::string bink, fd, other;
    for (int day = 3; day <= 6; ++day) {
        const std::string dd = (day < 10 ? "0" : "") + std::to_string(day);
        bink += "+ " + dd + " Jan 13:04:05 BINK Dialing 2:5020/1042\r\n";
        bink += ": " + dd + " Jan 13:04:17 BINK Connect 33600/ARQ\r\n";
        bink += "! " + dd + " Jan 13:05:17 BINK Error: carrier lost\r\n";
        fd += "----------  Mon " + dd + " Jan 99, FD 2.26 run 1\r\n";
        fd += "+ 12:0" + std::to_string(day) + "  Calling 2:463/68\r\n";
        fd += "* 12:0" + std::to_string(day) + "  Sent ARC01.MO1\r\n";
        other += "[00" + std::to_string(day) + "] tosser: scanned 20 areas\n";
    }
    Seed("logview", "bink", std::string("\x02\x40\x00\x01\x02\x20\x00\x10\x00\n", 10) + bink);
    Seed("logview", "frontdoor", std::string("\x03\x40\x00\x00\x01\x00\x00\x30\x00\n", 10) + fd);
    Seed("logview", "other_nul", std::string("\x00\x10\x00\x01\x03\x01\x00\x02\x00\n", 10) + other +
                                     std::string(40, '\0') + "\r\rtail");
}

// report_template's description (see report_template.cpp): flags, clock, columns, records.
class TReportSeed
{
public:
    TReportSeed(unsigned flags, TDateTime now)
    {
        Byte(flags);
        Raw(now);
    }
    TReportSeed& Byte(unsigned b)
    {
        Bytes += static_cast<char>(b);
        return *this;
    }
    template <class T>
    TReportSeed& Raw(T v)
    {
        char b[sizeof v];
        std::memcpy(b, &v, sizeof v);
        Bytes.append(b, sizeof v);
        return *this;
    }
    TReportSeed& Text(std::string_view t)
    {
        Byte(static_cast<unsigned>(t.size()));
        Bytes += t;
        return *this;
    }
    TReportSeed& Column(int type, unsigned width, bool inFile, std::string_view heading)
    {
        return Byte(static_cast<unsigned>(type) & 0xFF).Byte(width).Byte(inFile ? 1 : 0).Text(heading);
    }
    TReportSeed& Addr(std::uint16_t zone, std::uint16_t net, std::uint16_t node, std::uint16_t point)
    {
        return Raw(zone).Raw(net).Raw(node).Raw(point).Text("");
    }
    std::string Bytes;
};

void ReportSeeds()
{
    const TDateTime now = EncodeDate(2026, 3, 14) + EncodeTime(15, 9, 26, 0);
    const std::string header = "@program: sessions of the T-Mail station\r\n====== @total sessions ======\r\n"
                               "@date @time @TOTAL @totally @@total\r\n";
    const std::string footer = "\x8E\xE2\xE7\xA5\xE2 @program \xFE @total\r\nend without a line end";

    TReportSeed sessions(0, now);
    sessions.Byte(5).Column(0, 15, true, "Time").Column(2, 20, true, "Address").Column(3, 4, true, "System")
        .Column(11, 6, true, "CPS").Column(1, 10, false, "Length");
    for (int i = 0; i < 4; ++i) {
        sessions.Raw<std::int32_t>(10 * i + 1).Raw(now - 1 + i * 0.3).Raw<std::int32_t>(10 * i + 8).Raw(now - 1 + i * 0.31);
        sessions.Byte(i == 2 ? 0x85 : 0x13).Addr(2, 5020, static_cast<std::uint16_t>(52 + i), 0);
        sessions.Text("Ivan Petrov").Text("Night Owl Station");
        for (int k = 0; k < 5; ++k)
            sessions.Raw<std::int32_t>(i * 1000 + k);
    }
    Seed("report_template", "sessions", fuzz::JoinFiles({sessions.Bytes, header, footer}));

    TReportSeed utf8(1 | 2 | 64, now);
    utf8.Byte(2).Column(0, 12, true, "\xD0\x92\xD1\x80\xD0\xB5\xD0\xBC\xD1\x8F").Column(4, 3, true, "SysOp");
    utf8.Raw<std::int32_t>(1).Raw(now).Raw<std::int32_t>(2).Raw(now).Byte(0x80).Text("\x88\xA2\xA0\xAD").Text("");
    Seed("report_template", "utf8_oem", fuzz::JoinFiles({utf8.Bytes, header, footer}));

    TReportSeed dial(32 | 16 | 8, now);
    dial.Byte(4).Column(0, 16, true, "Node").Column(1, 5, true, "Tries").Column(8, 8, true, "Online")
        .Column(9, 0, true, "");
    for (int i = 0; i < 3; ++i) {
        dial.Addr(2, 5020, static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i));
        for (int k = 0; k < 9; ++k)
            dial.Raw<std::int32_t>(k == 7 ? -1 - i : i * 7 + k);
    }
    Seed("report_template", "dialstat_file", fuzz::JoinFiles({dial.Bytes, header}));
    Seed("report_template", "no_templates", TReportSeed(4 | 8, now).Bytes);
}

// Settings files as a user writes them by hand, as the program writes them (QSettings' INI
// form: "[%General]", quoted lists, "@ByteArray(...)" for bytes that are not UTF-8) and as a
// crash or a hand edit leaves them.
void SettingsSeeds()
{
    Seed("settings_ini", "readme",
         "[General]\nNumLogs=1\nOEMConvert=1            ; show log text in the OEM code page\nSaveDesktop=1\n\n"
         "[Log1]\nName=My station\nPath=/srv/fido/t-mail/t-mail.log\nStyle=1\nMailerPath=/srv/fido/t-mail\n"
         "CutSize=512\nCutMode=0\nAutoNew=1\nHighlight=1\nBrkVersion=701\n\n[Drives]\nC=/srv\nd=/mnt/d\n");
    Seed("settings_ini", "written",
         "[%General]\nNumLogs=4\nSaveDesktop=1\nShowDomain=0\nDayStart=22\nDayEnd=6\nDLCLeft=[\nDLCRight=]\n"
         "DLCDigits=0x3\nDLCLead=0\nDLCBackup=1\nTrafficLine=2\nHistoryLine=1\nNumChildren=3\n"
         "LogFont=\"Courier New,10,BI,2,clWindowText\"\nOEMCodePage=IBM866\nANSICodePage=KOI8-R\n\n"
         "[Log1]\nName=T-Mail\nPath=/fido/t-mail.log\nStyle=1\nLastStr=@ByteArray(\\x8f\\xe0\\xa8 12:00)\n"
         "[Log2]\nName=Brake\nStyle=4\nBrkVersion=703\nMailerPath=C:\\\\BRAKE\nUpdateDLC=1\n"
         "[Log3]\nName=\"Other, with a comma\"\nStyle=0\nCutMode=1\nCutSize=-5\n"
         "[Log4]\nName=SF\xD0\x9C\nStyle=7\nHighlight=0\n"
         "[Colors]\nNormal=clBlack\nDateTime=$00FF0000\nErrors=clred\nInfo=32768\nBackground=clBtnFace\n"
         "TLBad=0x0000FF\n"
         "[Child1]\nLogName=T-Mail\nLeft=10\nTop=20\nWidth=300\nHeight=200\nMaximized=1\n"
         "[Child3]\nLogName=Brake\n"
         "[T-Mail.SessList]\nNumColumns=2\nColumn0.ColType=0\nColumn1.Heading=Sys%2Fop\n"
         "[TFrameForm]\nFlags=0\nShowCmd=1\nNormPos=\"10,10,600,400\"\n");
    Seed("settings_ini", "damaged",
         "garbage without an equals sign\n[General\n=value without a key\n\x01\x02\xff\n"
         "[%General]\nNumLogs=2147483647\nSaveDesktop=banana\nNumChildren=2147483647\n"
         "[Log1]\nName=First\nStyle=2\n[Log2]\nStyle=99999999999\n[Log3]\nStyle=-7\n[Log5]\nName=\x8f\xe0\nStyle=0\n"
         "[Log07]\nStyle=1\n[Log%31]\nName=encoded\n[Colors]\nNormal=not a colour\nErrors=$00FF\nInfo=-1\n"
         "[Child2]\nLogName=First\n[Extra]\nKept=yes\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvex-fuzz-seeds OUTDIR\n");
        return 2;
    }
    OutDir = argv[1];
    try {
        LngSeeds();
        QParserSeeds();
        PassSeeds();
        StylePassSeeds();
        TrafficSeeds();
        LogViewSeeds();
        ReportSeeds();
        SettingsSeeds();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvex-fuzz-seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
