// The configuration reader over arbitrary files: a main file and up to three files it may
// include (inc1.cfg, inc2.cfg, sub/inc3.cfg), written to a scratch folder that is also drive C:.
// The first byte picks how the reader is set up: as each mailer style sets it up, or with a
// handler of every kind; and the comment marker. Only the reader's own errors may come out of a parse.
#include <cstdint>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/logutils.h"
#include "fuzzsupport.h"
#include "mailercfg/fhmailcfg.h"
#include "mailercfg/qparser.h"
#include "platform/paths.h"

using namespace tarvex;

namespace {

struct TTargets
{
    std::string S1, S2, S3;
    std::vector<std::string> List;
    bool Flag = false;
    std::int32_t Number = 0, Word = 0;
    std::size_t Calls = 0;
};

const std::vector<std::string> kWords = {"None", "Zmodem", "Hydra", "Janus"};

void SetUp(TQParser& p, unsigned choice, TTargets& t)
{
    if (choice / 6 % 3 == 1)
        p.SetCommentStr("#");
    else if (choice / 6 % 3 == 2)
        p.SetCommentStr("");
    switch (choice % 6) {
    case 0:  // T-Mail
        p.AddStringHandler("Freq_Ndx", t.S1);
        p.AddStringHandler("Freq_Dir", t.S2);
        p.AddStringHandler("AddressAliases", t.S3);
        p.OnBeforeParse = [](TQParser&, std::string& line) {
            line = DropOuterSpaces(line);
            if (!line.empty() && line[0] == '[') {
                const auto close = line.find(']');
                if (close != std::string::npos)
                    line.erase(0, close + 1);
            }
            return true;
        };
        break;
    case 1:  // Brake!
        p.SetDefineStr("");
        p.AddListHandler("ALIAS", t.List);
        p.AddStringHandler("TREE", t.S1);
        break;
    case 2:  // Bink/+
        p.AddStringHandler("OkFile", t.S1);
        p.AddStringHandler("About", t.S2);
        p.AddStringHandler("Avail", t.S3);
        p.OnDefine = [](TQParser& sender, TQTokens& tokens) {
            if (tokens.size() >= 3)
                sender.Defines.SetValue("%" + tokens[1] + "%", sender.LineFromToken(2));
            return true;
        };
        break;
    case 3:  // FHMail
        SetUpFHMailConfigParser(p, t.S1, t.S2);
        break;
    case 4:  // SF-Mail
        p.SetIncludeStr("#include");
        p.SetDefineStr("#define");
        p.AddStringHandler("Fr_Alias", t.S1);
        p.OnAfterParse = [](TQParser&, TQTokens& tokens) {
            if (!tokens.empty() && !tokens[0].empty() && tokens[0][0] == '(')
                tokens.erase(tokens.begin());
            return true;
        };
        break;
    default:  // every kind, and the two that lack what they need
        p.AddHandler("Proc", THandlerKind::Procedure, {}, TQTokenProc([&t](const TQTokens& tk) { t.Calls += tk.size(); }));
        p.AddStringHandler("Str", t.S1);
        p.AddHandler("Bool", THandlerKind::Boolean, {}, &t.Flag);
        p.AddHandler("Int", THandlerKind::Integer, {}, &t.Number);
        p.AddListHandler("List", t.List);
        p.AddHandler("Word", THandlerKind::WordIndex, &kWords, &t.Word);
        p.AddHandler("Custom", THandlerKind::Custom,
                     TQCustomProc([](const TQTokens& tk, void* data) { *static_cast<std::size_t*>(data) += tk.size(); }),
                     static_cast<void*>(&t.Calls));
        p.AddHandler("NoList", THandlerKind::WordIndex, {}, &t.Word);
        p.AddHandler("NoProc", THandlerKind::Custom, {}, static_cast<void*>(nullptr));
        p.OnUnknownKeyword = [](TQParser&, TQTokens& tokens) { return tokens.size() < 5; };
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzz::AsText(data, size);
    if (input.empty() || fuzz::NamesOutsideScratch(input))
        return 0;
    static const std::string dir = fuzz::ScratchDir("qparser");
    static const bool mapped = (SetDriveMap({{'C', dir}}), true);
    (void)mapped;

    const std::vector<std::string_view> files = fuzz::SplitFiles(input.substr(1), 4);
    static const char* const kNames[] = {"main.cfg", "inc1.cfg", "inc2.cfg", "sub/inc3.cfg"};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string path = dir + "/" + kNames[i];
        if (i < files.size())
            fuzz::WriteScratchFile(path, files[i]);
        else
            std::remove(path.c_str());
    }

    TTargets t;
    TQParser parser;
    SetUp(parser, fuzz::ByteAt(input, 0), t);
    try {
        parser.Parse(dir + "/main.cfg");
    } catch (const EQParserError&) {
    } catch (const EConvertError&) {
    } catch (const EListError&) {
    }
    return 0;
}
