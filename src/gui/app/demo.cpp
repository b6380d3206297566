#include "app/demo.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "app/qtsettingsstore.h"
#include "arguslog.h"
#include "base/datetime.h"
#include "binkdir.h"
#include "binklog.h"
#include "brakedir.h"
#include "brakelog.h"
#include "fhmaildir.h"
#include "log/mailerlog.h"
#include "log/tlog.h"
#include "fixturenames.h"
#include "prng.h"
#include "report/sesscolumns.h"
#include "sfmaildir.h"
#include "styles/logfactory.h"
#include "tmailfixture.h"
#include "views/viewhost.h"

using namespace tarvex;

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        if (error)
            *error = "Cannot write " + path;
        return false;
    }
    return true;
}

const char* const kNodes[] = {"2:5020/1042", "2:5030/115", "2:463/68", "2:5020/52.7", "1:123/456"};

// A Binkley-style log: "+ 05 Jan 13:04:05 BINK text".
QByteArray BinkSample()
{
    QByteArray out;
    int seq = 0;
    for (int day = 3; day <= 7; ++day) {
        for (int s = 0; s < 6; ++s, ++seq) {
            const int h = 1 + s * 3, m = (seq * 7) % 60;
            auto line = [&](char mark, int sec, const QString& text) {
                out += QString("%1 %2 Jan %3:%4:%5 BINK %6\r\n")
                           .arg(mark)
                           .arg(day, 2, 10, QChar('0'))
                           .arg(h, 2, 10, QChar('0'))
                           .arg(m, 2, 10, QChar('0'))
                           .arg(sec, 2, 10, QChar('0'))
                           .arg(text)
                           .toLatin1();
            };
            const char* node = kNodes[seq % 5];
            line('+', 0, QString("Dialing %1").arg(node));
            if (seq % 4 == 3) {
                line('-', 40, "No Carrier");
                continue;
            }
            line(':', 12, QString("Connect 33600/ARQ/V34/LAPM/V42BIS"));
            line('+', 15, QString("Remote system: %1, The Sample Station").arg(node));
            line('*', 20, QString("Sent file NODEDIFF.A%1 (%2 bytes)").arg(day * 10 + s).arg(12000 + seq * 317));
            line('*', 31, QString("Received mail packet 0000%1.PKT").arg(seq, 4, 10, QChar('0')));
            line('+', 33, "End of session, 2 files, 31 seconds");
        }
    }
    return out;
}

// A FrontDoor-style log: a dashed line opens each run and carries the date.
QByteArray FrontDoorSample()
{
    static const char* const wd[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    QByteArray out;
    int seq = 0;
    for (int day = 3; day <= 7; ++day) {
        for (int run = 0; run < 2; ++run) {
            out += QString("----------  %1 %2 Jan 99, FD 2.26 run %3\r\n").arg(wd[day % 7]).arg(day, 2, 10, QChar('0')).arg(run + 1).toLatin1();
            for (int s = 0; s < 3; ++s, ++seq) {
                const int h = run * 12 + s * 3;
                const QString t = QString("%1:%2").arg(h, 2, 10, QChar('0')).arg((seq * 11) % 60, 2, 10, QChar('0'));
                out += QString("+ %1  Calling %2\r\n").arg(t, kNodes[seq % 5]).toLatin1();
                if (seq % 3 == 2) {
                    out += QString("- %1  No connect\r\n").arg(t).toLatin1();
                    continue;
                }
                out += QString("= %1  Connect 14400\r\n").arg(t).toLatin1();
                out += QString("* %1  Sent ARC0%2.MO1\r\n").arg(t).arg(seq).toLatin1();
                out += QString("+ %1  Session complete\r\n").arg(t).toLatin1();
            }
        }
    }
    return out;
}

// The live station's log as the demo starts: the two days before today, in T-Mail's form.
QByteArray LiveSample(const fixtures::TMailPhrases& phrases)
{
    const QDate start = QDate::currentDate().addDays(-2);
    fixtures::TMailLogOptions o;
    o.Lines = 1200;  // at about 600 a day the last line falls near midnight before today
    o.Seed = 29;
    o.StartYear = start.year();
    o.StartMonth = start.month();
    o.StartDay = start.day();
    o.WithSeparators = false;
    const std::string text = fixtures::BuildTMailLog(o, phrases);
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray OtherSample()
{
    QByteArray out;
    for (int i = 1; i <= 40; ++i)
        out += QString("[%1] tosser: scanned %2 areas, %3 new messages\n").arg(i, 3, 10, QChar('0')).arg(20 + i % 7).arg(i * 3 % 17).toLatin1();
    return out;
}

}  // namespace

QString PrepareDemo(const QString& folder, QString* error)
{
    QDir dir(folder);
    if (dir.exists() && !dir.removeRecursively()) {
        if (error)
            *error = "Cannot clear " + folder;
        return {};
    }
    if (!QDir().mkpath(folder + "/logs")) {
        if (error)
            *error = "Cannot create " + folder;
        return {};
    }
    struct TSample {
        const char* Name;
        int Style;
        const char* File;
        QByteArray Bytes;
        QString MailerDir;
    };
    // The T-Mail station: a whole mailer directory (configuration, language file, request
    // indexes, file areas) and three weeks of its log.
    const QString mailerDir = folder + "/t-mail";
    QByteArray tmailLog, liveLog;
    try {
        fixtures::TMailDirOptions dirOptions;
        fixtures::WriteTMailDir(mailerDir.toStdString(), dirOptions);
        // The T-mail menu's traffic and history windows, for lines 1 and 2.
        fixtures::WriteTMailLineFiles(mailerDir.toStdString(), 1, 60, 16, false);
        fixtures::WriteTMailLineFiles(mailerDir.toStdString(), 2, 25, 17, false);
        fixtures::TMailLogOptions logOptions;
        logOptions.Lines = 12000;
        logOptions.Seed = 7;
        logOptions.StartMonth = 3;
        logOptions.WithSeparators = false;  // each would ask whether to go on past its bad date
        const std::string text = fixtures::BuildTMailLog(logOptions, dirOptions.Phrases);
        tmailLog = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
        liveLog = LiveSample(dirOptions.Phrases);
    } catch (const std::exception& e) {
        if (error)
            *error = QString("Cannot write the T-Mail sample: ") + e.what();
        return {};
    }
    // A Brake! station (the older log format) and a Bink/+ station, each with its mailer
    // directory; their file trees are the T-Mail station's.
    const QString brakeDir = folder + "/brake", binkDir = folder + "/bink";
    QByteArray brakeLog, binkLog;
    try {
        fixtures::TBrakeDirOptions brakeOptions;
        brakeOptions.WriteAreas = false;
        fixtures::WriteBrakeDir(brakeDir.toStdString(), brakeOptions);
        fixtures::TBrakeLogOptions brakeLogOptions;
        brakeLogOptions.Lines = 8000;
        brakeLogOptions.Seed = 11;
        brakeLogOptions.StartMonth = 3;
        brakeLogOptions.WithDamagedLines = false;  // each would ask whether to go on
        const std::string brake = fixtures::BuildBrakeLog(brakeLogOptions);
        brakeLog = QByteArray(brake.data(), static_cast<qsizetype>(brake.size()));

        fixtures::TBinkDirOptions binkOptions;
        binkOptions.WriteAreas = false;
        fixtures::WriteBinkDir(binkDir.toStdString(), binkOptions);
        fixtures::TBinkLogOptions binkLogOptions;
        binkLogOptions.Lines = 8000;
        binkLogOptions.Seed = 13;
        binkLogOptions.StartMonth = 3;
        binkLogOptions.WithDamagedLines = false;
        const std::string bink = fixtures::BuildBinkLog(binkLogOptions, binkOptions.Phrases);
        binkLog = QByteArray(bink.data(), static_cast<qsizetype>(bink.size()));
    } catch (const std::exception& e) {
        if (error)
            *error = QString("Cannot write the Brake! and Bink/+ samples: ") + e.what();
        return {};
    }
    // An FHMail and an SF-Mail station with their mailer directories, and an Argus log, which
    // needs none.
    const QString fhDir = folder + "/fhmail";
    const QString sfDir = folder + "/sf-mail";
    QByteArray fhLog, sfLog, argusLog;
    try {
        fixtures::TFHMailDirOptions fhOptions;
        fhOptions.OnDrive = false;
        fixtures::WriteFHMailDir(fhDir.toStdString(), fhOptions);
        fixtures::TFHMailLogOptions fhLogOptions;
        fhLogOptions.Lines = 8000;
        fhLogOptions.Seed = 17;
        fhLogOptions.StartYear = ProgramStartYear();  // the log writes no year
        fhLogOptions.StartMonth = 3;
        fhLogOptions.WithDamagedLines = false;
        const std::string fh = fixtures::BuildFHMailLog(fhLogOptions, fhOptions.Phrases);
        fhLog = QByteArray(fh.data(), static_cast<qsizetype>(fh.size()));

        const fixtures::TSFMailDirOptions sfOptions;
        fixtures::WriteSFMailDir(sfDir.toStdString(), sfOptions);
        fixtures::TSFMailLogOptions sfLogOptions;
        sfLogOptions.Lines = 8000;
        sfLogOptions.Seed = 23;
        sfLogOptions.StartYear = ProgramStartYear();
        sfLogOptions.StartMonth = 3;
        sfLogOptions.WithDamagedLines = false;
        const std::string sf = fixtures::BuildSFMailLog(sfLogOptions, sfOptions.Phrases);
        sfLog = QByteArray(sf.data(), static_cast<qsizetype>(sf.size()));

        fixtures::TArgusLogOptions argusLogOptions;
        argusLogOptions.Lines = 8000;
        argusLogOptions.Seed = 19;
        argusLogOptions.StartMonth = 3;
        argusLogOptions.WithDamagedLines = false;
        const std::string argus = fixtures::BuildArgusLog(argusLogOptions);
        argusLog = QByteArray(argus.data(), static_cast<qsizetype>(argus.size()));
    } catch (const std::exception& e) {
        if (error)
            *error = QString("Cannot write the FHMail, SF-Mail and Argus samples: ") + e.what();
        return {};
    }
    const TSample samples[] = {
        {"T-Mail station", lsTMail, "t-mail.log", tmailLog, mailerDir},
        {"Brake! station", lsBrake, "brake.log", brakeLog, brakeDir},
        {"Bink/+ station", lsBinkPlus, "binkplus.log", binkLog, binkDir},
        {"FHMail station", lsFHMail, "fhmail.log", fhLog, fhDir},
        {"SF-Mail station", lsSFMail, "sf-mail.log", sfLog, sfDir},
        {"Argus station", lsArgus, "argus.log", argusLog, {}},
        {"Generic Bink-style sample", lsGenericBink, "binkley.log", BinkSample(), {}},
        {"Generic FrontDoor sample", lsGenericFD, "fd.log", FrontDoorSample(), {}},
        {"Tosser log (Other)", lsOther, "tosser.log", OtherSample(), {}},
        {"Live station", lsTMail, "live.log", liveLog, mailerDir},
    };
    const QString ini = folder + "/tarvex-demo.ini";
    {
        TQtSettingsStore reg(ini);
        int n = 0;
        for (const TSample& s : samples) {
            const QString path = folder + "/logs/" + s.File;
            if (!WriteFile(path, s.Bytes, error))
                return {};
            auto log = CreateLog(s.Style);
            log->Name = s.Name;
            log->Path = path.toStdString();
            if (auto* mailer = dynamic_cast<TMailerLog*>(log.get()))
                mailer->MailerPath = s.MailerDir.toStdString();
            log->Save(reg, "Log" + std::to_string(++n));
        }
        reg.WriteInteger("General", "NumLogs", n);
        // The sample's file areas are named on drive C:, which stands for its mailer folder.
        reg.WriteString("Drives", "C", mailerDir.toStdString());
        reg.WriteBool("General", "SaveDesktop", true);
        reg.WriteBool("General", "OEMConvert", true);  // the mailers write in the DOS code page
        reg.WriteInteger("General", "NumChildren", 1);
        reg.WriteString("Child1", "LogName", samples[0].Name);
        reg.WriteInteger("Child1", "Left", 0);
        reg.WriteInteger("Child1", "Top", 0);
        reg.WriteInteger("Child1", "Width", 760);
        reg.WriteInteger("Child1", "Height", 460);
        reg.WriteBool("Child1", "Maximized", false);
        // The T-Mail log's session list: a few columns in reports too, one hub in bold. No screen
        // widths: the user has set none, so they open as wide as the screen's font needs.
        const std::string sessList = ViewSection(samples[0].Name, TViewKind::SessList);
        const int columns[][2] = {{0, 14}, {2, 20}, {3, 24}, {6, 4}, {11, 6}};
        reg.WriteInteger(sessList, "NumColumns", 5);
        for (int i = 0; i < 5; ++i) {
            const std::string p = "Column" + std::to_string(i);
            reg.WriteInteger(sessList, p + ".ColType", columns[i][0]);
            reg.WriteString(sessList, p + ".Heading", SessColumnNames[static_cast<std::size_t>(columns[i][0])]);
            reg.WriteBool(sessList, p + ".ShowFile", true);
            reg.WriteInteger(sessList, p + ".FileWidth", columns[i][1]);
        }
        reg.WriteInteger(sessList, "HighlightCnt", 1);
        reg.WriteString(sessList, "Highlight0", "2:5020/52");
        // The live station opens with its session list, where the sessions arriving show.
        reg.WriteBool(ViewSection("Live station", TViewKind::SessList), "Open", true);
        reg.WriteString("TFrameForm", "NormPos", "80,60,900,660");
        reg.WriteInteger("TFrameForm", "ShowCmd", 1);
    }
    return ini;
}

QString DemoLiveLog(const QString& folder) { return folder + "/logs/live.log"; }

struct TDemoLiveWriter::TState {
    QString Path;
    fixtures::TMailPhrases Phrases;
    fixtures::TMailWorld World = fixtures::DefaultTMailWorld();
    fixtures::SplitMix64 Rng{static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch())};
    int Packet = 0;
    QDateTime Next = QDateTime::currentDateTime();  // the earliest stamp of the next event

    template <class C>
    const auto& Pick(const C& items)
    {
        return items[Rng.Below(static_cast<std::uint32_t>(std::size(items)))];
    }
};

TDemoLiveWriter::TDemoLiveWriter(const QString& folder, QObject* parent)
    : QObject(parent), S(std::make_unique<TState>())
{
    S->Path = DemoLiveLog(folder);
    Timer.setSingleShot(true);
    connect(&Timer, &QTimer::timeout, this, [this] {
        if (WriteEvent())
            Timer.start(1000 + static_cast<int>(S->Rng.Below(1000)));
    });
}

TDemoLiveWriter::~TDemoLiveWriter() = default;

void TDemoLiveWriter::Start() { Timer.start(1000); }

bool TDemoLiveWriter::WriteEvent()
{
    fixtures::TMailLogWriter w(S->Phrases);
    // The clock, or where the last event's stamps ran ahead of it to: times never go back.
    const QDateTime now = std::max(QDateTime::currentDateTime(), S->Next);
    w.SetDate(now.date().year(), now.date().month(), now.date().day());
    w.At(now.time().hour(), now.time().minute(), now.time().second());
    // Mostly within the same second: the stamps keep to the clock's pace, whose event comes
    // every second or two, rather than run ahead of it into a day the analysis would take for
    // one of last year.
    int ticked = 0;
    const auto step = [&] {
        const int n = S->Rng.Percent(15) ? 1 : 0;
        w.Tick(n);
        ticked += n;
    };
    const std::string node(S->Pick(kNodes));
    static constexpr const char* kModems[] = {"CONNECT 33600/V42b", "CONNECT 28800/ARQ", "CONNECT 14400/V42b"};
    if (S->Rng.Percent(25)) {
        w.Dial(node, S->Rng.Percent(50) ? "BUSY" : "NO CARRIER");
    } else {
        const char* modem = S->Pick(kModems);
        const bool inbound = S->Rng.Percent(50);
        if (!inbound) {
            w.Dial(node, modem);
            step();
        }
        w.Connect(inbound, modem);
        step();
        w.Address(node);
        step();
        w.SysOp(std::string(S->Pick(fixtures::kFirstNames)) + " " + std::string(S->Pick(fixtures::kLastNames)));
        step();
        w.System(S->Pick(fixtures::kSystems), S->Pick(fixtures::kPlaces));
        step();
        std::int64_t sent = 0, recd = 0;
        const std::int64_t cps = 900 + S->Rng.Below(2500);
        if (S->Rng.Percent(30) && !S->World.Magics.empty()) {
            const auto& [magic, path] = S->Pick(S->World.Magics);
            w.Freq(magic);
            step();
            const std::int64_t size = 5000 + S->Rng.Below(150000);
            w.Sent(path, true, size, cps);
            sent += size;
            step();
        }
        char name[16];
        std::snprintf(name, sizeof name, "%08X.PKT", static_cast<unsigned>(++S->Packet * 7919));
        const std::int64_t out = 300 + S->Rng.Below(30000), in = 300 + S->Rng.Below(30000);
        w.Sent(S->World.DosRootPath(std::string("OUTBOUND\\") + name), true, out, cps, 'H');
        sent += out;
        step();
        w.Recd(name, true, in, cps);
        recd += in;
        step();
        w.Traffic(recd, sent, cps);
    }
    S->Next = now.addSecs(ticked);
    const std::string text = w.Take();
    QFile f(S->Path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const bool ok = f.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
    f.close();
    return ok;
}
