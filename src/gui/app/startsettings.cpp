#include "app/startsettings.h"

#include <limits>

void LoadStartSettings(const tarvex::ISettingsStore& reg, tarvex::IUserInterface& ui, TAppSettings& app,
                       tarvex::TLogList& logs, TLogColorValues& colors)
{
    app.Load(reg);
    logs.Load(reg, ui);
    colors.Load(reg);
}

namespace {

// n for a section named "Child<n>" (n from 1, no leading zero), else 0.
int ChildSectionNumber(std::string_view name)
{
    constexpr std::string_view kChild = "Child";
    if (name.size() <= kChild.size() || name.size() > kChild.size() + 10 || name.substr(0, kChild.size()) != kChild ||
        name[kChild.size()] < '1' || name[kChild.size()] > '9')
        return 0;
    long long n = 0;
    for (const char c : name.substr(kChild.size())) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n <= std::numeric_limits<int>::max() ? static_cast<int>(n) : 0;
}

}  // namespace

std::vector<TDesktopEntry> ReadDesktop(const tarvex::ISettingsStore& reg)
{
    const int count = reg.ReadInteger("General", "NumChildren", 0);
    int last = 0;
    for (const std::string& name : reg.SectionNames())
        if (const int k = ChildSectionNumber(name); k <= count && k > last)
            last = k;
    std::vector<TDesktopEntry> out;
    for (int i = 1; i <= last; ++i) {
        const std::string section = "Child" + std::to_string(i);
        TDesktopEntry e;
        e.LogName = reg.ReadString(section, "LogName", "");
        e.Left = reg.ReadInteger(section, "Left", 0);
        e.Top = reg.ReadInteger(section, "Top", 0);
        e.Height = reg.ReadInteger(section, "Height", 0);
        e.Width = reg.ReadInteger(section, "Width", 0);
        e.Maximized = reg.ReadBool(section, "Maximized", false);
        out.push_back(std::move(e));
    }
    return out;
}
