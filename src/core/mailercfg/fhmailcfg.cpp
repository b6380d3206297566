#include "mailercfg/fhmailcfg.h"

#include "base/logutils.h"

namespace tarvex {

void ReplacePercentDefines(std::string& line, const TStrDict& defines)
{
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = line.find('%', from);
        if (open == std::string::npos)
            return;
        const std::size_t close = line.find('%', open + 1);
        if (close == std::string::npos || close == open + 1)
            return;
        const std::string value = defines.GetValue(UpperCase(std::string_view(line).substr(open, close - open + 1)));
        line.replace(open, close - open + 1, value);
        from = open + value.size();
    }
}

void SetUpFHMailConfigParser(TQParser& parser, std::string& aliasList, std::string& language)
{
    parser.AddStringHandler("AliasList", aliasList);
    parser.AddStringHandler("Language", language);
    parser.OnDefine = [](TQParser& p, TQTokens&) {
        const std::string text = p.LineFromToken(1);
        const std::size_t eq = text.find('=');
        if (eq == std::string::npos)
            throw EQParserError("Invalid Define", p.CurrentFileName(), p.LineNo, p.CurrentLocalFile());
        const std::string name = UpperCase(DropOuterSpaces(std::string_view(text).substr(0, eq)));
        p.Defines.SetValue("%" + name + "%", DropOuterSpaces(std::string_view(text).substr(eq + 1)));
        return false;
    };
    parser.OnBeforeParse = [](TQParser& p, std::string& line) {
        if (!p.CommentStr().empty()) {
            const std::size_t c = line.find(p.CommentStr());
            if (c != std::string::npos)
                line.erase(c);
        }
        ReplacePercentDefines(line, p.Defines);
        return true;
    };
}

}  // namespace tarvex
