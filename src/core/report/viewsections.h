#pragma once
#include <string>
#include <string_view>

namespace tarvex {

// The views of a log, in the order the log window saves their state and reopens them.
enum class TViewKind { SessList, FreqList, Timeline, DialStat, NodeHist, Overview };
inline constexpr TViewKind kViewKinds[] = {TViewKind::SessList, TViewKind::FreqList, TViewKind::Timeline,
                                           TViewKind::DialStat, TViewKind::NodeHist, TViewKind::Overview};

// The suffix of the settings section where a view of a log keeps its columns, templates and
// place: ".SessList", ".FreqList", ".Timeline", ".DialStat", ".NodeHist", ".Overview". The window
// and the command line's reports read the same sections.
inline std::string_view ViewSuffix(TViewKind kind)
{
    constexpr std::string_view suffixes[] = {".SessList", ".FreqList", ".Timeline", ".DialStat", ".NodeHist",
                                             ".Overview"};
    return suffixes[static_cast<int>(kind)];
}

// The section itself: the log's name and the view's suffix.
inline std::string ViewSection(std::string_view logName, TViewKind kind)
{
    return std::string(logName) + std::string(ViewSuffix(kind));
}

}  // namespace tarvex
