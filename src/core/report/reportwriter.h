#pragma once
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/datetime.h"
#include "base/recordsview.h"
#include "host/userinterface.h"
#include "platform/codepage.h"
#include "platform/replacingfile.h"
#include "report/column.h"
#include "report/columnlist.h"

namespace tarvex {

// What a report is framed by and where it goes.
struct TReportOptions
{
    std::string RepHeader;  // header template file, may be empty
    std::string RepFooter;  // footer template file, may be empty
    std::string FileName;   // report file to create
};

// How a report's bytes are made. The DOS form is the classic one: code page 437 box bytes, cell
// and template bytes as they are, CR LF. The UTF-8 form is the same table for a terminal or a web
// page: box characters as Unicode, every other byte read in the log's code page (CellPage; bytes
// 128..255 as Latin-1 without one), LF line ends, cells cut and padded by characters.
struct TReportStyle
{
    TDateFormat Format;
    std::function<TDateTime()> Now;  // local date and time, taken again for every template line
    bool Utf8 = false;
    std::optional<TCodePage> CellPage;
};

// The local date and time of the computer.
TDateTime LocalNow();

// Replaces the macros of one template line: "@program", "@date", "@time", "@total", in that
// order, case-sensitive, inserted text never scanned again.
std::string ExpandTemplateLine(std::string_view line, TDateTime now, const TDateFormat& format, std::size_t total);

// Builds a report line by line in a buffer of its own, handing full blocks to a sink (a
// string, a file), so that a report of any size is written without being held whole.
class TReportBuilder
{
public:
    enum class TBorder { Top, UnderHeadings, Group, Bottom };
    using TSink = std::function<void(std::string_view)>;

    TReportBuilder(const TReportStyle& style, TSink sink);

    void SetWidths(std::vector<int> widths);
    // About how many bytes one table line of these widths takes.
    static std::size_t RowBytes(const std::vector<int>& widths);
    void Border(TBorder kind);
    void HeadingRow(std::span<const std::string> headings);
    // A record row: cells cut or padded to their widths.
    void BeginRow();
    void Cell(std::size_t column, std::string_view text);
    void EndRow();
    // Copies a template file with its macros replaced; false (and nothing written) when it
    // cannot be read.
    bool CopyTemplate(const std::string& path, std::size_t total);
    // Hands what is left to the sink.
    void Finish();

private:
    char* Room(std::size_t n);
    void Put(std::string_view bytes);
    void Box(unsigned char b);
    void Text(std::string_view bytes);
    void Heading(std::string_view bytes);
    void Spaces(std::size_t n);
    void EndLine();

    const TReportStyle& Style;
    TSink Sink;
    std::vector<char> Buf;
    std::size_t Len = 0;
    std::vector<int> Widths;
    char BoxUtf8[256][3] = {};
    unsigned char BoxUtf8Len[256] = {};
};

// The table and templates of a report, into a builder.
template <class Item>
void PutReport(const TColumnList<Item>& columns, const TReportOptions& options, std::type_identity_t<TRecordsView<Item>> items,
               IUserInterface& ui, TReportBuilder& b)
{
    struct TBusy {
        IUserInterface& Ui;
        explicit TBusy(IUserInterface& u) : Ui(u) { Ui.SetBusyCursor(true); }
        ~TBusy() { Ui.SetBusyCursor(false); }
    } busy(ui);

    if (!options.RepHeader.empty() && !b.CopyTemplate(options.RepHeader, items.size()))
        ui.Message("Cannot open template file", TMsgKind::Error, TMsgButtons::OK);
    const auto files = columns.FileColumns();
    std::vector<int> widths;
    std::vector<std::string> headings;
    for (const auto* c : files) {
        widths.push_back(c->FileWidth);
        headings.push_back(c->Heading);
    }
    b.SetWidths(widths);
    b.Border(TReportBuilder::TBorder::Top);
    b.HeadingRow(headings);
    b.Border(TReportBuilder::TBorder::UnderHeadings);
    const TColumnOf<Item>* first = columns.Items.empty() ? nullptr : columns.Items.front().get();
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != 0 && first && first->StartsGroup(items[i]))
            b.Border(TReportBuilder::TBorder::Group);
        b.BeginRow();
        for (std::size_t k = 0; k < files.size(); ++k) {
            files[k]->ColumnText(items[i], text);
            b.Cell(k, text);
        }
        b.EndRow();
    }
    b.Border(TReportBuilder::TBorder::Bottom);
    if (!options.RepFooter.empty() && !b.CopyTemplate(options.RepFooter, items.size()))
        ui.Message("Cannot open template file", TMsgKind::Error, TMsgButtons::OK);
    b.Finish();
}

// The bytes of a whole report: header template, table of the file columns, footer template.
// A template that cannot be opened is reported through ui ("Cannot open template file") and left
// out. The busy cursor shows while it runs.
template <class Item>
std::string BuildReport(const TColumnList<Item>& columns, const TReportOptions& options, std::type_identity_t<TRecordsView<Item>> items,
                        IUserInterface& ui, const TReportStyle& style)
{
    std::vector<int> widths;
    for (const auto* c : columns.FileColumns())
        widths.push_back(c->FileWidth);
    std::string out;
    out.reserve((items.size() + 8) * TReportBuilder::RowBytes(widths));
    TReportBuilder b(style, [&out](std::string_view block) { out.append(block); });
    PutReport(columns, options, items, ui, b);
    return out;
}

// Writes the bytes to the file so that it is either wholly written or, when writing fails,
// left as it was; false and the reason in error then.
bool WriteReportFile(const std::string& fileName, std::string_view bytes, std::string& error);

// Writes the report to options.FileName as BuildReport makes it, block by block, with the
// same promise as WriteReportFile.
template <class Item>
bool WriteReport(const TColumnList<Item>& columns, const TReportOptions& options, std::type_identity_t<TRecordsView<Item>> items,
                 IUserInterface& ui, const TReportStyle& style, std::string& error)
{
    TReplacingFile file;
    if (!file.Open(options.FileName, error))
        return false;
    TReportBuilder b(style, [&file](std::string_view block) { file.Write(block); });
    PutReport(columns, options, items, ui, b);
    return file.Commit(error);
}

}  // namespace tarvex
