#include <gtest/gtest.h>

#include "testdir.h"
#include "tmail/history.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;

namespace {

std::vector<std::string> Row(const THistoryRecord& r)
{
    std::vector<std::string> v;
    for (int c = 0; c < kHistoryColumns; ++c)
        v.push_back(HistoryCellText(r, c));
    return v;
}

}  // namespace

TEST(HistoryFile, EdgeRecordsAndTheirCellTexts)
{
    const THistoryTable t = HistoryTableOf(BuildHistoryFile(EdgeHistoryRecords()));
    ASSERT_EQ(t.Records.size(), 6u);
    // Flags 5: incoming and succeeded; 90,061 seconds start at 1:01:01; 255 files of 3,000 bytes.
    EXPECT_EQ(Row(t.Records[0]),
              (std::vector<std::string>{"In OK", "2:5020/52.3", "1:01:01", "1:02:05", "255/2K", "2/1M"}));
    // Flags 0: outgoing, failed; a negative start keeps its sign in the remainder.
    EXPECT_EQ(Row(t.Records[1]), (std::vector<std::string>{"Out", "65535:65535/65535.65535", "-1:01:01",
                                                           "0:00:00", "0/1024", "255/-1"}));
    // Flags 4: outgoing, succeeded.
    EXPECT_EQ(Row(t.Records[2]),
              (std::vector<std::string>{"Out OK", "1:123/456", "0:00:00", "0:00:59", "1/1K", "0/1024K"}));
    EXPECT_EQ(Row(t.Records[3])[0], "In");
    EXPECT_EQ(Row(t.Records[3])[2], "23:59:59");
    EXPECT_EQ(Row(t.Records[3])[3], "-0:00:05");
    // Every flag bit set still reads In OK; the largest values do not overflow.
    EXPECT_EQ(Row(t.Records[4]), (std::vector<std::string>{"In OK", "2:463/68", "3:14:07", "596523:14:07",
                                                           "1/-2147483648", "1/2047M"}));
}

TEST(HistoryFile, EmptyTruncatedAndMissingFiles)
{
    EXPECT_TRUE(HistoryTableOf("").Records.empty());

    tarvex::testing::TTestDir dir("history");
    const std::string path = (dir.Path / "t-hist.$123").string();
    HistoryRecordFields r;
    r.Node = 44;
    WriteFileBytes(path, BuildHistoryFile({r, r}) + std::string(27, '\x05'));
    THistoryTable t;
    ASSERT_EQ(LoadHistoryFile(path, t), TRecordFileResult::Ok);
    EXPECT_EQ(t.Records.size(), 2u);
    EXPECT_EQ(t.LeftoverBytes, 27u);
    EXPECT_EQ(t.Records[1].Node, 44);

    EXPECT_EQ(LoadHistoryFile((dir.Path / "t-hist.$01").string(), t), TRecordFileResult::CannotOpen);
    EXPECT_EQ(t.Records.size(), 2u);
}
