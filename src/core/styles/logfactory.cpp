#include "styles/logfactory.h"

#include <array>
#include <stdexcept>

#include "log/genericstyles.h"
#include "base/logutils.h"
#include "log/mailerlog.h"
#include "parsers/arguslog.h"
#include "parsers/binkplog.h"
#include "parsers/brakelog.h"
#include "parsers/fhmaillog.h"
#include "parsers/sfmaillog.h"
#include "parsers/tmaillog.h"

namespace tarvex {

namespace {

constexpr std::array<const char*, kStyleCount> kStyleNames = {
    "Other", "T-mail", "Generic Bink-style", "Generic FrontDoor", "Brake!", "Bink/+", "FHMail", "SF-Mail", "Argus"};
constexpr std::array<int, kStyleCount> kStyleOfPos = {1, 5, 4, 6, 7, 8, 2, 3, 0};
constexpr std::array<int, kStyleCount> kPosOfStyle = {8, 0, 6, 7, 2, 1, 3, 4, 5};

}  // namespace

std::unique_ptr<TLog> CreateLog(int style)
{
    switch (style) {
    case lsOther: return std::make_unique<TLog>();
    case lsGenericBink: return std::make_unique<TBinkLog>();
    case lsGenericFD: return std::make_unique<TFDLog>();
    case lsTMail: return std::make_unique<TTmailLog>();
    case lsBrake: return std::make_unique<TBrakeLog>();
    case lsBinkPlus: return std::make_unique<TBinkPLog>();
    case lsFHMail: return std::make_unique<TFHMailLog>();
    case lsSFMail: return std::make_unique<TSFMailLog>();
    case lsArgus: return std::make_unique<TArgusLog>();
    default: throw std::invalid_argument("Invalid Log.Style!");
    }
}

bool StyleHasAnalysis(int style) { return style == lsTMail || (style >= lsBrake && style <= lsArgus); }

std::unique_ptr<TLog> LoadLog(int style, const ISettingsStore& reg, std::string_view section)
{
    auto log = CreateLog(style);
    log->Load(reg, section);
    return log;
}

std::string StyleName(int style)
{
    return style >= 0 && style < kStyleCount ? kStyleNames[static_cast<std::size_t>(style)] : "";
}

int StyleOfDialogPos(int pos)
{
    return pos >= 0 && pos < kStyleCount ? kStyleOfPos[static_cast<std::size_t>(pos)] : -1;
}

int DialogPosOfStyle(int style)
{
    return style >= 0 && style < kStyleCount ? kPosOfStyle[static_cast<std::size_t>(style)] : -1;
}

int ParseStyle(std::string_view text)
{
    int n = 0;
    if (TryStrToInt(text, n))
        return n >= 0 && n < kStyleCount ? n : -1;
    for (int s = 0; s < kStyleCount; ++s)
        if (SameText(text, kStyleNames[static_cast<std::size_t>(s)]))
            return s;
    return -1;
}

std::string StyleChoices()
{
    std::string text;
    for (int s = 0; s < kStyleCount; ++s)
        text += (s ? ", " : "") + std::to_string(s) + " " + kStyleNames[static_cast<std::size_t>(s)];
    return text;
}

}  // namespace tarvex
