#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "analyzecommand.h"
#include "base/fidoaddr.h"
#include "testdir.h"
#include "tmailfixture.h"

using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

class AnalyzeCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteTMailDir(Dir.string(), TMailDirOptions{});
        W.SetDate(2026, 2, 5);
        W.At(10, 0, 0);
    }

    int Run(std::vector<std::string> extra)
    {
        WriteFileBytes((Dir / "t.log").string(), W.Text());
        std::vector<std::string> args = {"--style", "t-mail", "--mailer-path", Dir.string(), "--year", "2026"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back((Dir / "t.log").string());
        Out.str("");
        Err.str("");
        return RunAnalyzeCommand(args, Out, Err);
    }

    tarvex::testing::TTestDir Scratch{"analyze"};
    const fs::path& Dir = Scratch.Path;
    TMailLogWriter W{TMailPhrases()};
    std::ostringstream Out, Err;
};

}  // namespace

TEST_F(AnalyzeCommandTest, RecordsInTheirOrder)
{
    W.Dial("2:5020/1", "BUSY");
    W.Connect(true);
    W.Address("2:5030/15@fidonet");
    W.SysOp("Anna", ", x");
    W.System("Tab\tHouse");
    W.Freq("NEWS.TXT");
    W.Tick(10);
    W.Traffic(100, 0, 10);
    ASSERT_EQ(Run({"--show-domain"}), 0) << Err.str();
    EXPECT_EQ(Out.str(),
              "day\t0\t1\t2026-02-05\n"
              "session\t0\t2\t7\t2026-02-05 10:00:00\t2026-02-05 10:00:10\t83\t2:5030/15@fidonet\tTab\\tHouse\tAnna\t0\t0\t0\t100\t10\n"
              "node\t0\t2:5020/1\t1\t1\t0\t0\t0\t0\t0\t0\t0\n"
              "node\t0\t2:5030/15@fidonet\t0\t0\t0\t0\t1\t0\t100\t10\t10\n"
              "freq\t0\tNEWS.TXT\tNEWS.TXT\t2:5030/15@fidonet\t0\t6\t\t0\n"
              "total\t7\t1\t1\t1\n");
    EXPECT_EQ(Err.str(), "");
    EXPECT_FALSE(tarvex::ShowDomain());  // the setting is the command's own
}

TEST_F(AnalyzeCommandTest, QuestionsGoToStderrAndStopOnErrorEndsEarly)
{
    W.Line("first");
    W.Separator();
    W.Line("after");
    ASSERT_EQ(Run({}), 0);
    EXPECT_EQ(Err.str(), "Invalid date at line 2  Continue processing?\n");
    EXPECT_NE(Out.str().find("total\t3\t1\t0\t0\n"), std::string::npos);
    ASSERT_EQ(Run({"--stop-on-error"}), 1);
    EXPECT_NE(Out.str().find("total\t2\t1\t0\t0\n"), std::string::npos);
}

TEST_F(AnalyzeCommandTest, DamagedNumbersAskTheSameQuestionsAsEver)
{
    // A damaged dial address, session address and traffic count each end their line with
    // the conversion's message; the rest of the log is read as usual.
    W.Dial("2:50x0/1", "BUSY");
    W.Dial("2:5030/15", "CONNECT 14400");
    W.Connect(false);
    W.Address("2:50x30/15", "2:5030/16");
    W.Address("2:5030/15", "2:5030/16");
    W.Summary(TMailPhrases().Cut(tarvex::fixtures::TMailPhrase::Traffic) + " 1x0/200, 100 cps");
    W.Traffic(100, 200, 100);
    ASSERT_EQ(Run({}), 0);
    EXPECT_EQ(Err.str(), "Error analyzing log at line 1:  '50x0' is not a valid integer value  Continue processing?\n"
                         "Error analyzing log at line 4:  '50x30' is not a valid integer value  Continue processing?\n"
                         "Error analyzing log at line 6:  '1x0' is not a valid integer value  Continue processing?\n");
    EXPECT_NE(Out.str().find("\t2:5030/15\t\t\t0\t0\t200\t100\t"), std::string::npos) << Out.str();
    EXPECT_NE(Out.str().find("total\t7\t1\t1\t0\n"), std::string::npos);
}

TEST_F(AnalyzeCommandTest, AutoNewMarksNewRequests)
{
    W.Connect(true);
    W.Address("2:5020/300");
    W.SysOp("A");
    W.System("B");
    W.Freq("A.ZIP");
    W.Tick(1);
    W.Freq("B.ZIP");
    W.Sent("B.ZIP", true);
    W.Traffic(0, 0, 0);
    ASSERT_EQ(Run({"--auto-new", "05/02 10:00:01 File "}), 0);
    EXPECT_NE(Out.str().find("freq\t1\tB.ZIP\tB.ZIP\t2:5020/300\t1\t7\t\t1\n"), std::string::npos) << Out.str();
    EXPECT_NE(Out.str().find("freq\t0\tA.ZIP\tA.ZIP\t2:5020/300\t0\t5\t\t0\n"), std::string::npos);
}

TEST_F(AnalyzeCommandTest, FailuresExitTwo)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunAnalyzeCommand({"--style", "t-mail"}, out, err), 2);
    EXPECT_EQ(RunAnalyzeCommand({"--style", "nope", "x.log"}, out, err), 2);
    EXPECT_EQ(RunAnalyzeCommand({"--style", "Generic FrontDoor", "x.log"}, out, err), 2);
    EXPECT_NE(err.str().find("shown only, not analysed"), std::string::npos);
    EXPECT_EQ(RunAnalyzeCommand({"--style", "1", "--bogus", "x.log"}, out, err), 2);

    err.str("");
    const std::string missing = (Dir / "missing.log").string();
    EXPECT_EQ(RunAnalyzeCommand({"--style", "1", "--mailer-path", Dir.string(), missing}, out, err), 2);
    EXPECT_EQ(err.str(), "Cannot open log file for analysis\ntarvex-cli analyze: " + missing + ": no such file\n");

    fs::remove(Dir / "t-mail.lng");
    W.Line("x");
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Err.str(), "Cannot open .LNG file\n");
    EXPECT_EQ(Out.str(), "");
}

// Enough sessions and nodes that a second thread formats every other block of them: the blocks
// must still come out whole and in order.
TEST_F(AnalyzeCommandTest, ManySessionsComeOutInOrder)
{
    TMailLogOptions options;
    options.Lines = 200000;
    options.Seed = 3;
    options.WithSeparators = false;
    WriteFileBytes((Dir / "big.log").string(), BuildTMailLog(options, TMailPhrases()));
    ASSERT_EQ(RunAnalyzeCommand({"--style", "t-mail", "--mailer-path", Dir.string(), "--drive", "C=" + Dir.string(),
                                 "--year", "2026", (Dir / "big.log").string()},
                                Out, Err),
              0)
        << Err.str();
    std::istringstream records(Out.str());
    std::string line, total;
    long sessions = 0, nodeDay = 0, nodes = 0;
    while (std::getline(records, line)) {
        if (line.starts_with("session\t")) {
            ASSERT_TRUE(line.starts_with("session\t" + std::to_string(sessions) + "\t")) << line;
            ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 14) << line;
            ++sessions;
        }
        if (line.starts_with("node\t")) {
            const long day = std::stol(line.substr(5));
            ASSERT_GE(day, nodeDay) << line;
            ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 11) << line;
            nodeDay = day;
            ++nodes;
        }
        if (line.starts_with("total\t"))
            total = line;
    }
    EXPECT_GT(sessions, 2 * 8192);
    EXPECT_GT(nodes, 2 * 8192);
    // total <lines> <days> <sessions> <requests>
    std::istringstream fields(total);
    std::string kind, lines, days, counted;
    fields >> kind >> lines >> days >> counted;
    EXPECT_EQ(counted, std::to_string(sessions));
}
