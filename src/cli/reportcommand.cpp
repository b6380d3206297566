#include "reportcommand.h"

#include <functional>
#include <optional>
#include <ostream>
#include <span>

#include "analysisrun.h"
#include "base/fidoaddr.h"
#include "base/logutils.h"
#include "report/dscolumns.h"
#include "report/nodehistory.h"
#include "report/sesscolumns.h"
#include "report/viewsections.h"
#include "reportoptions.h"
#include "batchui.h"
#include "cliusage.h"

using namespace tarvex;

namespace {

// Report widths that fit each heading and its usual values: "30/12 23:59:20", "Out 2:5020/300.1".
constexpr int kSessFittingWidths[kSessColumnTypes] = {14, 8, 20, 24, 20, 4, 4, 10, 10, 10, 10, 6};
// "2:5020/300.1", "No carrier", "Time online", "1:02:05".
constexpr int kDialStatFittingWidths[kDialStatColumnTypes] = {16, 5, 5, 10, 8, 7, 10, 10, 11, 6};

const char* const kDialStatOwnUsage = " [--day N]";
const char* const kNodeOwnUsage = " --addr ADDRESS";

std::string ReportUsage(const std::string& command, const char* ownUsage)
{
    return "usage: tarvex-cli " + command + " " + kAnalysisOptionsUsage + "\n          " + kReportOptionsUsage +
           ownUsage + "\n";
}

// Takes the analysis and report options, and those of the report itself through `extra`. The
// status to end with at once: 0 after the usage asked for (on out), 2 when the options are
// wrong or incomplete (usage on err); nothing when the report is to be written.
std::optional<int> TakeReportArgs(const std::vector<std::string>& args, TAnalysisOptions& a, TReportCliOptions& r,
                                  const std::string& command, const char* ownUsage, const TOwnOption& extra,
                                  std::ostream& out, std::ostream& err)
{
    const TOwnOption own = [&](const std::vector<std::string>& v, std::size_t& i) {
        const TOptionTaken t = TakeReportOption(v, i, r, command, err);
        return t == TOptionTaken::NotOurs && extra ? extra(v, i) : t;
    };
    const bool taken = TakeAnalysisArgs(args, a, command, own, err);
    if (taken && a.Help) {
        out << ReportUsage(command, ownUsage);
        return 0;
    }
    bool complete = taken && AnalysisArgsComplete(a, command, err);
    if (complete && r.SettingsFile.empty() != r.LogName.empty()) {
        err << "tarvex-cli " << command << ": --settings and --log go together\n";
        complete = false;
    }
    if (complete)
        return std::nullopt;
    err << ReportUsage(command, ownUsage);
    return 2;
}

// Analyses the log and writes the report of the items `pick` chooses from it; `pick` returns
// false (its message on err) when the log has no such items to choose. The report's own
// options are checked before the mailer directory is looked for.
template <class Item>
int RunReport(const TAnalysisOptions& a, const TReportCliOptions& r, const TReportView& view,
              const typename TColumnList<Item>::Factory& make, const std::string& command, const std::string& usage,
              const std::function<bool(const TMailerLog&, TRecordsView<Item>&)>& pick, std::ostream& out,
              std::ostream& err)
{
    TColumnList<Item> columns;
    TReportOptions report;
    if (!PrepareReport<Item>(r, view, make, columns, report, command, err))
        return 2;
    if (!MailerPathKnown(a, command, err)) {
        err << usage;
        return 2;
    }

    const bool oldShowDomain = ShowDomain();
    const TAnalysisRun run = RunAnalysis(a, err, command);
    int code = run.Code;
    if (code != 2) {
        TBatchUserInterface ui(err, false);
        TRecordsView<Item> items;
        if (!pick(*run.Mailer, items) || !WriteCliReport<Item>(r, columns, report, items, ui, out, err, command))
            code = 2;
    }
    // The command may run in-process (tests): leave the address form as it was.
    SetShowDomain(oldShowDomain);
    return code;
}

int RunSessionsReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::string command = "report sessions";
    TAnalysisOptions a;
    TReportCliOptions r;
    if (const auto code = TakeReportArgs(args, a, r, command, "", {}, out, err))
        return *code;
    const TReportView view{SessColumnNames, kSessFittingWidths, ViewSuffix(TViewKind::SessList), SessListDefaultColumns()};
    return RunReport<TSess>(
        a, r, view, SessColumnFactory(), command, ReportUsage(command, ""),
        [](const TMailerLog& log, TRecordsView<TSess>& items) {
            items = TRecordsView<TSess>(log.Sessions, static_cast<std::size_t>(log.SessCount));
            return true;
        },
        out, err);
}

int RunDialStatReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::string command = "report dialstat";
    TAnalysisOptions a;
    TReportCliOptions r;
    std::optional<int> day;
    const TOwnOption takeDay = [&](const std::vector<std::string>& v, std::size_t& i) {
        if (v[i] != "--day")
            return TOptionTaken::NotOurs;
        int n = 0;
        if (i + 1 >= v.size() || !TryStrToInt(OuterTrimmed(v[i + 1]), n) || n < 0) {
            err << "tarvex-cli " << command << ": --day needs a day index (0 for the first day)\n";
            return TOptionTaken::Error;
        }
        ++i;
        day = n;
        return TOptionTaken::Taken;
    };
    if (const auto code = TakeReportArgs(args, a, r, command, kDialStatOwnUsage, takeDay, out, err))
        return *code;
    const TReportView view{DialStatColumnNames, kDialStatFittingWidths, ViewSuffix(TViewKind::DialStat), DialStatDefaultColumns()};
    return RunReport<TNodeStat>(
        a, r, view, DialStatColumnFactory(), command, ReportUsage(command, kDialStatOwnUsage),
        [&](const TMailerLog& log, TRecordsView<TNodeStat>& items) {
            const int days = log.DayCount;
            if (day && *day >= days) {
                err << "tarvex-cli " << command << ": no day " << *day << " in the log";
                if (days == 0)
                    err << " (it has no days)\n";
                else
                    err << " (days 0 to " << days - 1 << ")\n";
                return false;
            }
            // A log without a day has no nodes: its report is the empty table.
            const int d = day ? *day : days - 1;
            if (d >= 0 && static_cast<std::size_t>(d) < log.DayStats.size()) {
                const auto& nodes = log.DayStats[static_cast<std::size_t>(d)];
                items = std::span<const TNodeStat>(nodes.data(), nodes.size());
            }
            return true;
        },
        out, err);
}

int RunNodeReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::string command = "report node";
    TAnalysisOptions a;
    TReportCliOptions r;
    std::optional<TFidoAddr> addr;
    std::string addrText;
    const TOwnOption takeAddr = [&](const std::vector<std::string>& v, std::size_t& i) {
        if (v[i] != "--addr")
            return TOptionTaken::NotOurs;
        TFidoAddr parsed;
        std::string error;
        if (i + 1 >= v.size() || !TFidoAddr::TryParse(OuterTrimmed(v[i + 1]), parsed, error)) {
            err << "tarvex-cli " << command << ": --addr needs a node address (2:5020/1, 2:5020/1.5@fidonet)\n";
            return TOptionTaken::Error;
        }
        addrText = OuterTrimmed(v[++i]);
        addr = std::move(parsed);
        return TOptionTaken::Taken;
    };
    if (const auto code = TakeReportArgs(args, a, r, command, kNodeOwnUsage, takeAddr, out, err))
        return *code;
    if (!addr) {
        err << "tarvex-cli " << command << ": which node? (--addr ADDRESS)\n" << ReportUsage(command, kNodeOwnUsage);
        return 2;
    }
    const TReportView view{NodeHistColumnNames, NodeHistFileWidths, ViewSuffix(TViewKind::NodeHist),
                           NodeHistDefaultColumns()};
    std::vector<TNodeDay> history;
    return RunReport<TNodeDay>(
        a, r, view, NodeHistColumnFactory(), command, ReportUsage(command, kNodeOwnUsage),
        [&](const TMailerLog& log, TRecordsView<TNodeDay>& items) {
            history = BuildNodeHistory(log, *addr);
            if (history.size() <= 1) {
                err << "tarvex-cli " << command << ": node " << addrText << " does not appear in the log\n";
                return false;
            }
            items = history;
            return true;
        },
        out, err);
}

}  // namespace

int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::vector<std::string> rest = args.empty() ? args : std::vector<std::string>(args.begin() + 1, args.end());
    if (!args.empty() && args[0] == "sessions")
        return RunSessionsReport(rest, out, err);
    if (!args.empty() && args[0] == "dialstat")
        return RunDialStatReport(rest, out, err);
    if (!args.empty() && args[0] == "node")
        return RunNodeReport(rest, out, err);
    const std::string usage = ReportUsage("report sessions", "") + ReportUsage("report dialstat", kDialStatOwnUsage) +
                              ReportUsage("report node", kNodeOwnUsage);
    if (!args.empty() && IsHelpArgument(args[0])) {
        out << usage;
        return 0;
    }
    if (args.empty())
        err << "tarvex-cli report: which report? (sessions, dialstat, node)\n" << usage;
    else
        err << "tarvex-cli report: unknown report '" << args[0] << "' (sessions, dialstat, node)\n" << usage;
    return 2;
}
