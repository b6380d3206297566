// Tests of our own T-Mail fixture generator: if it is wrong, every test fed by it is wrong.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "goldentmail.h"
#include "tmailfixture.h"

using namespace tarvex::fixtures;

namespace {

// Reads a language table back the way the format defines it: the phrases are the NUL-terminated
// strings of bytes 0 .. size-3; the last two bytes are not examined.
std::vector<std::string> ReadLng(const std::string& bytes)
{
    std::vector<std::string> phrases;
    std::string current;
    for (std::size_t i = 0; i + 2 < bytes.size(); ++i) {
        if (bytes[i] == '\0') {
            phrases.push_back(current);
            current.clear();
        } else {
            current += bytes[i];
        }
    }
    return phrases;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        lines.push_back(text.substr(pos, lf - pos));
        pos = lf == std::string::npos ? text.size() : lf + 1;
    }
    return lines;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(TMailFixtureLng, PhrasesReadBackAtTheirNumbers)
{
    TMailPhrases phrases;
    phrases.Set(TMailPhrase::Dialing, "Wahl %s, bitte");
    phrases.Set(605, "beyond the count");
    const std::vector<std::string> read = ReadLng(BuildTMailLng(phrases, 600));
    ASSERT_EQ(read.size(), 605u);
    for (int n : {2, 3, 4, 15, 16, 21, 26, 32, 33, 42, 47, 58, 60, 147, 159, 199, 203, 256, 424, 467, 587})
        EXPECT_EQ(read[static_cast<std::size_t>(n - 1)], phrases.Text(n)) << "phrase " << n;
    EXPECT_EQ(read[0], TMailPhrases::FillerText(1));
    EXPECT_EQ(read[604], "beyond the count");
    EXPECT_EQ(phrases.Cut(TMailPhrase::Dialing), "Wahl ");
    EXPECT_EQ(TMailPhrases{}.Cut(TMailPhrase::Incoming), "\xFE Incoming call, ");
    EXPECT_EQ(TMailPhrases{}.Cut(TMailPhrase::Traffic), "Traffic recd/sent:");
    EXPECT_THROW(phrases.Set(5, std::string("a\0b", 3)), std::invalid_argument);
}

TEST(TMailFixtureFilesIndex, RecordsAreSortedByByteOrderAndAligned)
{
    const std::string index = BuildFilesIndex({{"TOOL.ZIP", "C:\\FILES\\UTILS"},
                                               {"\xE9TE.ZIP", "C:\\FILES"},
                                               {"ABOUT.TXT", "C:\\FILES"},
                                               {"about.txt", "C:\\LOWER"}});
    ASSERT_EQ(index.size(), 4u * 512u);
    auto name = [&](std::size_t i) { return std::string(index.c_str() + i * 512); };
    auto dir = [&](std::size_t i) { return std::string(index.c_str() + i * 512 + 264); };
    EXPECT_EQ(name(0), "ABOUT.TXT");
    EXPECT_EQ(name(1), "TOOL.ZIP");
    EXPECT_EQ(name(2), "about.txt");
    EXPECT_EQ(name(3), "\xE9TE.ZIP");  // bytes above 127 sort last, as unsigned bytes
    EXPECT_EQ(dir(1), "C:\\FILES\\UTILS");
    EXPECT_EQ(index[512 + 263], '\0');
    EXPECT_EQ(index[1024 - 1], '\0');
    EXPECT_THROW(BuildFilesIndex({{std::string(264, 'A'), "C:"}}), std::invalid_argument);
    EXPECT_NO_THROW(BuildFilesIndex({{std::string(263, 'A'), std::string(247, 'D')}}));
}

TEST(TMailFixtureWriter, LinesHaveTheLayoutTheParserReads)
{
    TMailLogWriter w(TMailPhrases{}, true);
    w.SetDate(2026, 12, 31);
    w.At(23, 59, 58);
    w.Dial("Hub North", "BUSY", "555-0052");
    w.Tick(3);  // past midnight: next day, next year
    w.Traffic(2048, 53500, 2560);
    w.SysOp("Ivan Petrov", "Moscow");
    w.Sent("C:\\FILES\\A.ZIP", true, 100, 50);
    w.Connect(true);
    w.SetLineLimit(5);
    w.Info("dropped");
    EXPECT_TRUE(w.Full());
    EXPECT_EQ(w.Text(),
              "31/12 23:59:58 Dialing Hub North, 555-0052, BUSY\r\n"
              "01/01 00:00:01 \xFE Traffic recd/sent: 2048/53500, 2560 cps\r\n"
              "01/01 00:00:01 SysOp: Ivan Petrov, Moscow\r\n"
              "01/01 00:00:01 ZS- C:\\FILES\\A.ZIP (100 bytes) 50 cps OK\r\n"
              "01/01 00:00:01 \xFE Incoming call, CONNECT 33600/V42b\r\n");
    EXPECT_EQ(w.Year(), 2027);
    EXPECT_THROW(w.SetDate(2026, 2, 29), std::invalid_argument);
    EXPECT_NO_THROW(w.SetDate(2028, 2, 29));
}

TEST(TMailFixtureLog, DeterministicExactLengthAndOrderedTimes)
{
    TMailLogOptions options;
    options.Lines = 20000;
    options.Seed = 5;
    options.LinesPerDay = 400;
    options.CrLf = true;
    options.WithBlock256 = true;
    const TMailPhrases phrases;
    const std::string log = BuildTMailLog(options, phrases);
    EXPECT_EQ(log, BuildTMailLog(options, phrases));
    options.Seed = 6;
    EXPECT_NE(log, BuildTMailLog(options, phrases));

    const std::vector<std::string> lines = SplitLines(log);
    ASSERT_EQ(lines.size(), 20000u);
    std::string day;
    std::string lastTime;
    std::size_t days = 0, sessions = 0, traffic = 0;
    for (const std::string& raw : lines) {
        ASSERT_FALSE(raw.empty());
        ASSERT_EQ(raw.back(), '\r');
        const std::string line = raw.substr(0, raw.size() - 1);
        if (line.empty() || line[0] == '-' || line[0] == 'x')
            continue;
        ASSERT_GE(line.size(), 16u) << line;
        ASSERT_TRUE(line[2] == '/' && line[5] == ' ' && line[8] == ':' && line[11] == ':' && line[14] == ' ') << line;
        if (line.substr(0, 5) != day) {
            day = line.substr(0, 5);
            lastTime.clear();
            ++days;
        }
        const std::string time = line.substr(6, 8);
        ASSERT_GE(time, lastTime) << line;
        lastTime = time;
        if (line[15] == '\xFE')
            (line.find("CONNECT") != std::string::npos ? sessions : traffic) += 1;
    }
    // About 400 lines a day; plenty of sessions, most of them closed by a summary.
    EXPECT_GT(days, 35u);
    EXPECT_LT(days, 65u);
    EXPECT_GT(sessions, 1000u);
    EXPECT_GT(traffic, sessions / 2);
}

TEST(TMailFixtureDir, WritesEveryFileInBothPathStyles)
{
    const auto root = std::filesystem::temp_directory_path() / "tarvex_tmail_dir_test";
    std::filesystem::remove_all(root);
    TMailDirOptions options;
    options.PathStyle = CtlPathStyle::DrivePaths;
    WriteTMailDir(root.string(), options);
    const std::string ctl = ReadFile(root / "t-mail.ctl");
    EXPECT_NE(ctl.find("Freq_Dir C:\\dir.frq"), std::string::npos);
    EXPECT_NE(ctl.find("AddressAliases C:\\aliases.lst"), std::string::npos);
    EXPECT_NE(ReadFile(root / "dir.frq").find("@C:\\files.idx\r\n"), std::string::npos);
    EXPECT_EQ(ReadFile(root / "files.idx").size(), 10u * 512u);
    EXPECT_EQ(ReadFile(root / "FILES" / "UTILS" / "files.bbs").substr(0, 43), "TOOL.ZIP      Handy tool for sysops [009]\r\n");
    EXPECT_TRUE(std::filesystem::exists(root / "FILES" / "NODELIST" / "NODELIST.ZIP"));
    EXPECT_EQ(BuildTMailCtl(TMailDirOptions{}).find("C:\\"), std::string::npos);
    std::filesystem::remove_all(root);
}

// The committed golden input must be exactly what the generator writes, or the hand-checked
// expectation next to it describes some other log.
TEST(TMailFixtureGolden, CommittedFilesMatchTheGenerator)
{
    const auto committed = std::filesystem::path(TARVEX_GOLDEN_DIR) / "tmail_basic";
    const auto fresh = std::filesystem::temp_directory_path() / "tarvex_tmail_golden_test";
    std::filesystem::remove_all(fresh);
    WriteGoldenTMailBasic(fresh.string());
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(fresh)) {
        if (!entry.is_regular_file())
            continue;
        const auto rel = std::filesystem::relative(entry.path(), fresh);
        EXPECT_EQ(ReadFile(entry.path()), ReadFile(committed / rel)) << rel;
        ++files;
    }
    EXPECT_EQ(files, 20u);
    EXPECT_EQ(SplitLines(BuildGoldenTMailBasicLog()).size(), 211u);
    std::filesystem::remove_all(fresh);
}
