// The report writer over arbitrary template bytes and arbitrary records. One input is three
// files joined by kFileMark: a description of the report (below), the header template and the
// footer template. The description is read byte by byte, running out meaning zero:
//   flags: 1 UTF-8 report, 2 its OEM page is IBM866 (else bytes stand for themselves),
//          4 no header template file, 8 no footer template file, 16 also write the report file
//          and compare it with the built bytes, 32 dial statistics rather than sessions,
//          64 '.' between date parts;
//   the clock as 8 bytes of a double (the macros print it);
//   column count (0..15), then per column: type (signed), file width, shown-in-file bit,
//          heading length (0..31) and heading;
//   then records until the bytes run out (at most 300): numbers as raw bytes, texts
//          length-prefixed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "base/datetime.h"
#include "fuzzsupport.h"
#include "host/userinterface.h"
#include "platform/filebytes.h"
#include "report/dscolumns.h"
#include "report/reportwriter.h"
#include "report/sesscolumns.h"

using namespace tarvex;

namespace {

class TBytes
{
public:
    explicit TBytes(std::string_view s) : S(s) {}
    bool Empty() const { return At >= S.size(); }
    unsigned Byte() { return At < S.size() ? static_cast<unsigned char>(S[At++]) : 0u; }
    template <class T>
    T Raw()
    {
        unsigned char b[sizeof(T)] = {};
        for (auto& c : b)
            c = static_cast<unsigned char>(Byte());
        T v;
        std::memcpy(&v, b, sizeof v);
        return v;
    }
    std::string Text(unsigned maxLen)
    {
        // The length byte is taken before what is left is measured.
        const unsigned length = Byte() % (maxLen + 1);
        const std::size_t n = std::min<std::size_t>(length, S.size() - At);
        std::string t(S.substr(At, n));
        At += n;
        return t;
    }

private:
    std::string_view S;
    std::size_t At = 0;
};

TFidoAddr Addr(TBytes& in)
{
    TFidoAddr a;
    a.Zone = in.Raw<std::uint16_t>();
    a.Net = in.Raw<std::uint16_t>();
    a.Node = in.Raw<std::uint16_t>();
    a.Point = in.Raw<std::uint16_t>();
    a.Domain = in.Text(8);
    return a;
}

TTextStore Texts;

TSess Session(TBytes& in)
{
    TSess s;
    s.StartLine = in.Raw<std::int32_t>();
    s.StartTime = in.Raw<double>();
    s.EndLine = in.Raw<std::int32_t>();
    s.EndTime = in.Raw<double>();
    s.Flags = static_cast<std::uint8_t>(in.Byte());
    if (s.Flags & 1)
        s.Addr = Addr(in);
    s.SysOp = Texts.Keep(in.Text(40));
    s.System = Texts.Keep(in.Text(40));
    s.FilesSent = in.Raw<std::int32_t>();
    s.FilesRecd = in.Raw<std::int32_t>();
    s.BytesSent = in.Raw<std::int64_t>();
    s.BytesRecd = in.Raw<std::int64_t>();
    s.CPS = in.Raw<std::int32_t>();
    return s;
}

TNodeStat NodeStat(TBytes& in)
{
    TNodeStat n;
    n.Addr = Addr(in);
    n.Tries = in.Raw<std::int32_t>();
    n.Busy = in.Raw<std::int32_t>();
    n.NoCarrier = in.Raw<std::int32_t>();
    n.OutSess = in.Raw<std::int32_t>();
    n.InSess = in.Raw<std::int32_t>();
    n.BytesSent = in.Raw<std::int64_t>();
    n.BytesRecd = in.Raw<std::int64_t>();
    n.Seconds = in.Raw<std::int64_t>();
    n.CPS = in.Raw<std::int32_t>();
    return n;
}

template <class Item>
void Columns(TBytes& in, TColumnList<Item>& list, const typename TColumnList<Item>::Factory& make)
{
    const unsigned count = in.Byte() % 16;
    for (unsigned i = 0; i < count; ++i) {
        auto c = make();
        c->ColType = static_cast<std::int8_t>(in.Byte());
        c->FileWidth = static_cast<std::int32_t>(in.Byte());
        c->ShowFile = (in.Byte() & 1) != 0;
        c->Heading = in.Text(31);
        list.Items.push_back(std::move(c));
    }
    list.CountVisible();
}

// The template and report files, in the scratch folder of the process.
const TReportOptions& Files()
{
    static const TReportOptions files = [] {
        const std::string& dir = fuzz::ScratchDir("report_template");
        TReportOptions o;
        o.RepHeader = dir + "/header.tpl";
        o.RepFooter = dir + "/footer.tpl";
        o.FileName = dir + "/report.txt";
        return o;
    }();
    return files;
}

template <class Item>
void Run(TBytes& in, unsigned flags, const TReportOptions& options, const TReportStyle& style,
         const typename TColumnList<Item>::Factory& make, Item (*read)(TBytes&))
{
    TColumnList<Item> columns;
    Columns(in, columns, make);
    std::vector<Item> items;
    while (!in.Empty() && items.size() < 300)
        items.push_back(read(in));
    TScriptedUserInterface ui;
    const std::string built = BuildReport<Item>(columns, options, std::span<const Item>(items), ui, style);
    if (ui.Busy)
        std::abort();  // the busy cursor must come back on every way out
    if (flags & 16) {
        TScriptedUserInterface fileUi;
        std::string error;
        if (!WriteReport<Item>(columns, options, std::span<const Item>(items), fileUi, style, error))
            std::abort();  // the scratch folder is ours: writing there cannot fail
        FileBytes written;
        if (!written.Load(options.FileName, error) || written.Bytes() != built || fileUi.Transcript != ui.Transcript)
            std::abort();  // the file must hold exactly what the report is
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Texts.Clear();
    const std::vector<std::string_view> parts = fuzz::SplitFiles(fuzz::AsText(data, size), 3);
    TBytes in(parts[0]);
    const unsigned flags = in.Byte();

    const TReportOptions& options = Files();
    const std::string_view header = parts.size() > 1 ? parts[1] : std::string_view();
    const std::string_view footer = parts.size() > 2 ? parts[2] : std::string_view();
    std::remove(options.RepHeader.c_str());
    std::remove(options.RepFooter.c_str());
    if (!(flags & 4) && !fuzz::WriteScratchFile(options.RepHeader, header))
        std::abort();
    if (!(flags & 8) && !fuzz::WriteScratchFile(options.RepFooter, footer))
        std::abort();

    TReportStyle style;
    style.Utf8 = (flags & 1) != 0;
    if (flags & 2)
        style.CellPage = FindCodePage("IBM866");
    if (flags & 64)
        style.Format.DateSep = '.';
    const TDateTime now = in.Raw<double>();
    style.Now = [now] { return now; };

    if (flags & 32)
        Run<TNodeStat>(in, flags, options, style, DialStatColumnFactory(), NodeStat);
    else
        Run<TSess>(in, flags, options, style, SessColumnFactory(style.Format), Session);
    return 0;
}
