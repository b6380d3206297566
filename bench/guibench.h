#pragma once
// What the GUI benchmarks share: a frame that answers every question OK, and the generated
// T-Mail log of a given number of lines opened in a log window of it.
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/childform.h"
#include "app/frameform.h"
#include "log/mailerlog.h"
#include "styles/logfactory.h"
#include "tmailfixture.h"

class TQuietUi : public TQtUserInterface
{
public:
    tarvex::TMsgResult Message(const std::string&, tarvex::TMsgKind, tarvex::TMsgButtons) override
    {
        return tarvex::TMsgResult::OK;
    }
};

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Writes the mailer directory and a log of `lines` lines into dir.
struct TBenchLog {
    std::string MailerDir;
    std::string LogPath;

    TBenchLog(const QTemporaryDir& dir, std::size_t lines)
        : MailerDir(QDir(dir.path()).filePath("t-mail").toStdString()),
          LogPath(QDir(dir.path()).filePath("t-mail.log").toStdString())
    {
        tarvex::fixtures::TMailDirOptions dirOptions;
        tarvex::fixtures::WriteTMailDir(MailerDir, dirOptions);
        tarvex::fixtures::TMailLogOptions logOptions;
        logOptions.Lines = lines;
        logOptions.Seed = 7;
        tarvex::fixtures::WriteFileBytes(LogPath, tarvex::fixtures::BuildTMailLog(logOptions, dirOptions.Phrases));
    }

    // Configures the log as "bench" and opens (cuts nothing, analyses) it.
    TChildForm* Open(TFrameForm& frame) const
    {
        auto log = tarvex::CreateLog(tarvex::lsTMail);
        log->Name = "bench";
        log->Path = LogPath;
        static_cast<tarvex::TMailerLog*>(log.get())->MailerPath = MailerDir;
        tarvex::TLog* raw = log.get();
        frame.AddLogMenuItem(std::move(log));
        frame.OpenLog(raw);
        return frame.WindowOfLog(raw);
    }
};
