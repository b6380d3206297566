#include "analysisrecords.h"

#include <algorithm>
#include <thread>

using namespace tarvex;

void WriteDayRecord(const TMailerLog& log, std::int32_t i, TRecordWriter& w)
{
    w.Begin("day");
    w.Int(i);
    w.Int(log.Day(i).LineNo);
    w.Date(log.Day(i).Date);
    w.End();
}

void WriteSessionRecord(const TMailerLog& log, std::int32_t i, TRecordWriter& w)
{
    const TSess& s = log.Session(i);
    w.Begin("session");
    w.Int(i);
    w.Int(s.StartLine);
    w.Int(s.EndLine);
    w.DateTime(s.StartTime);
    w.DateTime(s.EndTime);
    w.Hex2(s.Flags);
    if (s.Addr)
        w.Addr(*s.Addr);
    else
        w.Text({});
    w.Text(s.System);
    w.Text(s.SysOp);
    w.Int(s.FilesSent);
    w.Int(s.FilesRecd);
    w.Int(s.BytesSent);
    w.Int(s.BytesRecd);
    w.Int(s.CPS);
    w.End();
}

void WriteClosingRecords(const TMailerLog& log, TRecordWriter& w)
{
    for (std::int32_t d = 0; d < log.DayCount; ++d)
        for (std::int32_t i = 0; i < log.NodeCount(d); ++i) {
            const TNodeStat& n = log.Node(d, i);
            w.Begin("node");
            w.Int(d);
            w.Addr(n.Addr);
            w.Int(n.Tries);
            w.Int(n.Busy);
            w.Int(n.NoCarrier);
            w.Int(n.OutSess);
            w.Int(n.InSess);
            w.Int(n.BytesSent);
            w.Int(n.BytesRecd);
            w.Int(n.Seconds);
            w.Int(n.CPS);
            w.End();
        }
    for (std::size_t i = 0; i < log.Freqs.size(); ++i) {
        const TFreqEntry& e = log.Freqs[i];
        w.Begin("freq");
        w.Int(static_cast<std::int64_t>(i));
        w.Text(e.Request);
        w.Text(e.Freq.Name);
        w.Addr(e.Freq.Addr);
        w.Int(e.Freq.Sent ? 1 : 0);
        w.Int(e.Freq.LineNo);
        w.Text(e.Freq.FilePath);
        w.Int(e.Freq.IsNew ? 1 : 0);
        w.End();
    }
    w.Begin("total");
    w.Int(log.LinesRead);
    w.Int(log.DayCount);
    w.Int(log.SessCount);
    w.Int(static_cast<std::int64_t>(log.Freqs.size()));
    w.End();
}

void WriteAnalysisRecords(const TMailerLog& log, TRecordWriter& w)
{
    for (std::int32_t i = 0; i < log.DayCount; ++i)
        WriteDayRecord(log, i, w);
    // Formatting the sessions is a third of the command's time on a big log: a second thread
    // formats every other block of them while this one formats the block before, and the
    // blocks go out in order. Reading the records from two threads is safe: the pass is over.
    constexpr std::int32_t Block = 8192;
    const std::int32_t count = log.SessCount;
    if (count < 2 * Block || std::thread::hardware_concurrency() < 2) {
        for (std::int32_t i = 0; i < count; ++i)
            WriteSessionRecord(log, i, w);
    } else {
        TRecordWriter second;
        for (std::int32_t from = 0; from < count; from += 2 * Block) {
            const std::int32_t mid = std::min(count, from + Block);
            const std::int32_t to = std::min(count, mid + Block);
            second.Clear();
            std::thread helper([&log, &second, mid, to] {
                for (std::int32_t i = mid; i < to; ++i)
                    WriteSessionRecord(log, i, second);
            });
            for (std::int32_t i = from; i < mid; ++i)
                WriteSessionRecord(log, i, w);
            helper.join();
            w.Put(second.Bytes());
        }
    }
    WriteClosingRecords(log, w);
}
