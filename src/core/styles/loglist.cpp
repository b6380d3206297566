#include "styles/loglist.h"

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

void TLogList::Load(const ISettingsStore& reg, IUserInterface& ui)
{
    Items.clear();
    Unreadable.clear();
    const int n = reg.ReadInteger("General", "NumLogs", 0);
    bool reported = false;
    for (int i = 1; i <= n; ++i) {
        const std::string section = "Log" + std::to_string(i);
        const int style = reg.ReadInteger(section, "Style", 0);
        try {
            Items.push_back(LoadLog(style, reg, section));
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
