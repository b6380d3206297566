#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/bigbuffer.h"

namespace tarvex {

// A whole file's bytes, read once for a pass over them: no line index, no editing. Read the
// way LogText reads a log (plain reads while the mailer may append), so both see the same bytes.
class FileBytes
{
public:
    // On failure the present bytes stay and error tells why.
    bool Load(const std::string& path, std::string& error);
    std::string_view Bytes() const { return {Buf.Data(), Size}; }

private:
    BigBuffer Buf;
    std::size_t Size = 0;
};

}  // namespace tarvex
