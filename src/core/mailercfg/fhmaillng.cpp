#include "mailercfg/fhmaillng.h"

#include "base/linesplit.h"
#include "base/logutils.h"
#include "mailercfg/lngerror.h"

namespace tarvex {

namespace {

// The mailer itself never reads more of a line than this.
constexpr std::size_t MaxLineLength = 250;

}  // namespace

TFHMailLng::TFHMailLng(std::string_view fileName)
{
    const std::string text = ReadLngFile(fileName);
    Load(text);
}

TFHMailLng TFHMailLng::FromText(std::string_view text)
{
    TFHMailLng lng;
    lng.Load(text);
    return lng;
}

void TFHMailLng::Load(std::string_view text)
{
    LineSplitter lines(text);
    std::string_view line;
    while (lines.Next(line))
        LoadLine(line.substr(0, MaxLineLength));
}

void TFHMailLng::LoadLine(std::string_view line)
{
    if (line.empty() || line[0] == ';')
        return;
    // A line without a complete quoted phrase defines nothing.
    const std::size_t open = line.find('\'');
    if (open == std::string_view::npos)
        return;
    const std::size_t close = line.find('\'', open + 1);
    if (close == std::string_view::npos)
        return;
    const std::string key = UpperCase(WordAt(1, line, " "));
    Dict.SetValue(key, line.substr(open + 1, close - open - 1));

    // A second phrase is looked for only when at least two characters follow the first one's
    // closing quote, starting at the second of them.
    if (line.size() - close - 1 <= 1)
        return;
    const std::size_t open2 = line.find('\'', close + 2);
    if (open2 == std::string_view::npos)
        return;
    const std::size_t close2 = line.find('\'', open2 + 1);
    if (close2 == std::string_view::npos)
        return;
    Dict.SetValue(key + "2", line.substr(open2 + 1, close2 - open2 - 1));
}

}  // namespace tarvex
