#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/settingsstore.h"
#include "host/userinterface.h"
#include "log/tlog.h"

namespace tarvex {

// The configured logs, in settings order (section Log1 first).
class TLogList
{
public:
    std::size_t Count() const { return Items.size(); }
    TLog& operator[](std::size_t i) const { return *Items.at(i); }
    void Add(std::unique_ptr<TLog> log) { Items.push_back(std::move(log)); }
    void Delete(std::size_t i);
    int IndexOf(const TLog* log) const;

    // The first log of that name (case-sensitive), or none.
    TLog* FindLog(std::string_view name) const;
    // MailerPath of the first log of that style; empty when there is none.
    std::string MailerPathOfStyle(int style) const;
    // Replaces the log by a new one of the style carrying its settings; returns the new log.
    TLog* ChangeStyle(TLog* log, int newStyle);

    // Reads NumLogs and those of Log1..LogN that exist (every Log section when NumLogs is
    // missing or unreadable). A section with an unknown style is reported once and kept as it
    // was, so that saving writes it back instead of losing it.
    void Load(const ISettingsStore& reg, IUserInterface& ui);
    // Writes NumLogs, the sections Log1..LogN, and erases stale Log sections after them.
    void Save(ISettingsStore& reg) const;

    std::vector<std::unique_ptr<TLog>> Items;
    std::vector<std::vector<std::pair<std::string, std::string>>> Unreadable;
    // The number of the last Log section that Load found.
    int HighestSection = 0;
};

}  // namespace tarvex
