// A T-Mail setup whose t-mail.ctl names everything by absolute upper-case DOS paths, over a
// lower-case tree: the requests are found with --drive, with the guess from the mailer path,
// and not at all (with the usual messages) when neither applies.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "analyzecommand.h"
#include "phrasescommand.h"
#include "platform/paths.h"
#include "testdir.h"
#include "tmailfixture.h"
#include "windowspaths.h"

using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

class DrivePathsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TARVEX_SKIP_ON_WINDOWS_PATHS();
        // <root>/fido/t-mail is the mailer, <root>/fido/files/utils an area: C: is <root>.
        const fs::path mailer = Mailer();
        WriteFileBytes((mailer / "t-mail.ctl").string(),
                       "Freq_Dir        C:\\FIDO\\T-MAIL\\DIR.FRQ\r\n"
                       "Freq_Ndx        C:\\FIDO\\T-MAIL\\INDEX.FRQ\r\n"
                       "AddressAliases  C:\\FIDO\\T-MAIL\\ALIASES.LST\r\n");
        WriteFileBytes((mailer / "t-mail.lng").string(), BuildTMailLng(TMailPhrases()));
        WriteFileBytes((mailer / "dir.frq").string(), "C:\\FIDO\\FILES\\UTILS\r\n");
        WriteFileBytes((mailer / "index.frq").string(), "FILES C:\\FIDO\\FILES\\UTILS\\ALLFILES.ZIP\r\n");
        WriteFileBytes((mailer / "aliases.lst").string(), "2:5030/15 Boss\r\n");
        WriteFileBytes((Root() / "fido" / "files" / "utils" / "allfiles.zip").string(), "zip");

        W.SetDate(2026, 2, 5);
        W.At(10, 0, 0);
        W.Dial("Boss", "CONNECT 14400");
        W.Connect(false);
        W.Address("2:5030/15");
        W.SysOp("Ivan Petrov");
        W.System("Test Station");
        W.Freq("FILES");
        W.Sent("ALLFILES.ZIP", true);
        W.Traffic(0, 100, 100);
        WriteFileBytes((mailer / "t-mail.log").string(), W.Text());
    }
    void TearDown() override { tarvex::ClearDriveMap(); }

    fs::path Root() const { return Scratch.Path; }
    fs::path Mailer() const { return Scratch.Path / "fido" / "t-mail"; }

    int Run(std::vector<std::string> extra)
    {
        std::vector<std::string> args = {"--style", "T-mail", "--mailer-path", Mailer().string(), "--year", "2026"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back((Mailer() / "t-mail.log").string());
        Out.str("");
        Err.str("");
        return RunAnalyzeCommand(args, Out, Err);
    }

    tarvex::testing::TTestDir Scratch{"drivepaths"};
    TMailLogWriter W{TMailPhrases()};
    std::ostringstream Out, Err;
};

// The request of the magic name FILES, answered by ALLFILES.ZIP once index.frq is read.
const char* const kFound = "freq\t0\tFILES\tALLFILES.ZIP\t2:5030/15\t1\t";
const char* const kDialFound = "node\t0\t2:5030/15\t1\t";

}  // namespace

TEST_F(DrivePathsTest, FoundWithADriveMapping)
{
    ASSERT_EQ(Run({"--drive", "c=" + Root().string()}), 0);
    EXPECT_EQ(Err.str(), "");
    EXPECT_NE(Out.str().find(kFound), std::string::npos) << Out.str();
    EXPECT_NE(Out.str().find(kDialFound), std::string::npos) << Out.str();  // the alias was read
}

TEST_F(DrivePathsTest, FoundWithTheGuessToldOnce)
{
    ASSERT_EQ(Run({}), 0);
    EXPECT_EQ(Err.str(), "tarvex-cli analyze: drive C: taken as " + Root().string() +
                             " (guessed from the mailer path; --drive C=DIR sets it)\n");
    EXPECT_NE(Out.str().find(kFound), std::string::npos) << Out.str();
    EXPECT_NE(Out.str().find(kDialFound), std::string::npos) << Out.str();
}

TEST_F(DrivePathsTest, NotFoundWhenNeitherApplies)
{
    // A mapping that points elsewhere wins over the guess, and finds nothing.
    ASSERT_EQ(Run({"--drive", "C=" + (Root() / "elsewhere").string()}), 0);
    // Without the alias file the dialled name is no address.
    EXPECT_EQ(Err.str(), "Cannot open freq dirs file\nCannot open freq index file\nCannot open address alias file\n"
                         "Error analyzing log at line 1:  'Boss' is not a valid integer value  Continue processing?\n");
    EXPECT_NE(Out.str().find("freq\t0\tFILES\tFILES\t2:5030/15\t"), std::string::npos) << Out.str();
}

TEST_F(DrivePathsTest, BadMappingsAreRefused)
{
    for (const char* bad : {"C", "C=", "=x", "1=/tmp", "CC=/tmp"}) {
        EXPECT_EQ(Run({"--drive", bad}), 2) << bad;
        EXPECT_NE(Err.str().find("bad drive mapping"), std::string::npos) << bad;
    }
}

TEST_F(DrivePathsTest, PhrasesReadsAMailerPathOnADrive)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunPhrasesCommand({"--style", "T-mail", "--mailer-path", "C:\\FIDO\\T-MAIL", "--drive",
                                 "C=" + Root().string()},
                                out, err),
              0)
        << err.str();
    EXPECT_FALSE(out.str().empty());
    std::ostringstream out2, err2;
    EXPECT_EQ(RunPhrasesCommand({"--style", "T-mail", "--mailer-path", "C:\\FIDO\\T-MAIL"}, out2, err2), 2);
    EXPECT_NE(err2.str().find("Cannot open .LNG file"), std::string::npos) << err2.str();
}
