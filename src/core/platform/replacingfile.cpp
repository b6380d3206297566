#include "platform/replacingfile.h"

#include "platform/fileops.h"

namespace tarvex {

TReplacingFile::~TReplacingFile() { Discard(); }

void TReplacingFile::Discard()
{
    if (File) {
        std::fclose(File);
        File = nullptr;
    }
    if (!Temp.empty()) {
        RemoveFile(Temp);
        Temp.clear();
    }
}

bool TReplacingFile::Open(const std::string& localPath, std::string& error)
{
    Discard();
    Target = localPath;
    Temp = localPath + ".$$$";
    Failed = false;
    File = std::fopen(Temp.c_str(), "wb");
    if (!File) {
        Temp.clear();
        error = "Cannot create " + localPath;
        return false;
    }
    return true;
}

bool TReplacingFile::Write(std::string_view bytes)
{
    if (!File || Failed)
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), File) != bytes.size())
        Failed = true;
    return !Failed;
}

bool TReplacingFile::Commit(std::string& error)
{
    if (!File) {
        error = "Cannot create " + Target;
        return false;
    }
    const bool flushed = std::fflush(File) == 0;
    const bool closed = std::fclose(File) == 0;
    File = nullptr;
    if (Failed || !flushed || !closed) {
        error = "Cannot write " + Target;
        Discard();
        return false;
    }
    if (!RenameFile(Temp, Target, &error)) {
        Discard();
        return false;
    }
    Temp.clear();
    return true;
}

}  // namespace tarvex
