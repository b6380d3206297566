#pragma once
#include <cstdio>
#include <string>
#include <string_view>

namespace tarvex {

// A file written piece by piece that takes its place only when every byte was written: the
// bytes go to a file beside it, which replaces the target on Commit. Until then, and when
// anything fails, the target is left as it was; the file beside it is removed.
class TReplacingFile
{
public:
    TReplacingFile() = default;
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;
    ~TReplacingFile();

    bool Open(const std::string& localPath, std::string& error);
    // False once any write failed; the reason is kept for Commit.
    bool Write(std::string_view bytes);
    bool Commit(std::string& error);

private:
    void Discard();

    std::FILE* File = nullptr;
    std::string Target;
    std::string Temp;
    bool Failed = false;
};

}  // namespace tarvex
