#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex {

// Where T-Mail keeps the files of its lines, and how their fixed-size records are read.

// "t-mail.s01" for line 1, "t-mail.s12", "t-mail.s123": the line as at least two digits.
std::string TrafficFileName(std::int32_t line);
// "t-hist.$01" for line 1, likewise.
std::string HistoryFileName(std::int32_t line);

// The mailer's system directory: "Sys_Path" of t-mail.ctl in the mailer directory, one trailing
// backslash removed; the mailer directory itself when the keyword is missing or empty. A
// relative Sys_Path is taken from the mailer directory, where the mailer runs. Throws the
// configuration parser's errors (EQParserError when t-mail.ctl cannot be opened).
std::string ReadSysPath(std::string_view mailerPath);

// The local path of a file of the system directory (a mailer path, drive letters and all).
std::string SysFilePath(std::string_view sysPath, std::string_view fileName);

// A file of fixed-size records read whole: the records as bytes and what was left over after
// the last whole one. A record cut short by a mailer still writing, or a damaged file, is never
// read past its end.
struct TRecordFile
{
    std::string Bytes;            // the whole records only
    std::size_t Count = 0;        // number of whole records
    std::size_t LeftoverBytes = 0;
};

enum class TRecordFileResult { Ok, CannotOpen, NoMemory };

TRecordFileResult ReadRecordFile(std::string_view localPath, std::size_t recordSize, TRecordFile& out);

// What a window's status or the command line says about bytes left over; empty when none.
std::string LeftoverText(const TRecordFile& file);

// Little-endian fields of a record, whatever the host's byte order.
inline std::uint16_t RecU16(const unsigned char* p, std::size_t at)
{
    return static_cast<std::uint16_t>(p[at] | (p[at + 1] << 8));
}
inline std::int32_t RecI32(const unsigned char* p, std::size_t at)
{
    const std::uint32_t u = static_cast<std::uint32_t>(p[at]) | (static_cast<std::uint32_t>(p[at + 1]) << 8) |
                            (static_cast<std::uint32_t>(p[at + 2]) << 16) | (static_cast<std::uint32_t>(p[at + 3]) << 24);
    return static_cast<std::int32_t>(u);
}

}  // namespace tarvex
