// `tarvex-cli follow` as built, against a writer: the existing text first, each session printed
// as it ends while the writer appends in pieces cut anywhere, `restart` when the log is written
// anew, and after SIGTERM the day and session lines since the restart with the last block are
// exactly what `analyze` prints for the log as it then is, a last line without its end included.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "childcli.h"
#include "prng.h"
#include "testdir.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using tarvex::testing::TChildCli;
using tarvex::testing::TTestDir;

namespace {

struct TMailer {
    std::string Dir, Log;
    std::vector<std::string> Args(std::vector<std::string> head) const
    {
        for (const std::string& a : {std::string("--style"), std::string("T-mail"), std::string("--mailer-path"), Dir,
                                     std::string("--drive"), "C=" + Dir, std::string("--year"), std::string("2026")})
            head.push_back(a);
        return head;
    }
};

std::string Analyze(const TMailer& m, const std::string& errFile)
{
    std::vector<std::string> args = m.Args({TARVEX_CLI, "analyze"});
    args.push_back(m.Log);
    TChildCli cli(args, errFile);
    EXPECT_EQ(cli.Finish(), 0);
    return cli.Out;
}

void Append(const std::string& path, std::string_view bytes, std::ios::openmode mode = std::ios::app)
{
    std::ofstream out(path, std::ios::binary | mode);
    out << bytes;
}

// Days first, then sessions, then the rest, each in its order: analyze's order.
std::string ByKind(const std::string& out)
{
    std::string days, sessions, rest;
    std::size_t from = 0;
    while (from < out.size()) {
        const std::size_t end = out.find('\n', from) + 1;
        const std::string line = out.substr(from, end - from);
        (line.starts_with("day\t") ? days : line.starts_with("session\t") ? sessions : rest) += line;
        from = end;
    }
    return days + sessions + rest;
}

// The output line of the last session that a pass over text ends.
std::string LastSessionLine(const std::string& analyzed)
{
    const std::size_t at = analyzed.rfind("\nsession\t");
    return analyzed.substr(at + 1, analyzed.find('\n', at + 1) - at);
}

}  // namespace

TEST(FollowCommand, KeepsItsContractWhileTheLogGrowsAndIsWrittenAnew)
{
    const TTestDir scratch("follow_cli");
    TMailer m{(scratch.Path / "t-mail").string(), (scratch.Path / "t-mail" / "live.log").string()};
    const TMailDirOptions dirOptions;
    WriteTMailDir(m.Dir, dirOptions);
    const std::string errFile = (scratch.Path / "err.txt").string();
    TMailLogOptions o;
    o.Lines = 2400;
    o.Seed = 5;
    o.CrLf = true;
    o.WithSeparators = false;
    const std::string first = BuildTMailLog(o, dirOptions.Phrases);
    o.Lines = 1500;
    o.Seed = 6;
    o.StartDay = 9;
    const std::string second = BuildTMailLog(o, dirOptions.Phrases);

    const std::size_t third = first.size() / 3;
    const std::size_t twoThirds = first.find('\n', 2 * first.size() / 3) + 1;
    Append(m.Log, std::string_view(first).substr(0, third), std::ios::trunc);
    std::vector<std::string> args = m.Args({TARVEX_CLI, "follow"});
    for (const char* a : {"--poll-ms", "20"})
        args.push_back(a);
    args.push_back(m.Log);
    TChildCli cli(args, errFile);
    ASSERT_TRUE(cli.Started());
    ASSERT_TRUE(cli.WaitFor("\nsession\t", 20000)) << "the existing text was not analysed";

    SplitMix64 rng(3);
    auto appendInPieces = [&](const std::string& text, std::size_t from, std::size_t to) {
        while (from < to) {
            const std::size_t n = std::min<std::size_t>(1 + rng.Below(3000), to - from);
            Append(m.Log, std::string_view(text).substr(from, n));
            from += n;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            cli.Read(0);
        }
    };
    appendInPieces(first, third, twoThirds);
    // Sessions are told as they end, not at the end.
    Append(m.Log + ".upto", std::string_view(first).substr(0, twoThirds), std::ios::trunc);
    const std::string lastSoFar = LastSessionLine(Analyze({m.Dir, m.Log + ".upto"}, errFile));
    EXPECT_TRUE(cli.WaitFor(lastSoFar, 10000)) << lastSoFar;

    // Written anew, shorter: the analysis starts over on the new text.
    Append(m.Log, std::string_view(second).substr(0, second.size() / 4), std::ios::trunc);
    EXPECT_TRUE(cli.WaitFor("restart\n", 10000));
    appendInPieces(second, second.size() / 4, second.size() - 7);

    cli.Signal(SIGTERM);
    EXPECT_EQ(cli.Finish(), 0);
    const std::size_t restart = cli.Out.rfind("restart\n");
    ASSERT_NE(restart, std::string::npos);
    EXPECT_EQ(cli.Out.find("restart\n"), restart) << "one rewrite, one restart";
    const std::string since = cli.Out.substr(restart + 8);
    EXPECT_EQ(ByKind(since), Analyze(m, errFile));
    EXPECT_TRUE(since.ends_with("\n") && since.find("\ntotal\t") != std::string::npos);
}
