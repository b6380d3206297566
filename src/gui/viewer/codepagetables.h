#pragma once
#include <string>
#include <vector>

// A single-byte code page: bytes 0..127 are ASCII, Upper gives the characters of 128..255.
struct CodePageTable
{
    const char* Name;
    std::vector<std::string> Aliases;  // upper case
    const char16_t* Upper;
};

const std::vector<CodePageTable>& SingleByteCodePages();
