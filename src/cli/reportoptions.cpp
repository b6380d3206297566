#include "reportoptions.h"

#include <ostream>

#include "platform/codepage.h"
#include "base/logutils.h"
#include "host/qtinisettings.h"
#include "optionvalue.h"
#include "platform/filebytes.h"

using namespace tarvex;

const char* const kReportOptionsUsage =
    "[--columns LIST] [--header FILE] [--footer FILE]\n"
    "          [--settings FILE --log NAME] [--utf8 [--code-page NAME]] [--output FILE]";

TOptionTaken TakeReportOption(const std::vector<std::string>& args, std::size_t& i, TReportCliOptions& o,
                              const std::string& command, std::ostream& err)
{
    const std::string& a = args[i];
    const std::string prefix = "tarvex-cli " + command + ": ";
    auto value = [&](std::string& into) { return TakeOptionValue(args, i, into, prefix, err); };
    bool ok = true;
    if (a == "--columns") {
        ok = value(o.Columns);
        o.ColumnsGiven = true;
    } else if (a == "--header") {
        ok = value(o.Header);
        o.HeaderGiven = true;
    } else if (a == "--footer") {
        ok = value(o.Footer);
        o.FooterGiven = true;
    } else if (a == "--settings") {
        ok = value(o.SettingsFile);
    } else if (a == "--log") {
        ok = value(o.LogName);
    } else if (a == "--output") {
        ok = value(o.Output);
    } else if (a == "--utf8") {
        o.Utf8 = true;
    } else if (a == "--code-page") {
        ok = value(o.CodePage);
        std::string error;
        if (ok && !FindCodePage(o.CodePage, &error)) {
            err << prefix << error << "\n";
            ok = false;
        }
    } else {
        return TOptionTaken::NotOurs;
    }
    return ok ? TOptionTaken::Taken : TOptionTaken::Error;
}

bool ParseColumnSpecs(std::string_view list, std::span<const char* const> names, std::vector<TColumnSpec>& specs,
                      const std::string& command, std::ostream& err)
{
    const std::string prefix = "tarvex-cli " + command + ": ";
    std::size_t pos = 0;
    while (true) {
        const std::size_t comma = list.find(',', pos);
        const std::string_view entry = list.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos);
        const std::size_t colon = entry.rfind(':');
        const std::string_view name = OuterTrimmed(entry.substr(0, colon));
        TColumnSpec spec;
        spec.Type = -1;
        for (std::size_t t = 0; t < names.size(); ++t)
            if (SameText(name, names[t]))
                spec.Type = static_cast<int>(t);
        if (spec.Type < 0) {
            err << prefix << "unknown column '" << name << "' (";
            for (std::size_t t = 0; t < names.size(); ++t)
                err << (t ? ", " : "") << names[t];
            err << ")\n";
            return false;
        }
        if (colon != std::string_view::npos) {
            const std::string_view w = OuterTrimmed(entry.substr(colon + 1));
            if (!TryStrToInt(w, spec.Width) || spec.Width < 1 || spec.Width > kMaxFileWidth) {
                err << prefix << "bad column width '" << w << "' (1 to " << kMaxFileWidth << ")\n";
                return false;
            }
        }
        specs.push_back(spec);
        if (comma == std::string_view::npos)
            return true;
        pos = comma + 1;
    }
}

bool ReadLogSettings(const TReportCliOptions& o, TMemorySettings& store, const std::string& command, std::ostream& err)
{
    const std::string prefix = "tarvex-cli " + command + ": ";
    FileBytes file;
    std::string error;
    if (!file.Load(o.SettingsFile, error)) {
        err << prefix << "cannot read settings file '" << o.SettingsFile << "': " << error << "\n";
        return false;
    }
    ReadQtIniSettings(file.Bytes(), store);
    const int count = store.ReadInteger("General", "NumLogs", 0);
    for (int n = 1; n <= count && n <= 100000; ++n)
        if (store.ReadString("Log" + std::to_string(n), "Name", "") == o.LogName)
            return true;
    err << prefix << "no log named '" << o.LogName << "' in " << o.SettingsFile << "\n";
    return false;
}

TReportStyle CliReportStyle(const TReportCliOptions& o)
{
    TReportStyle style;  // C locale: '/' and ':' whatever the user's language
    style.Now = LocalNow;
    style.Utf8 = o.Utf8;
    style.CellPage = FindCodePage(o.CodePage);
    return style;
}
