#pragma once
#include <cstddef>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "tmail/tmailfiles.h"

namespace tarvex {

// What the readers of T-Mail's fixed-size record files have in common: walking the whole records
// of the bytes, and loading a file so that a failure leaves the caller's table untouched.

// Appends decode(record) for each whole record of bytes, in file order; returns the number of
// bytes after the last whole one. Never reads past the end of bytes.
template <class Record, class Decode>
std::size_t DecodeRecords(std::string_view bytes, std::size_t recordSize, std::vector<Record>& out, Decode decode)
{
    const std::size_t count = bytes.size() / recordSize;
    out.reserve(out.size() + count);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t k = 0; k < count; ++k, p += recordSize)
        out.push_back(decode(p));
    return bytes.size() - count * recordSize;
}

// Reads the file at localPath and builds its table with tableOf(bytes of the whole records).
// The table is replaced only once it is complete: on failure it is left as it was.
template <class Table, class TableOf>
TRecordFileResult LoadRecordTable(std::string_view localPath, std::size_t recordSize, Table& table, TableOf tableOf)
{
    TRecordFile file;
    const TRecordFileResult r = ReadRecordFile(localPath, recordSize, file);
    if (r != TRecordFileResult::Ok)
        return r;
    try {
        Table t = tableOf(std::string_view(file.Bytes));
        t.LeftoverBytes = file.LeftoverBytes;
        table = std::move(t);
    } catch (const std::bad_alloc&) {
        return TRecordFileResult::NoMemory;
    }
    return TRecordFileResult::Ok;
}

}  // namespace tarvex
