#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "testdir.h"
#include "tmail/traffic.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;

namespace {

std::vector<std::string> Row(const TTrafficEntry& e)
{
    std::vector<std::string> r;
    for (int c = 0; c < kTrafficColumns; ++c)
        r.push_back(TrafficCellText(e, c));
    return r;
}

std::vector<std::string> TotalRow(const TTrafficTotals& t)
{
    std::vector<std::string> r;
    for (int c = 0; c < kTrafficColumns; ++c)
        r.push_back(TrafficTotalText(t, c));
    return r;
}

TrafficRecordFields Node(std::uint16_t node, std::uint16_t out1 = 0, std::uint16_t in1 = 0, std::int32_t recd = 0,
                       std::int32_t sent = 0)
{
    TrafficRecordFields r;
    r.Node = node;
    r.OutSess1 = out1;
    r.InSess1 = in1;
    r.BytesRecd = recd;
    r.BytesSent = sent;
    return r;
}

std::vector<std::uint16_t> Nodes(const std::vector<TTrafficEntry>& v)
{
    std::vector<std::uint16_t> n;
    for (const TTrafficEntry& e : v)
        n.push_back(e.Node);
    return n;
}

}  // namespace

TEST(TrafficFile, NamesOfOneTwoAndThreeDigitLines)
{
    EXPECT_EQ(TrafficFileName(1), "t-mail.s01");
    EXPECT_EQ(TrafficFileName(12), "t-mail.s12");
    EXPECT_EQ(TrafficFileName(123), "t-mail.s123");
    EXPECT_EQ(HistoryFileName(2), "t-hist.$02");
    EXPECT_EQ(HistoryFileName(123), "t-hist.$123");
}

TEST(TrafficFile, EmptyFileGivesOnlyAZeroTotalRow)
{
    const TTrafficTable t = TrafficTableOf("");
    EXPECT_TRUE(t.Entries.empty());
    EXPECT_EQ(t.LeftoverBytes, 0u);
    EXPECT_EQ(TotalRow(t.Totals),
              (std::vector<std::string>{"Total", "0/0", "0/0", "0:00:00", "0:00:00", "0/0", "0/0"}));
}

TEST(TrafficFile, EdgeRecordsReadLittleEndianAndShownAsCellTexts)
{
    const TTrafficTable t = TrafficTableOf(BuildTrafficFile(EdgeTrafficRecords()));
    ASSERT_EQ(t.Entries.size(), 5u);
    // Point 3 ends the address in ".3"; 2,000 bytes are 1K, 1,048,576 are 1024K.
    EXPECT_EQ(Row(t.Entries[0]),
              (std::vector<std::string>{"2:5020/52.3", "12/1024K", "3/1K", "0:00:59", "1:02:05", "4/1", "2/0"}));
    // Every 16-bit field at 65535; 1,048,577 bytes are 1M.
    EXPECT_EQ(Row(t.Entries[1]), (std::vector<std::string>{"65535:65535/65535.65535", "65535/1K", "65535/1M",
                                                           "25:01:01", "596523:14:07", "65535/65535", "65535/65535"}));
    // Negative 32-bit values are shown with their sign; point 0 leaves the point out.
    EXPECT_EQ(Row(t.Entries[2]), (std::vector<std::string>{"1:123/456", "1/-2147483648", "0/-1", "-1:02:05",
                                                           "-0:00:59", "0/0", "1/1"}));
    EXPECT_EQ(Row(t.Entries[3])[0], "2:5020/52");
    EXPECT_EQ(Row(t.Entries[3])[2], "0/1024");
}

TEST(TrafficFile, TotalsAreFullWidthSums)
{
    std::vector<TrafficRecordFields> recs(2);
    for (auto& r : recs) {
        r.FilesSent = 65535;
        r.OutSess1 = 65535;
        r.BytesRecd = 2147483647;
        r.InTime = 2147483647;
    }
    const TTrafficTable t = TrafficTableOf(BuildTrafficFile(recs));
    EXPECT_EQ(t.Totals.FilesSent, 131070);
    EXPECT_EQ(t.Totals.OutSess1, 131070);
    EXPECT_EQ(t.Totals.BytesRecd, 4294967294);
    EXPECT_EQ(TrafficTotalText(t.Totals, static_cast<int>(TTrafficColumn::Sent)), "131070/0");
    EXPECT_EQ(TrafficTotalText(t.Totals, static_cast<int>(TTrafficColumn::Recd)), "0/4095M");
    EXPECT_EQ(TrafficTotalText(t.Totals, static_cast<int>(TTrafficColumn::OutSess)), "131070/0");
}

TEST(TrafficFile, TruncatedLastRecordIsLeftOverNeverRead)
{
    std::string bytes = BuildTrafficFile({Node(1), Node(2)});
    bytes += std::string(52, '\x7f');
    const TTrafficTable t = TrafficTableOf(bytes);
    EXPECT_EQ(Nodes(t.Entries), (std::vector<std::uint16_t>{1, 2}));
    EXPECT_EQ(t.LeftoverBytes, 52u);

    // Shorter than one record: nothing but left-over bytes.
    const TTrafficTable shortFile = TrafficTableOf(std::string(103, '\x01'));
    EXPECT_TRUE(shortFile.Entries.empty());
    EXPECT_EQ(shortFile.LeftoverBytes, 103u);
}

TEST(TrafficFile, LoadsFromDiskAndKeepsTheTableWhenTheFileIsMissing)
{
    tarvex::testing::TTestDir dir("traffic");
    const std::string path = (dir.Path / "t-mail.s01").string();
    WriteFileBytes(path, BuildTrafficFile({Node(7), Node(8)}) + "xyz");
    TTrafficTable t;
    ASSERT_EQ(LoadTrafficFile(path, t), TRecordFileResult::Ok);
    EXPECT_EQ(Nodes(t.Entries), (std::vector<std::uint16_t>{7, 8}));
    EXPECT_EQ(t.LeftoverBytes, 3u);

    EXPECT_EQ(LoadTrafficFile((dir.Path / "t-mail.s02").string(), t), TRecordFileResult::CannotOpen);
    EXPECT_EQ(LoadTrafficFile(dir.Path.string(), t), TRecordFileResult::CannotOpen);  // a directory
    EXPECT_EQ(Nodes(t.Entries), (std::vector<std::uint16_t>{7, 8}));

    TRecordFile raw;
    ASSERT_EQ(ReadRecordFile(path, kTrafficRecordSize, raw), TRecordFileResult::Ok);
    EXPECT_EQ(LeftoverText(raw), "3 bytes at the end of the file make no whole record; 2 records read");
}

TEST(TrafficSort, AddressAscendingThenUnsortedKeepsThatOrder)
{
    std::vector<TrafficRecordFields> recs = {Node(5), Node(3), Node(9), Node(3), Node(1)};
    recs[1].Point = 2;  // 2:5020/3.2 after 2:5020/3
    recs[4].Zone = 1;   // 1:5020/1 first
    recs[2].Net = 100;  // 2:100/9 before the 2:5020 nodes
    TTrafficTable t = TrafficTableOf(BuildTrafficFile(recs));
    SortTraffic(t.Entries, TTrafficSort::Address);
    std::vector<std::string> shown;
    for (const auto& e : t.Entries)
        shown.push_back(Row(e)[0]);
    EXPECT_EQ(shown, (std::vector<std::string>{"1:5020/1", "2:100/9", "2:5020/3", "2:5020/3.2", "2:5020/5"}));
    SortTraffic(t.Entries, TTrafficSort::Unsorted);
    EXPECT_EQ(Nodes(t.Entries), (std::vector<std::uint16_t>{1, 9, 3, 3, 5}));
    EXPECT_EQ(t.Entries[3].Point, 2);
}

TEST(TrafficSort, SessionsAndTrafficDescendingTiesKeepThePresentOrder)
{
    // Sessions are first outgoing + first incoming counter; the second counters do not count.
    std::vector<TrafficRecordFields> recs = {Node(1, 1, 1), Node(2, 5, 0), Node(3, 0, 2), Node(4, 2, 3),
                                           Node(5, 0, 0), Node(6, 65535, 65535), Node(7, 2, 0)};
    recs[4].OutSess2 = 60000;
    TTrafficTable t = TrafficTableOf(BuildTrafficFile(recs));
    SortTraffic(t.Entries, TTrafficSort::Sessions);
    // Nodes 1, 3 and 7 all have 2: they stay in file order.
    EXPECT_EQ(Nodes(t.Entries), (std::vector<std::uint16_t>{6, 2, 4, 1, 3, 7, 5}));
    // Sorting again from that order keeps ties where they now stand.
    SortTraffic(t.Entries, TTrafficSort::Address);
    std::reverse(t.Entries.begin(), t.Entries.end());
    SortTraffic(t.Entries, TTrafficSort::Sessions);
    EXPECT_EQ(Nodes(t.Entries), (std::vector<std::uint16_t>{6, 4, 2, 7, 3, 1, 5}));

    // Traffic is bytes received + sent in full width: two near-maximal values do not wrap.
    recs = {Node(1, 0, 0, 100, 0), Node(2, 0, 0, 2147483647, 2147483647), Node(3, 0, 0, 0, 100),
            Node(4, 0, 0, -5, 0), Node(5, 0, 0, 50, 50), Node(6, 0, 0, 1048576, 1)};
    t = TrafficTableOf(BuildTrafficFile(recs));
    SortTraffic(t.Entries, TTrafficSort::Traffic);
    EXPECT_EQ(Nodes(t.Entries), (std::vector<std::uint16_t>{2, 6, 1, 3, 5, 4}));
}

TEST(TrafficSort, HundredThousandRecordsLoadAndSort)
{
    const std::string bytes = BuildTrafficFile(RandomTrafficRecords(100000, 5));
    TTrafficTable t = TrafficTableOf(bytes);
    ASSERT_EQ(t.Entries.size(), 100000u);
    SortTraffic(t.Entries, TTrafficSort::Traffic);
    EXPECT_TRUE(std::is_sorted(t.Entries.begin(), t.Entries.end(), [](const auto& a, const auto& b) {
        return std::int64_t{a.BytesRecd} + a.BytesSent > std::int64_t{b.BytesRecd} + b.BytesSent;
    }));
    SortTraffic(t.Entries, TTrafficSort::Address);
    EXPECT_TRUE(std::is_sorted(t.Entries.begin(), t.Entries.end(), [](const auto& a, const auto& b) {
        return std::tie(a.Zone, a.Net, a.Node, a.Point) < std::tie(b.Zone, b.Net, b.Node, b.Point);
    }));
}

TEST(TrafficReport, ThreeNodesLineByLine)
{
    std::vector<TrafficRecordFields> recs(3);
    recs[0] = {2, 5020, 1042, 0, 600, 3725, 2000, 1048577, 3, 12, 4, 1, 2, 0};
    recs[1] = {2, 463, 68, 3, 59, 0, 0, 1024, 0, 1, 0, 0, 1, 1};
    recs[2] = {1, 123, 456, 0, 0, 90061, 1048576, 100, 1, 2, 10, 9, 0, 0};
    const TTrafficTable t = TrafficTableOf(BuildTrafficFile(recs));
    const std::string when = "08.12.2026 22:45:00";
    const std::string report = TrafficReport(t.Entries, t.Totals, &when);
    EXPECT_EQ(report,
              "\r\n"
              "                 Sent      Recd         Time           Sessions\r\n"
              " Address        Fil/Byt   Fil/Byt    Out      In      Out     In\r\n"
              "\r\n"
              "2:5020/1042    12/1M     3/1K      1:02:05  0:10:00  4/1     2/0    \r\n"
              "2:463/68.3     1/1024    0/0       0:00:00  0:00:59  0/0     1/1    \r\n"
              "1:123/456      2/100     1/1024K   25:01:01 0:00:00  10/9    0/0    \r\n"
              "----------------------------------------------------------------\r\n"
              "Total          15/1M     4/1M      26:03:06 0:10:59  14/10   3/1    \r\n"
              "\r\n"
              " * Traffic report created by Tarvex beta 4 at 08.12.2026 22:45:00\r\n");
    // Without a signature everything before that last line stays.
    const std::string unsigned_ = TrafficReport(t.Entries, t.Totals, nullptr);
    EXPECT_EQ(unsigned_, report.substr(0, report.rfind(" * Traffic")));
}

TEST(TrafficReport, LongTextsAreNotCut)
{
    const TTrafficTable t = TrafficTableOf(BuildTrafficFile({EdgeTrafficRecords()[1]}));
    const std::string report = TrafficReport(t.Entries, t.Totals, nullptr);
    EXPECT_NE(report.find("\r\n65535:65535/65535.65535 65535/1K  65535/1M  25:01:01 596523:14:07 "
                          "65535/65535 65535/65535\r\n"),
              std::string::npos)
        << report;
}
