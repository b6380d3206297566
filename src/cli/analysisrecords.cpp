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

namespace {

// Records [0, count) written in order, formatted on two threads when there are many: a second
// thread formats every other block while this one formats the block before, and the blocks go
// out in order. Formatting is a third of the command's time on a big log. Reading the records
// from two threads is safe: the pass is over. write(from, to, writer) formats [from, to).
template <class Write>
void WriteInBlocks(std::size_t count, std::size_t block, TRecordWriter& w, const Write& write)
{
    if (count < 2 * block || std::thread::hardware_concurrency() < 2) {
        write(std::size_t{0}, count, w);
        return;
    }
    TRecordWriter second;
    for (std::size_t from = 0; from < count; from += 2 * block) {
        const std::size_t mid = std::min(count, from + block);
        const std::size_t to = std::min(count, mid + block);
        second.Clear();
        std::thread helper([&write, &second, mid, to] { write(mid, to, second); });
        write(from, mid, w);
        helper.join();
        w.Put(second.Bytes());
    }
}

void WriteNodeRecords(const TMailerLog& log, std::size_t fromDay, std::size_t toDay, TRecordWriter& w)
{
    for (auto d = static_cast<std::int32_t>(fromDay); d < static_cast<std::int32_t>(toDay); ++d)
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
}

void WriteFreqRecords(const TMailerLog& log, std::size_t from, std::size_t to, TRecordWriter& w)
{
    for (std::size_t i = from; i < to; ++i) {
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
}

// Blocks of about 8192 records: big enough that starting a thread costs nothing beside them,
// small enough that the second thread's block held in memory stays a megabyte or two.
constexpr std::size_t Block = 8192;

void WriteClosing(const TMailerLog& log, TRecordWriter& w, bool inBlocks)
{
    const auto days = static_cast<std::size_t>(std::max(log.DayCount, 0));
    const auto nodes = [&log](std::size_t from, std::size_t to, TRecordWriter& into) {
        WriteNodeRecords(log, from, to, into);
    };
    const auto freqs = [&log](std::size_t from, std::size_t to, TRecordWriter& into) {
        WriteFreqRecords(log, from, to, into);
    };
    if (inBlocks) {
        // A day holds some tens of nodes: blocks of days of about a block of nodes.
        std::size_t nodeCount = 0;
        for (std::int32_t d = 0; d < log.DayCount; ++d)
            nodeCount += static_cast<std::size_t>(log.NodeCount(d));
        WriteInBlocks(days, std::max<std::size_t>(1, Block * days / std::max<std::size_t>(nodeCount, 1)), w, nodes);
        WriteInBlocks(log.Freqs.size(), Block, w, freqs);
    } else {
        nodes(0, days, w);
        freqs(0, log.Freqs.size(), w);
    }
    w.Begin("total");
    w.Int(log.LinesRead);
    w.Int(log.DayCount);
    w.Int(log.SessCount);
    w.Int(static_cast<std::int64_t>(log.Freqs.size()));
    w.End();
}

}  // namespace

void WriteClosingRecords(const TMailerLog& log, TRecordWriter& w) { WriteClosing(log, w, false); }

void WriteAnalysisRecords(const TMailerLog& log, TRecordWriter& w)
{
    for (std::int32_t i = 0; i < log.DayCount; ++i)
        WriteDayRecord(log, i, w);
    WriteInBlocks(static_cast<std::size_t>(std::max(log.SessCount, 0)), Block, w,
                  [&log](std::size_t from, std::size_t to, TRecordWriter& into) {
                      for (std::size_t i = from; i < to; ++i)
                          WriteSessionRecord(log, static_cast<std::int32_t>(i), into);
                  });
    WriteClosing(log, w, true);
}
