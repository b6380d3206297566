// tarvex-cli: the headless front end over the analysis core.
#include <cstdio>
#include <iostream>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "analyzecommand.h"
#include "dlccommand.h"
#include "cutcommand.h"
#include "followcommand.h"
#include "phrasescommand.h"
#include "tmailcommands.h"
#include "reportcommand.h"
#include "platform/stdstreams.h"
#include "version.h"

namespace {

void PrintHelp()
{
    std::printf(
        "Usage: tarvex-cli COMMAND [OPTIONS]\n"
        "\n"
        "Commands:\n"
        "  --help        show this help and exit\n"
        "  --version     print the version and exit\n"
        "  COMMAND --help, COMMAND -h\n"
        "                show the usage of one command and exit\n"
        "  analyze --style STYLE [--mailer-path DIR] [--year YYYY] [--show-domain]\n"
        "          [--brake-version 701|703] [--drive L=DIR]... [--env NAME=VALUE]... [--auto-new TEXT]\n"
        "          [--stop-on-error] LOGFILE\n"
        "                analyse a log and print its days, sessions, nodes and file requests\n"
        "  follow --style STYLE [the options of analyze] [--poll-ms N] LOGFILE\n"
        "                analyse a log, then print each day as it starts and each session as it ends\n"
        "                while the mailer writes on; on SIGINT or SIGTERM the rest of analyze's output\n"
        "  dlc --style STYLE [--mailer-path DIR] [--year YYYY] [--brake-version N] [--drive L=DIR]...\n"
        "          [--env NAME=VALUE]... [--auto-new TEXT] [--dlc-left C] [--dlc-right C] [--dlc-digits N]\n"
        "          [--dlc-lead C] [--dlc-backup 0|1] [--dry-run] LOGFILE\n"
        "                analyse a log and raise the download counters in the files.bbs lists\n"
        "  phrases --style STYLE --mailer-path DIR [--drive L=DIR]... [--env NAME=VALUE]...\n"
        "                list the phrases a log style takes from the mailer's language file\n"
        "  %s\n"
        "                the traffic report of a T-Mail line\n"
        "  %s\n"
        "                the last-sessions history of a T-Mail line\n"
        "  report sessions --style STYLE [--mailer-path DIR] [--year YYYY] [--show-domain]\n"
        "          [--brake-version N] [--drive L=DIR]... [--env NAME=VALUE]... [--columns LIST]\n"
        "          [--header FILE] [--footer FILE] [--settings FILE --log NAME] [--utf8 [--code-page NAME]]\n"
        "          [--output FILE] LOGFILE\n"
        "                write the session list report of a log (LIST: NAME[:WIDTH],...)\n"
        "  report dialstat ... [--day N] LOGFILE\n"
        "                the same for the dial statistics of day N (0-based; default the last)\n"
        "  report node ... --addr ADDRESS LOGFILE\n"
        "                the same for one node on every day it appears on, and its total (ADDRESS\n"
        "                as analyze prints it: zone:net/node[.point][@domain])\n"
        "  cut (--kbytes N | --days N) [--style STYLE] [--year YYYY] LOGFILE\n"
        "                cut a log as its window does on opening\n",
        kTrafficUsage, kHistoryUsage);
}

}  // namespace

int main(int argc, char** argv)
{
    // A damaged log asks its questions by the ten thousand, and on an unbuffered stderr each one
    // costs writes of its own. Only follow, which reports as things happen, keeps it unbuffered.
    static char errBuffer[1 << 16];
    if (argc < 2 || std::string_view(argv[1]) != "follow") {
        std::setvbuf(stderr, errBuffer, _IOFBF, sizeof errBuffer);
        std::cerr.unsetf(std::ios_base::unitbuf);
    }
    tarvex::UseBinaryStandardStreams();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        PrintHelp();
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        std::printf("tarvex-cli %.*s\n", static_cast<int>(tarvex::Version().size()), tarvex::Version().data());
        return 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "analyze")
        return RunAnalyzeCommand(rest, std::cout, std::cerr);
    if (args[0] == "follow")
        return RunFollowCommand(rest, std::cout, std::cerr);
    if (args[0] == "dlc")
        return RunDlcCommand(rest, std::cout, std::cerr);
    if (args[0] == "cut")
        return RunCutCommand(rest, std::cout, std::cerr);
    if (args[0] == "phrases")
        return RunPhrasesCommand(rest, std::cout, std::cerr);
    if (args[0] == "traffic")
        return RunTrafficCommand(rest, std::cout, std::cerr);
    if (args[0] == "history")
        return RunHistoryCommand(rest, std::cout, std::cerr);
    if (args[0] == "report")
        return RunReportCommand(rest, std::cout, std::cerr);
    std::fprintf(stderr, "tarvex-cli: unknown command '%s' (try --help)\n", args[0].c_str());
    return 2;
}
