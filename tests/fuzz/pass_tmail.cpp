// The T-Mail style's whole pass over arbitrary log bytes, against a mailer directory made by our
// fixture generator (t-mail.ctl naming its files by drive paths, language, request index and
// directory list, aliases, a files index, file areas). After the pass everything a window shows
// is read back: every line's session and day, every record, the colour of every word.
#include <string>

#include "base/datetime.h"
#include "fuzzsupport.h"
#include "parsers/tmaillog.h"
#include "platform/paths.h"
#include "tmailfixture.h"

using namespace tarvex;

namespace {

const std::string& MailerDir()
{
    static const std::string dir = [] {
        const std::string d = fuzz::ScratchDir("pass_tmail") + "/mailer";
        fixtures::TMailDirOptions opt;
        opt.PathStyle = fixtures::CtlPathStyle::DrivePaths;
        fixtures::WriteTMailDir(d, opt);
        SetDriveMap({{opt.World.Drive, d}});
        SetProgramStartDate(EncodeDate(2026, 6, 15));
        return d;
    }();
    return dir;
}

// The words of a line as a viewer hands them to the colouring questions: runs of non-blanks
// with their 0-based columns.
void ColourLine(TLog& log, std::string_view line, int lineNo)
{
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start)
            (void)log.GetWordColor(line.substr(start, i - start), lineNo, static_cast<int>(start));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::AsText(data, size);
    TTmailLog log;
    log.MailerPath = MailerDir();
    // A mark of the last opening somewhere in the log: the first 20 bytes of its middle line.
    log.AutoNew = true;
    log.LastStr = std::string(text.substr(text.size() / 2, 20));
    TScriptedUserInterface ui;
    log.Analyze(ui, [](std::int32_t) {}, text);

    for (std::int32_t line = 0; line <= log.LinesRead + 1; ++line) {
        (void)log.SessionAtLine(line);
        (void)log.DayAtLine(line);
    }
    for (std::int32_t d = 0; d < log.DayCount; ++d) {
        (void)log.Day(d);
        for (std::int32_t n = 0; n < log.NodeCount(d); ++n)
            (void)log.Node(d, n);
    }
    for (std::int32_t s = 0; s < log.SessCount; ++s)
        (void)log.Session(s);

    std::size_t from = 0;
    int lineNo = 0;
    while (from <= text.size() && lineNo < 5000) {
        const std::size_t lf = text.find('\n', from);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        ColourLine(log, text.substr(from, end - from), lineNo++);
        try {
            (void)log.DateOfLine(text.substr(from, end - from));
        } catch (const std::exception&) {
        }
        if (lf == std::string_view::npos)
            break;
        from = lf + 1;
    }
    return 0;
}
