#pragma once
#include <stdexcept>
#include <string>

namespace tarvex {

// A text that should have been a number, a date or a month name was not. The analysis pass
// turns it into a per-line question to the user; everything else treats it as bad input.
class EConvertError : public std::runtime_error
{
public:
    explicit EConvertError(const std::string& msg) : std::runtime_error(msg) {}
};

// A list or buffer index out of range: raised instead of reading past the end.
class EListError : public std::runtime_error
{
public:
    explicit EListError(const std::string& msg) : std::runtime_error(msg) {}
};

}  // namespace tarvex
