#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "base/datetime.h"
#include "base/fidoaddr.h"

// Writes TAB-separated records through one growing buffer that goes out in large blocks: a
// log of two million lines gives close to half a million records, and formatting each field
// into a string of its own cost more than the analysis.
class TRecordWriter
{
public:
    explicit TRecordWriter(std::ostream& out, std::size_t blockSize = std::size_t(1) << 20);
    ~TRecordWriter();
    TRecordWriter(const TRecordWriter&) = delete;
    TRecordWriter& operator=(const TRecordWriter&) = delete;

    // Starts a record with its kind ("day", "session", ...).
    void Begin(std::string_view kind) { Buf.append(kind); }
    void Int(std::int64_t v);
    // Text with TAB, CR, LF and backslash written as \t, \r, \n and \\, so that a field never
    // breaks the line or the columns.
    void Text(std::string_view s);
    void Hex2(unsigned v);                  // two lower-case hex digits at least
    void Date(tarvex::TDateTime t);         // YYYY-MM-DD
    void DateTime(tarvex::TDateTime t);     // YYYY-MM-DD hh:mm:ss
    void Addr(const tarvex::TFidoAddr& a);  // as TFidoAddr::ToString writes it
    void End();
    // Writes what is buffered; the destructor does it too.
    void Flush();

private:
    void Tab() { Buf.push_back('\t'); }
    void Digits(std::int64_t v, int width);

    std::ostream& Out;
    std::size_t BlockSize;
    std::string Buf;
};

// The escaping of TRecordWriter::Text for a whole string.
std::string EscapeField(std::string_view s);
