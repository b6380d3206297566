#pragma once
// What the tests of every mailer style's parser share: a fixture holding the writer of the log
// lines, the parser and a scripted user (with a scratch mailer folder for the styles that read
// the mailer's files), and the checks that every parser must pass on hostile bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/userinterface.h"
#include "log/mailerlog.h"
#include "platform/paths.h"
#include "testdir.h"

namespace tarvex::testing {

using TWordsAt = std::initializer_list<std::pair<std::string_view, int>>;

// The colour the log gives each word of line lineNo, asked in order as the viewer asks.
std::vector<TColorItem> WordColours(TLog& log, int lineNo, TWordsAt words);

// The nth record of a request for `request` (upper case as the parser keeps it), or null.
const TFreq* FindFreqOf(const TMailerLog& log, std::string_view request, std::size_t nth = 0);

// Overwrites 4000 bytes of text at places a generator started from seed chooses, with a random
// byte, NUL, a line break or a mark byte that the parser looks for. With one mark that byte is
// written; with several the generator picks one.
void DamageBytes(std::string& text, std::uint64_t seed, std::string_view marks);

// Every session of the last pass ends at or after its first line.
void ExpectSessionsInOrder(const TMailerLog& log);

// Hands each line, most of them cut short inside their layout, to the day check, the parser
// (unless parse is false) and the colouring: none may read outside the line. A bad date may be
// thrown, as the pass would tell it to the user.
void FeedCutLines(TMailerLog& log, std::initializer_list<std::string_view> lines, bool parse = true);

// The generated log of a style holds `lines` lines, reads without a single question and yields
// sessions and requests enough to test the views with.
void ExpectCleanGeneratedLog(TMailerLog& log, const std::string& text, int lines);

// Maps drive C: of the mailer's own paths to a folder for as long as it lives.
class TDriveC
{
public:
    explicit TDriveC(const std::filesystem::path& dir) { SetDriveMap({{'C', dir.string()}}); }
    ~TDriveC() { ClearDriveMap(); }
    TDriveC(const TDriveC&) = delete;
    TDriveC& operator=(const TDriveC&) = delete;
};

// A parser and the writer of the log it reads, the log starting at 10:00:00 of a day.
template <class TLogT, class TWriterT>
class TParserTest : public ::testing::Test
{
protected:
    // A year given by an earlier test (the command line's --year) must not date this one's lines.
    explicit TParserTest(TWriterT writer = TWriterT()) : W(std::move(writer)) { SetYearlessYear(0); }

    void StartAt(int year, int month, int day)
    {
        W.SetDate(year, month, day);
        W.At(10, 0, 0);
    }

    std::vector<TColorItem> Colours(int lineNo, TWordsAt words) { return WordColours(Log, lineNo, words); }

    const TFreq* FindFreq(std::string_view request, std::size_t nth = 0) const { return FindFreqOf(Log, request, nth); }

    TWriterT W;
    TLogT Log;
    TScriptedUserInterface Ui;
};

// The same for a style that reads its mailer's files: they are written by writeFiles into a
// scratch folder, which the mailer's paths may reach as drive C:.
template <class TLogT, class TWriterT, class TOptionsT,
          void (*writeFiles)(const std::string&, const TOptionsT&)>
class TMailerDirTest : public TParserTest<TLogT, TWriterT>
{
protected:
    // filesMark: the file below the folder that shows the mailer's files are written.
    TMailerDirTest(const std::string& scratchName, std::filesystem::path filesMark, bool mapDriveC,
                   TWriterT writer = TWriterT())
        : TParserTest<TLogT, TWriterT>(std::move(writer)), Scratch(scratchName), FilesMark(std::move(filesMark))
    {
        if (mapDriveC)
            DriveC.emplace(Dir);
        this->Log.MailerPath = Dir.string();
    }

    void WriteMailerFiles() { writeFiles(Dir.string(), Opt); }

    // A pass over the lines written so far, writing the mailer's files first unless they are there.
    bool Run()
    {
        if (!std::filesystem::exists(Dir / FilesMark))
            WriteMailerFiles();
        return this->Log.Analyze(this->Ui, {}, this->W.Text());
    }

    TTestDir Scratch;
    const std::filesystem::path& Dir = Scratch.Path;
    TOptionsT Opt;

private:
    std::filesystem::path FilesMark;
    std::optional<TDriveC> DriveC;
};

}  // namespace tarvex::testing
