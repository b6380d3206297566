#pragma once
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysisrun.h"
#include "host/settingsstore.h"
#include "report/columnlist.h"
#include "report/reportwriter.h"

// The options every report command shares: which columns, which templates, which form, where.
struct TReportCliOptions
{
    bool ColumnsGiven = false;
    std::string Columns;          // NAME[:WIDTH],...
    bool HeaderGiven = false;
    std::string Header;
    bool FooterGiven = false;
    std::string Footer;
    std::string SettingsFile;     // with LogName: the window's stored columns and templates
    std::string LogName;
    bool Utf8 = false;
    std::string CodePage = "IBM866";
    std::string Output;           // empty: stdout
};

extern const char* const kReportOptionsUsage;

// Takes args[i] (and its value) when it is a report option; like TakeAnalysisOption.
TOptionTaken TakeReportOption(const std::vector<std::string>& args, std::size_t& i, TReportCliOptions& o,
                              const std::string& command, std::ostream& err);

// What a report command knows of its view: the column type names in order, the report width of
// each type when the user names none, the view's section suffix (".SessList") and its defaults.
struct TReportView
{
    std::span<const char* const> TypeNames;
    std::span<const int> FittingWidths;
    std::string_view SectionSuffix;
    std::span<const tarvex::TDefaultColumn> Defaults;
};

struct TColumnSpec
{
    int Type = 0;
    int Width = 10;
};

// "Time,address:16" -> the types and widths; false with a message on err for an unknown name,
// a bad width or an empty entry.
bool ParseColumnSpecs(std::string_view list, std::span<const char* const> names, std::vector<TColumnSpec>& specs,
                      const std::string& command, std::ostream& err);

// Reads the settings file and checks that the log is configured in it.
bool ReadLogSettings(const TReportCliOptions& o, tarvex::TMemorySettings& store, const std::string& command,
                     std::ostream& err);

// The report's bytes in the chosen form.
tarvex::TReportStyle CliReportStyle(const TReportCliOptions& o);

// Writes the report to --output (whole or not at all) or, block by block, to out; false (the
// message on err) when it cannot be written.
template <class Item>
bool WriteCliReport(const TReportCliOptions& o, const tarvex::TColumnList<Item>& columns,
                    const tarvex::TReportOptions& report, std::type_identity_t<tarvex::TRecordsView<Item>> items, tarvex::IUserInterface& ui,
                    std::ostream& out, std::ostream& err, const std::string& command)
{
    const tarvex::TReportStyle style = CliReportStyle(o);
    std::string error;
    if (!o.Output.empty()) {
        if (tarvex::WriteReport<Item>(columns, report, items, ui, style, error))
            return true;
        err << "tarvex-cli " << command << ": cannot write " << o.Output << ": " << error << "\n";
        return false;
    }
    tarvex::TReportBuilder b(style, [&out](std::string_view block) {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    });
    tarvex::PutReport<Item>(columns, report, items, ui, b);
    out.flush();
    if (!out) {
        err << "tarvex-cli " << command << ": cannot write the report to stdout\n";
        return false;
    }
    return true;
}

// The columns and templates of a report: --columns, or the stored ones of --settings/--log,
// or every type with widths that fit; --header/--footer over the stored templates. False (the
// message on err) when the options are wrong or no column goes to the file.
template <class Item>
bool PrepareReport(const TReportCliOptions& o, const TReportView& view,
                   const typename tarvex::TColumnList<Item>::Factory& make, tarvex::TColumnList<Item>& columns,
                   tarvex::TReportOptions& report, const std::string& command, std::ostream& err)
{
    columns.Items.clear();
    if (!o.SettingsFile.empty()) {
        tarvex::TMemorySettings store;
        if (!ReadLogSettings(o, store, command, err))
            return false;
        const std::string section = o.LogName + std::string(view.SectionSuffix);
        columns.Load(store, section, make, view.Defaults);
        report.RepHeader = store.ReadString(section, "RepHeader", "");
        report.RepFooter = store.ReadString(section, "RepFooter", "");
    }
    if (o.ColumnsGiven || o.SettingsFile.empty()) {
        std::vector<TColumnSpec> specs;
        if (o.ColumnsGiven) {
            if (!ParseColumnSpecs(o.Columns, view.TypeNames, specs, command, err))
                return false;
        } else {
            for (std::size_t t = 0; t < view.TypeNames.size(); ++t)
                specs.push_back({static_cast<int>(t), t < view.FittingWidths.size() ? view.FittingWidths[t] : 10});
        }
        columns.Items.clear();
        for (const TColumnSpec& s : specs) {
            auto c = make();
            c->ColType = s.Type;
            c->Heading = view.TypeNames[static_cast<std::size_t>(s.Type)];
            c->ShowFile = true;
            c->FileWidth = s.Width;
            columns.Items.push_back(std::move(c));
        }
        columns.CountVisible();
    }
    if (o.HeaderGiven)
        report.RepHeader = o.Header;
    if (o.FooterGiven)
        report.RepFooter = o.Footer;
    report.FileName = o.Output;
    if (columns.NumFile == 0) {
        err << "No file columns defined!\n";
        return false;
    }
    return true;
}
