#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "base/datetime.h"
#include "base/fidoaddr.h"

// Writes TAB-separated records through one growing buffer that goes out in large blocks: a
// log of two million lines gives close to half a million records, and formatting each field
// into a string of its own cost more than the analysis. The buffer is a plain array filled by
// pointer: checking a string's capacity for every digit was most of the writer's time.
class TRecordWriter
{
public:
    explicit TRecordWriter(std::ostream& out, std::size_t blockSize = std::size_t(1) << 20);
    // Records kept in memory (Bytes) until the owner takes them, for records formatted on
    // another thread and written by the writer that goes to the stream (Put).
    TRecordWriter();
    ~TRecordWriter();
    TRecordWriter(const TRecordWriter&) = delete;
    TRecordWriter& operator=(const TRecordWriter&) = delete;

    // Starts a record with its kind ("day", "session", ...).
    void Begin(std::string_view kind) { Append(kind); }
    void Int(std::int64_t v);
    // Text with TAB, CR, LF and backslash written as \t, \r, \n and \\, so that a field never
    // breaks the line or the columns.
    void Text(std::string_view s);
    void Hex2(unsigned v);                  // two lower-case hex digits at least
    void Date(tarvex::TDateTime t);         // YYYY-MM-DD
    void DateTime(tarvex::TDateTime t);     // YYYY-MM-DD hh:mm:ss
    void Addr(const tarvex::TFidoAddr& a);  // as TFidoAddr::ToString writes it
    void End();
    // Records formatted elsewhere, whole, written after what this writer holds.
    void Put(std::string_view records);
    // Writes what is buffered (nothing for a writer kept in memory); the destructor does it too.
    void Flush();

    std::string_view Bytes() const { return {Data.get(), Len}; }
    void Clear() { Len = 0; }

private:
    // Room for n more bytes; the buffer grows for a record longer than a block.
    char* Room(std::size_t n)
    {
        if (Cap - Len < n)
            Grow(n);
        return Data.get() + Len;
    }
    void Grow(std::size_t n);
    void Append(std::string_view s);
    void Put1(char c) { *Room(1) = c, ++Len; }
    void Tab() { Put1('\t'); }
    void Digits(std::int64_t v, int width);
    void PutDate(std::int64_t days);

    std::ostream* Out = nullptr;
    std::size_t BlockSize;
    std::unique_ptr<char[]> Data;
    std::size_t Len = 0;
    std::size_t Cap = 0;
    // Records of one day follow each other: the last date written is kept formatted.
    std::int64_t CachedDays = INT64_MIN;
    char CachedDate[24] = {};
    std::size_t CachedDateLen = 0;
};

// The escaping of TRecordWriter::Text for a whole string.
std::string EscapeField(std::string_view s);
