#include "followcommand.h"

#include <chrono>
#include <csignal>
#include <ostream>
#include <thread>

#include "analysisrecords.h"
#include "analysisrun.h"
#include "base/fidoaddr.h"
#include "base/logutils.h"
#include "batchui.h"
#include "optionvalue.h"
#include "platform/followedfile.h"
#include "platform/paths.h"
#include "recordwriter.h"

using namespace tarvex;

namespace {

volatile std::sig_atomic_t StopAsked = 0;

extern "C" void AskToStop(int)
{
    StopAsked = 1;
}

void Usage(std::ostream& to)
{
    to << "usage: tarvex-cli follow --style STYLE [--mailer-path DIR] [--year YYYY] [--show-domain]\n"
          "          [--brake-version 701|703] [--drive L=DIR]... [--env NAME=VALUE]... [--auto-new TEXT]\n"
          "          [--stop-on-error] [--poll-ms N] LOGFILE\n";
}

// Big logs are read and analysed in pieces of this size, so memory holds one piece, not the log.
constexpr std::size_t kPiece = std::size_t{16} << 20;

// The days that began and the sessions that ended since the last settling, in the order of
// their lines.
void WriteGrowth(const TMailerLog& log, const TPassGrowth& g, TRecordWriter& w)
{
    auto day = static_cast<std::int32_t>(g.FirstDay);
    auto sess = static_cast<std::int32_t>(g.FirstSession);
    while (day < log.DayCount || sess < log.SessCount) {
        if (sess >= log.SessCount || (day < log.DayCount && log.Day(day).LineNo <= log.Session(sess).EndLine))
            WriteDayRecord(log, day++, w);
        else
            WriteSessionRecord(log, sess++, w);
    }
}

// Waits a poll's time, in short naps so that a signal is answered soon.
void Nap(int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!StopAsked) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= until)
            return;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(until - now, std::chrono::milliseconds(50)));
    }
}

class TFollowRun
{
public:
    TFollowRun(const TAnalysisOptions& o, TAnalysisRun& run, std::ostream& out, std::ostream& err)
        : O(o), Run(run), Out(out), Err(err), Ui(err, o.StopOnError), W(out)
    {
    }

    int Go(int pollMs)
    {
        std::string error;
        const std::string path = ResolvePath(O.LogFile);
        if (!File.Open(path, error)) {
            Err << "Cannot open log file for analysis\ntarvex-cli follow: " << error << "\n";
            return 2;
        }
        if (!Run.Mailer->BeginPass(Ui))
            return 2;
        int code = 0;
        std::string bytes;
        while (!StopAsked) {
            const TFollowChange change = File.Poll(bytes, error, kPiece);
            if (change == TFollowChange::Nothing) {
                Nap(pollMs);
                continue;
            }
            if (change == TFollowChange::Removed || change == TFollowChange::Failed) {
                Err << "tarvex-cli follow: "
                    << (change == TFollowChange::Removed ? path + ": removed" : error) << "\n";
                code = 1;
                break;
            }
            if (change == TFollowChange::Rewritten || change == TFollowChange::Rotated) {
                W.Begin("restart");
                W.End();
                Run.Log = MakeAnalysisLog(O);
                Run.Mailer = dynamic_cast<TMailerLog*>(Run.Log.get());
                if (!Run.Mailer->BeginPass(Ui)) {
                    Flush();
                    return 2;
                }
            }
            if (!Run.Mailer->FeedPass(Ui, bytes)) {
                code = 1;  // a question answered Cancel
                break;
            }
            if (!File.Behind())
                Settle();
        }
        if (code == 0) {
            // What was written up to the signal is read too, so the last block covers the log
            // as it was then.
            while (File.Poll(bytes, error, kPiece) == TFollowChange::Appended && Run.Mailer->FeedPass(Ui, bytes))
                ;
        }
        Run.Mailer->EndPass(Ui);
        Settle();
        WriteClosingRecords(*Run.Mailer, W);
        Flush();
        return code;
    }

private:
    void Settle()
    {
        WriteGrowth(*Run.Mailer, Run.Mailer->SettlePass(Ui), W);
        Flush();
    }
    void Flush()
    {
        W.Flush();
        Out.flush();
    }

    const TAnalysisOptions& O;
    TAnalysisRun& Run;
    std::ostream& Out;
    std::ostream& Err;
    TBatchUserInterface Ui;
    TRecordWriter W;
    TFollowedFile File;
};

}  // namespace

int RunFollowCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TAnalysisOptions o;
    int pollMs = 250;
    const auto own = [&](const std::vector<std::string>& a, std::size_t& i) {
        if (a[i] != "--poll-ms")
            return TOptionTaken::NotOurs;
        std::string v;
        if (!TakeOptionValue(a, i, v, "tarvex-cli follow: ", err))
            return TOptionTaken::Error;
        if (!TryStrToInt(v, pollMs) || pollMs < 1 || pollMs > 3600000) {
            err << "tarvex-cli follow: bad poll interval '" << v << "' (1 to 3600000 milliseconds)\n";
            return TOptionTaken::Error;
        }
        return TOptionTaken::Taken;
    };
    const bool taken = TakeAnalysisArgs(args, o, "follow", own, err);
    if (taken && o.Help) {
        Usage(out);
        return 0;
    }
    if (!taken || !AnalysisArgsComplete(o, "follow", err) || !MailerPathKnown(o, "follow", err)) {
        Usage(err);
        return 2;
    }
    const bool oldShowDomain = ShowDomain();
    TAnalysisRun run = PrepareAnalysis(o, err, "follow");
    int code = run.Code;
    if (run.Mailer) {
        StopAsked = 0;
        std::signal(SIGINT, AskToStop);
        std::signal(SIGTERM, AskToStop);
        code = TFollowRun(o, run, out, err).Go(pollMs);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
    }
    SetShowDomain(oldShowDomain);
    return code;
}
