#include "views/viewhost.h"

std::string ViewSection(std::string_view logName, TViewKind kind)
{
    static constexpr const char* kSuffixes[] = {".SessList", ".FreqList", ".Timeline", ".DialStat"};
    return std::string(logName) + kSuffixes[static_cast<int>(kind)];
}
