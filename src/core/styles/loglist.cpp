#include "styles/loglist.h"

#include <limits>
#include <stdexcept>

#include "styles/logfactory.h"
#include "log/mailerlog.h"

namespace tarvex {

void TLogList::Delete(std::size_t i)
{
    if (i < Items.size())
        Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(i));
}

int TLogList::IndexOf(const TLog* log) const
{
    for (std::size_t i = 0; i < Items.size(); ++i)
        if (Items[i].get() == log)
            return static_cast<int>(i);
    return -1;
}

TLog* TLogList::FindLog(std::string_view name) const
{
    for (const auto& l : Items)
        if (l->Name == name)
            return l.get();
    return nullptr;
}

std::string TLogList::MailerPathOfStyle(int style) const
{
    for (const auto& l : Items)
        if (l->Style == style)
            if (const auto* m = dynamic_cast<const TMailerLog*>(l.get()))
                return m->MailerPath;
    return {};
}

TLog* TLogList::ChangeStyle(TLog* log, int newStyle)
{
    const int i = IndexOf(log);
    if (i < 0)
        return nullptr;
    auto fresh = CreateLog(newStyle);
    fresh->Assign(*log);
    Items[static_cast<std::size_t>(i)] = std::move(fresh);
    return Items[static_cast<std::size_t>(i)].get();
}

namespace {

// n for a section named "Log<n>" (n from 1, no leading zero), else 0.
int LogSectionNumber(std::string_view name)
{
    if (name.size() < 4 || name.size() > 13 || name.substr(0, 3) != "Log" || name[3] < '1' || name[3] > '9')
        return 0;
    long long n = 0;
    for (const char c : name.substr(3)) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n <= std::numeric_limits<int>::max() ? static_cast<int>(n) : 0;
}

}  // namespace

void TLogList::Load(const ISettingsStore& reg, IUserInterface& ui)
{
    Items.clear();
    Unreadable.clear();
    // Without a readable NumLogs (a damaged or hand-written file) every Log section there is
    // read, rather than none: saving would otherwise erase them all.
    int n = reg.ReadInteger("General", "NumLogs", -1);
    if (n < 0)
        n = std::numeric_limits<int>::max();
    // Only sections that are there are read: a NumLogs beyond them names no logs, and a huge
    // one must not turn start-up and exit into a long loop.
    HighestSection = 0;
    for (const std::string& name : reg.SectionNames())
        if (const int k = LogSectionNumber(name); k <= n && k > HighestSection)
            HighestSection = k;
    bool reported = false;
    for (int i = 1; i <= HighestSection; ++i) {
        const std::string section = "Log" + std::to_string(i);
        if (!reg.SectionExists(section))
            continue;
        // A Style that is no number at all is as unknown as a number of no style.
        std::string raw;
        const bool unreadableStyle = reg.ReadValue(section, "Style", raw) &&
                                     reg.ReadInteger(section, "Style", 0) != reg.ReadInteger(section, "Style", 1);
        try {
            if (unreadableStyle)
                throw std::invalid_argument("Invalid Log.Style!");
            Items.push_back(LoadLog(reg.ReadInteger(section, "Style", 0), reg, section));
        } catch (const std::invalid_argument& e) {
            Unreadable.push_back(reg.ReadSection(section));
            if (!reported)
                ui.Message(e.what(), TMsgKind::Error, TMsgButtons::OK);
            reported = true;
        }
    }
}

void TLogList::Save(ISettingsStore& reg) const
{
    int n = 0;
    auto nextSection = [&n] { return "Log" + std::to_string(++n); };
    for (const auto& l : Items) {
        const std::string section = nextSection();
        reg.EraseSection(section);
        l->Save(reg, section);
    }
    for (const auto& values : Unreadable) {
        const std::string section = nextSection();
        reg.EraseSection(section);
        for (const auto& [k, v] : values)
            reg.WriteString(section, k, v);
    }
    reg.WriteInteger("General", "NumLogs", n);
    for (int i = n + 1; reg.SectionExists("Log" + std::to_string(i)); ++i)
        reg.EraseSection("Log" + std::to_string(i));
}

}  // namespace tarvex
