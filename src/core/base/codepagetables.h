#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// A single-byte code page: bytes 0..127 are ASCII, Upper gives the characters of 128..255.
struct CodePageTable
{
    const char* Name;
    std::vector<std::string> Aliases;  // upper case
    const char16_t* Upper;
};

const std::vector<CodePageTable>& SingleByteCodePages();

// The table of a name or alias (any case, blanks around ignored); null when unknown.
const CodePageTable* FindCodePage(std::string_view name);

}  // namespace tarvex
