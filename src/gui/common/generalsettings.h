#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "base/fontvalue.h"
#include "host/settingsstore.h"
#include "log/coloritems.h"

namespace tarvex {
struct TDlcFormat;
}

// The settings read at start and written at exit that need no screen: section "General", the
// colour values, and the stored form of the log font. The main window draws with them; a program
// without a screen (a fuzzer, a check of a settings file) reads them the same way.

// The application settings of section "General", read at start and written at exit.
struct TAppSettings {
    int NumLogs = 0;
    bool SaveDesktop = false;
    bool ShowDomain = false;
    bool FreqRealName = false;
    bool OEMConvert = false;
    std::uint16_t DayStart = 0;
    std::uint16_t DayEnd = 8;
    std::string DLCLeft = "[";
    std::string DLCRight = "]";
    int DLCDigits = 3;
    std::string DLCLead = "0";
    bool DLCBackup = true;
    int TrafficLine = 1;
    int HistoryLine = 1;
    // The code pages of log text: OEMCodePage when OEMConvert is on, ANSICodePage otherwise.
    std::string OEMCodePage = "IBM866";
    std::string ANSICodePage = "windows-1251";
    // Section "Drives": where each drive letter of mailer paths lives here, one value per
    // letter ("C" = "/srv/fido"), applied to the paths module at start.
    std::map<char, std::string> Drives;
    // Section "Environment": values of the %NAME% a mailer's configuration uses without defining
    // it (the sysop's start-up script sets them), one value per name.
    std::map<std::string, std::string> Environment;

    void Load(const tarvex::ISettingsStore& reg);
    void Save(tarvex::ISettingsStore& reg, int numLogs) const;
    // The code pages in use: the stored names, or IBM866 and windows-1251 for a name no
    // decoder knows (said once on stderr; the stored name is kept as the user wrote it).
    std::string OEMPage() const;
    std::string ANSIPage() const;
    // The code page the viewer shows log text in.
    std::string DisplayCodePage() const { return OEMConvert ? OEMPage() : ANSIPage(); }
    // How the download counters look, from the DLC values.
    tarvex::TDlcFormat DlcFormat() const;
};

// The eleven colour items, as stored values (0x00BBGGRR or system colours).
struct TLogColorValues {
    std::array<std::uint32_t, tarvex::kColorItemCount> Values = Defaults();

    static std::array<std::uint32_t, tarvex::kColorItemCount> Defaults();
    static const char* ValueName(int item);
    // The item's caption in the colour setup dialog ("Normal text", "Date & time", ...).
    static const char* Caption(int item);
    // A value that cannot be read keeps the item's default.
    void Load(const tarvex::ISettingsStore& reg);
    void Save(tarvex::ISettingsStore& reg) const;
};

// The stored "LogFont" of "General" read over the font in use: fields the text leaves out keep
// what v holds.
void LoadLogFontValue(const tarvex::ISettingsStore& reg, tarvex::TFontValue& v);
