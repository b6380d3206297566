// The settings store reading an arbitrary INI file: the bytes become the settings file, opened
// through the store the program keeps its settings in, and everything the program reads from it
// when it starts is read: section "General", every Log section through the style factory,
// the colours, the log font and the saved desktop. Then what the program writes back at exit
// is written to a store in memory and read once more: no log may be lost on the way.
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/qtsettingsstore.h"
#include "app/startsettings.h"
#include "base/fontvalue.h"
#include "fuzzsupport.h"

using namespace tarvex;

namespace {

// The number of logs a settings file gives, whether we can read their style or not.
std::size_t LogsKept(const TLogList& logs) { return logs.Count() + logs.Unreadable.size(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A file of its own every time: the settings library keeps what it read of a file by name.
    static unsigned long long run = 0;
    const std::string path = fuzz::ScratchDir("settings_ini") + "/settings" + std::to_string(++run) + ".ini";
    if (!fuzz::WriteScratchFile(path, fuzz::AsText(data, size)))
        std::abort();

    TAppSettings app;
    TLogList logs;
    TLogColorValues colors;
    TScriptedUserInterface ui;
    {
        const TQtSettingsStore store(QString::fromStdString(path));
        LoadStartSettings(store, ui, app, logs, colors);
        TFontValue font;
        LoadLogFontValue(store, font);
        for (const TDesktopEntry& e : ReadDesktop(store))
            (void)logs.FindLog(e.LogName);
        for (const std::string& name : store.SectionNames())
            (void)store.ReadSection(name);
    }
    std::remove(path.c_str());

    TMemorySettings back;
    app.Save(back, static_cast<int>(logs.Count()));
    logs.Save(back);
    colors.Save(back);
    TAppSettings app2;
    TLogList logs2;
    TLogColorValues colors2;
    TScriptedUserInterface ui2;
    LoadStartSettings(back, ui2, app2, logs2, colors2);
    if (LogsKept(logs2) != LogsKept(logs) || colors2.Values != colors.Values)
        std::abort();  // a log or a colour lost between reading and writing back
    for (std::size_t i = 0; i < logs.Count(); ++i)
        if (logs2[i].Name != logs[i].Name || logs2[i].Path != logs[i].Path || logs2[i].Style != logs[i].Style)
            std::abort();
    return 0;
}
