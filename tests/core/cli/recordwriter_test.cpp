#include <gtest/gtest.h>

#include <sstream>

#include "base/datetime.h"
#include "base/fidoaddr.h"
#include "recordwriter.h"

using namespace tarvex;

namespace {

std::string Write(std::size_t blockSize, int records)
{
    std::ostringstream out;
    {
        TRecordWriter w(out, blockSize);
        for (int i = 0; i < records; ++i) {
            w.Begin("rec");
            w.Int(i);
            w.Text("a\tb\\c\r\nd");
            w.End();
        }
    }
    return out.str();
}

}  // namespace

TEST(RecordWriter, FieldsAsTheRecordsAreRead)
{
    SetShowDomain(true);
    std::ostringstream out;
    {
        TRecordWriter w(out);
        w.Begin("x");
        w.Int(0);
        w.Int(-2147483648LL);
        w.Int(4294967296LL);
        w.Hex2(0x0);
        w.Hex2(0xab);
        w.Hex2(0x7);
        w.Date(EncodeDate(2026, 2, 5));
        w.DateTime(EncodeDate(2026, 12, 31) + EncodeTime(23, 59, 59, 0));
        w.DateTime(0);
        w.Addr(TFidoAddr::Parse("2:5030/15.3@fido\\net"));
        w.Addr(TFidoAddr::Parse("65535:0/0"));
        w.Text("");
        w.Text("plain");
        w.Text("tab\there, cr\rlf\nbackslash\\");
        w.End();
    }
    SetShowDomain(false);
    EXPECT_EQ(out.str(), "x\t0\t-2147483648\t4294967296\t00\tab\t07\t2026-02-05\t2026-12-31 23:59:59\t"
                         "1899-12-30 00:00:00\t2:5030/15.3@fido\\\\net\t65535:0/0\t\tplain\t"
                         "tab\\there, cr\\rlf\\nbackslash\\\\\n");
    EXPECT_EQ(EscapeField("a\\b\tc"), "a\\\\b\\tc");
}

TEST(RecordWriter, SmallBlocksWriteTheSameBytes)
{
    const std::string whole = Write(std::size_t(1) << 20, 1000);
    ASSERT_EQ(whole.size(), 1000 * 20u + 890);
    EXPECT_TRUE(Write(1, 1000) == whole);
    EXPECT_TRUE(Write(100, 1000) == whole);
    EXPECT_EQ(Write(100, 0), "");
}

TEST(RecordWriter, RecordsKeptInMemoryGoOutWhole)
{
    const std::string records = Write(std::size_t(1) << 20, 50);
    for (const std::size_t block : {std::size_t(1), std::size_t(100), std::size_t(1) << 20}) {
        std::ostringstream out;
        {
            TRecordWriter held;
            held.Begin("rec");
            held.Int(-7);
            held.End();
            TRecordWriter w(out, block);
            w.Begin("first");
            w.End();
            w.Put(held.Bytes());
            w.Put(records);
        }
        EXPECT_TRUE(out.str() == "first\nrec\t-7\n" + records) << block;
    }
}
