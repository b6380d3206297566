// Writes the seed inputs of every fuzz target into OUTDIR/<target>/, made by our fixture
// generators (T-Mail logs, mailer directory files, traffic and history records) and by small
// builders of the other formats here. Usage: tarvex-fuzz-seeds OUTDIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "goldentmail.h"
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
        TrafficSeeds();
        LogViewSeeds();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvex-fuzz-seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
