#pragma once
#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

// Moves i onto the value that follows the option args[i] and copies it into `into`. When the
// arguments end there instead, says "PREFIX--option needs a value" on err and gives false.
bool TakeOptionValue(const std::vector<std::string>& args, std::size_t& i, std::string& into,
                     const std::string& prefix, std::ostream& err);
