#pragma once
#include <string_view>

namespace tarvex {
// The program's version, shared by both front ends so that they never disagree.
std::string_view Version();
}
