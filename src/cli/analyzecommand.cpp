#include "analyzecommand.h"

#include <ostream>

#include "analysisrecords.h"
#include "analysisrun.h"
#include "recordwriter.h"
#include "base/fidoaddr.h"

using namespace tarvex;

namespace {

void Usage(std::ostream& to)
{
    to << "usage: tarvex-cli analyze " << kAnalysisOptionsUsage << "\n";
}

}  // namespace

int RunAnalyzeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TAnalysisOptions o;
    const bool taken = TakeAnalysisArgs(args, o, "analyze", {}, err);
    if (taken && o.Help) {
        Usage(out);
        return 0;
    }
    if (!taken || !AnalysisArgsComplete(o, "analyze", err) || !MailerPathKnown(o, "analyze", err)) {
        Usage(err);
        return 2;
    }
    const bool oldShowDomain = ShowDomain();
    const TAnalysisRun run = RunAnalysis(o, err, "analyze");
    if (run.Code != 2) {
        TRecordWriter w(out);
        WriteAnalysisRecords(*run.Mailer, w);
    }
    // The command may run in-process (tests): leave the address form as it was.
    SetShowDomain(oldShowDomain);
    return run.Code;
}
