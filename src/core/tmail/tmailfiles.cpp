#include "tmail/tmailfiles.h"

#include <cstdio>
#include <new>

#include "mailercfg/qparser.h"
#include "platform/paths.h"

namespace tarvex {

namespace {

std::string LineFileName(const char* prefix, std::int32_t line)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.2d", line);
    return std::string(prefix) + digits;
}

bool IsAbsoluteMailerPath(std::string_view p)
{
    if (p.size() >= 2 && p[1] == ':')
        return true;
    return !p.empty() && (p[0] == '\\' || p[0] == '/');
}

}  // namespace

std::string TrafficFileName(std::int32_t line) { return LineFileName("t-mail.s", line); }

std::string HistoryFileName(std::int32_t line) { return LineFileName("t-hist.$", line); }

std::string ReadSysPath(std::string_view mailerPath)
{
    std::string sysPath;
    {
        TQParser parser;
        parser.AddStringHandler("Sys_Path", sysPath);
        parser.Parse(JoinMailerPath(mailerPath, "t-mail.ctl"));
    }
    if (!sysPath.empty() && sysPath.back() == '\\')
        sysPath.pop_back();
    if (sysPath.empty())
        return std::string(mailerPath);
    if (!IsAbsoluteMailerPath(sysPath) && !mailerPath.empty()) {
        std::string joined(mailerPath);
        if (joined.back() != '\\' && joined.back() != '/')
            joined += '\\';
        return joined + sysPath;
    }
    return sysPath;
}

std::string SysFilePath(std::string_view sysPath, std::string_view fileName)
{
    std::string p(sysPath);
    if (!p.empty() && p.back() != '\\' && p.back() != '/')
        p += '\\';
    p += fileName;
    return ResolvePath(p);
}

TRecordFileResult ReadRecordFile(std::string_view localPath, std::size_t recordSize, TRecordFile& out)
{
    TRecordFile file;
    try {
        if (!ReadWholeFile(localPath, file.Bytes))
            return TRecordFileResult::CannotOpen;
    } catch (const std::bad_alloc&) {
        return TRecordFileResult::NoMemory;
    } catch (const std::length_error&) {
        return TRecordFileResult::NoMemory;
    }
    file.Count = recordSize == 0 ? 0 : file.Bytes.size() / recordSize;
    file.LeftoverBytes = file.Bytes.size() - file.Count * recordSize;
    file.Bytes.resize(file.Count * recordSize);
    out = std::move(file);
    return TRecordFileResult::Ok;
}

std::string LeftoverText(const TRecordFile& file)
{
    if (file.LeftoverBytes == 0)
        return {};
    return std::to_string(file.LeftoverBytes) + (file.LeftoverBytes == 1 ? " byte" : " bytes") +
           " at the end of the file make no whole record; " + std::to_string(file.Count) +
           (file.Count == 1 ? " record" : " records") + " read";
}

}  // namespace tarvex
