#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "log/logtext.h"
#include "platform/filebytes.h"
#include "testdir.h"

using namespace tarvex;
using tarvex::testing::TTestDir;

namespace {

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

// The analysis reads a log with FileBytes, the viewer with LogText: both must see every byte.
TEST(FileBytes, ReadsWhatLogTextReads)
{
    TTestDir dir("filebytes");
    std::string text;
    for (int i = 0; text.size() < (3u << 20) + 17; ++i)  // several read pieces, an odd tail
        text += "01/02 03:04:05 line " + std::to_string(i) + (i % 7 == 0 ? "\r\n" : "\n") + std::string(1, '\0');
    text += "\xFE no terminator";
    const std::string path = (dir.Path / "t.log").string();
    WriteBytes(path, text);

    FileBytes bytes;
    LogText logText;
    std::string error;
    ASSERT_TRUE(bytes.Load(path, error)) << error;
    ASSERT_TRUE(logText.LoadFile(path, error)) << error;
    EXPECT_EQ(bytes.Bytes(), text);
    EXPECT_EQ(bytes.Bytes(), logText.Bytes());

    WriteBytes(path, "");
    ASSERT_TRUE(bytes.Load(path, error)) << error;
    EXPECT_TRUE(bytes.Bytes().empty());
}

TEST(FileBytes, FailureKeepsTheBytesAndSaysWhy)
{
    TTestDir dir("filebytes");
    const std::string path = (dir.Path / "t.log").string();
    WriteBytes(path, "kept\n");
    FileBytes bytes;
    std::string error;
    ASSERT_TRUE(bytes.Load(path, error)) << error;
    EXPECT_FALSE(bytes.Load((dir.Path / "missing.log").string(), error));
    EXPECT_NE(error.find("Cannot open"), std::string::npos);
    EXPECT_EQ(bytes.Bytes(), "kept\n");
    EXPECT_FALSE(bytes.Load(dir.Path.string(), error));  // a directory
    EXPECT_EQ(bytes.Bytes(), "kept\n");
}
