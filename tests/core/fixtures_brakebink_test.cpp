#include <gtest/gtest.h>

#include <string>

#include "binkdir.h"
#include "binklog.h"
#include "brakedir.h"
#include "brakelog.h"
#include "host/userinterface.h"
#include "parsers/binkplog.h"
#include "parsers/brakelog.h"
#include "platform/paths.h"
#include "testdir.h"

using namespace tarvex;
using namespace tarvex::fixtures;

namespace {

std::size_t CountLines(const std::string& text, bool crlf)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') {
            EXPECT_TRUE(!crlf || (i > 0 && text[i - 1] == '\r'));
            ++n;
        }
    return n;
}

}  // namespace

// The generators give the same bytes for the same options and exactly the lines asked for, and
// an undamaged log reads without a single question, with every kind of record in it.
TEST(BrakeFixtureLog, DeterministicExactAndCleanForBothVersions)
{
    const tarvex::testing::TTestDir dir("brakefix");
    WriteBrakeDir(dir.Path.string(), TBrakeDirOptions());
    SetDriveMap({{'C', dir.Path.string()}});
    for (const int version : {701, 703}) {
        TBrakeLogOptions options;
        options.Lines = 6000;
        options.Seed = 3;
        options.Version = version;
        options.CrLf = version == 703;
        options.WithDamagedLines = false;
        const std::string log = BuildBrakeLog(options);
        EXPECT_EQ(log, BuildBrakeLog(options));
        EXPECT_EQ(CountLines(log, options.CrLf), 6000u);

        TBrakeLog brake;
        brake.BrkVersion = version;
        brake.MailerPath = dir.Path.string();
        TScriptedUserInterface ui;
        ASSERT_TRUE(brake.Analyze(ui, {}, log));
        EXPECT_TRUE(ui.Transcript.empty()) << ui.Transcript.front();
        EXPECT_GT(brake.SessCount, 300);
        EXPECT_GE(brake.DayCount, 9);
        std::size_t sent = 0;
        for (const TFreqEntry& f : brake.Freqs)
            sent += f.Freq.Sent ? 1 : 0;
        EXPECT_GT(sent, 20u);
        EXPECT_LT(sent, brake.Freqs.size());
        bool human = false, failed = false, outgoing = false;
        for (const TSess& s : brake.Sessions) {
            human = human || (s.Flags & sfHuman);
            failed = failed || (s.Flags & sfFailed);
            outgoing = outgoing || !(s.Flags & sfInbound);
        }
        EXPECT_TRUE(human && failed && outgoing);
    }
    ClearDriveMap();
}

TEST(BinkFixtureLog, DeterministicExactAndClean)
{
    const tarvex::testing::TTestDir dir("binkfix");
    const TBinkDirOptions dirOptions;
    WriteBinkDir(dir.Path.string(), dirOptions);
    TBinkLogOptions options;
    options.Lines = 6000;
    options.Seed = 3;
    options.CrLf = true;
    options.WithDamagedLines = false;
    const std::string log = BuildBinkLog(options, dirOptions.Phrases);
    EXPECT_EQ(log, BuildBinkLog(options, dirOptions.Phrases));
    options.Seed = 4;
    EXPECT_NE(log, BuildBinkLog(options, dirOptions.Phrases));
    EXPECT_EQ(CountLines(log, true), 6000u);

    SetProgramStartDate(EncodeDate(2026, 6, 1));
    TBinkPLog bink;
    bink.MailerPath = dir.Path.string();
    TScriptedUserInterface ui;
    ASSERT_TRUE(bink.Analyze(ui, {}, log));
    EXPECT_TRUE(ui.Transcript.empty()) << ui.Transcript.front();
    EXPECT_GT(bink.SessCount, 300);
    std::size_t wildcardAnswers = 0, magic = 0;
    for (const TFreqEntry& f : bink.Freqs) {
        wildcardAnswers += f.Request == "*.ZIP" && f.Freq.Sent ? 1 : 0;
        magic += f.Request != f.Freq.Name && f.Request != "*.ZIP" ? 1 : 0;
    }
    EXPECT_GT(wildcardAnswers, 2u);
    EXPECT_GT(magic, 2u);
    std::int32_t outSessions = 0;
    for (std::int32_t d = 0; d < bink.DayCount; ++d)
        for (std::int32_t i = 0; i < bink.NodeCount(d); ++i)
            outSessions += bink.Node(d, i).OutSess;
    EXPECT_GT(outSessions, 50);
}
