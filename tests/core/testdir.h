#pragma once
// A scratch folder of the running test, empty at the start and removed at the end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace tarvex::testing {

class TTestDir
{
public:
    explicit TTestDir(const std::string& prefix)
        : Path(std::filesystem::path(::testing::TempDir()) /
               (prefix + "_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
    }
    ~TTestDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    TTestDir(const TTestDir&) = delete;
    TTestDir& operator=(const TTestDir&) = delete;

    const std::filesystem::path Path;
};

}  // namespace tarvex::testing
