#include "common/generalsettings.h"

#include <cctype>
#include <cstdio>
#include <set>

#include "common/colornames.h"
#include "log/dlcupdate.h"
#include "viewer/viewercodec.h"

using tarvex::ISettingsStore;

namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kDrives = "Drives";
constexpr const char* kEnvironment = "Environment";

std::uint16_t Hour(int v, std::uint16_t def) { return v >= 0 && v <= 23 ? static_cast<std::uint16_t>(v) : def; }

std::string KnownCodePage(const std::string& name, const char* value, const char* fallback)
{
    if (ViewerCodec::IsKnown(QString::fromStdString(name)))
        return name;
    static std::set<std::string> warned;
    if (warned.insert(std::string(value) + "=" + name).second)
        std::fprintf(stderr, "tarvex: unknown code page '%s' in %s, using %s\n", name.c_str(), value, fallback);
    return fallback;
}

}  // namespace

std::string TAppSettings::OEMPage() const { return KnownCodePage(OEMCodePage, "OEMCodePage", "IBM866"); }

std::string TAppSettings::ANSIPage() const { return KnownCodePage(ANSICodePage, "ANSICodePage", "windows-1251"); }

void TAppSettings::Load(const ISettingsStore& reg)
{
    NumLogs = reg.ReadInteger(kGeneral, "NumLogs", 0);
    SaveDesktop = reg.ReadBool(kGeneral, "SaveDesktop", false);
    ShowDomain = reg.ReadBool(kGeneral, "ShowDomain", false);
    FreqRealName = reg.ReadBool(kGeneral, "FreqRealName", false);
    OEMConvert = reg.ReadBool(kGeneral, "OEMConvert", false);
    DayStart = Hour(reg.ReadInteger(kGeneral, "DayStart", 0), 0);
    DayEnd = Hour(reg.ReadInteger(kGeneral, "DayEnd", 8), 8);
    DLCLeft = reg.ReadString(kGeneral, "DLCLeft", "[");
    DLCRight = reg.ReadString(kGeneral, "DLCRight", "]");
    DLCDigits = reg.ReadInteger(kGeneral, "DLCDigits", 3);
    DLCLead = reg.ReadString(kGeneral, "DLCLead", "0");
    DLCBackup = reg.ReadBool(kGeneral, "DLCBackup", true);
    TrafficLine = reg.ReadInteger(kGeneral, "TrafficLine", 1);
    HistoryLine = reg.ReadInteger(kGeneral, "HistoryLine", 1);
    OEMCodePage = reg.ReadString(kGeneral, "OEMCodePage", "IBM866");
    ANSICodePage = reg.ReadString(kGeneral, "ANSICodePage", "windows-1251");
    Drives.clear();
    for (const auto& [name, dir] : reg.ReadSection(kDrives)) {
        const auto letter = name.size() == 1 ? static_cast<unsigned char>(name[0]) : 0;
        if (letter < 128 && std::isalpha(letter) && !dir.empty())
            Drives[static_cast<char>(std::toupper(letter))] = dir;
        else
            std::fprintf(stderr, "tarvex: settings section Drives: '%s=%s' is not a drive letter and a folder, ignored\n",
                         name.c_str(), dir.c_str());
    }
    Environment.clear();
    for (const auto& [name, value] : reg.ReadSection(kEnvironment))
        if (!name.empty())
            Environment[name] = value;
}

void TAppSettings::Save(ISettingsStore& reg, int numLogs) const
{
    reg.WriteInteger(kGeneral, "NumLogs", numLogs);
    reg.WriteBool(kGeneral, "SaveDesktop", SaveDesktop);
    reg.WriteBool(kGeneral, "ShowDomain", ShowDomain);
    reg.WriteBool(kGeneral, "FreqRealName", FreqRealName);
    reg.WriteBool(kGeneral, "OEMConvert", OEMConvert);
    reg.WriteInteger(kGeneral, "DayStart", DayStart);
    reg.WriteInteger(kGeneral, "DayEnd", DayEnd);
    reg.WriteString(kGeneral, "DLCLeft", DLCLeft);
    reg.WriteString(kGeneral, "DLCRight", DLCRight);
    reg.WriteInteger(kGeneral, "DLCDigits", DLCDigits);
    reg.WriteString(kGeneral, "DLCLead", DLCLead);
    reg.WriteBool(kGeneral, "DLCBackup", DLCBackup);
    reg.WriteInteger(kGeneral, "TrafficLine", TrafficLine);
    reg.WriteInteger(kGeneral, "HistoryLine", HistoryLine);
    reg.WriteString(kGeneral, "OEMCodePage", OEMCodePage);
    reg.WriteString(kGeneral, "ANSICodePage", ANSICodePage);
    reg.EraseSection(kDrives);
    for (const auto& [letter, dir] : Drives)
        reg.WriteString(kDrives, std::string(1, letter), dir);
    reg.EraseSection(kEnvironment);
    for (const auto& [name, value] : Environment)
        reg.WriteString(kEnvironment, name, value);
}

std::array<std::uint32_t, tarvex::kColorItemCount> TLogColorValues::Defaults()
{
    // clBlack, clBlue, clRed, clGreen, clOlive, clTeal, clSilver, clGreen, clBlue, clFuchsia, clRed
    return {0x000000, 0xFF0000, 0x0000FF, 0x008000, 0x008080, 0x808000, 0xC0C0C0, 0x008000, 0xFF0000, 0xFF00FF, 0x0000FF};
}

const char* TLogColorValues::ValueName(int item)
{
    static const char* const names[tarvex::kColorItemCount] = {"Normal",     "DateTime", "Errors", "Info",
                                                               "Transfers",  "Special",  "Background",
                                                               "TLInc",      "TLOut",    "TLHuman", "TLBad"};
    return item >= 0 && item < tarvex::kColorItemCount ? names[item] : "";
}

const char* TLogColorValues::Caption(int item)
{
    static const char* const captions[tarvex::kColorItemCount] = {
        "Normal text", "Date & time",      "Errors",           "Important info", "File transfers", "Special",
        "Background",  "Incoming session", "Outgoing session", "BBS session",    "Failed session"};
    return item >= 0 && item < tarvex::kColorItemCount ? captions[item] : "";
}

void TLogColorValues::Load(const ISettingsStore& reg)
{
    const auto defaults = Defaults();
    for (int i = 0; i < tarvex::kColorItemCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const std::string text = reg.ReadString("Colors", ValueName(i), ColorToText(defaults[k]));
        std::uint32_t v = 0;
        Values[k] = TextToColor(text, v) ? v : defaults[k];
    }
}

void TLogColorValues::Save(ISettingsStore& reg) const
{
    for (int i = 0; i < tarvex::kColorItemCount; ++i)
        reg.WriteString("Colors", ValueName(i), ColorToText(Values[static_cast<std::size_t>(i)]));
}

void LoadLogFontValue(const ISettingsStore& reg, tarvex::TFontValue& v)
{
    tarvex::ReadFontValue(reg.ReadString("General", "LogFont", ",,,,"), v);
}

tarvex::TDlcFormat TAppSettings::DlcFormat() const
{
    return tarvex::DlcFormatOf(DLCLeft, DLCRight, DLCDigits, DLCLead, DLCBackup);
}
