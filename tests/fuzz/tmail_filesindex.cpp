// The T-Mail files index lookup: arbitrary index bytes (written to a scratch file, as the mailer
// keeps it) searched for the names of the input's first part, one name a line, from inside an
// analysis pass as the style does it.
#include <string>

#include "fuzzsupport.h"
#include "parsers/tmaillog.h"

using namespace tarvex;

namespace {

// The style with its configuration and language left out: each line of the pass is a name to
// look up in one index.
class TIndexProbe : public TTmailLog
{
public:
    void LoadConfig() override {}
    void LoadLanguage() override {}
    void CheckNewDay(std::string_view) override {}
    void ParseLine(std::string_view line) override
    {
        if (++Lookups <= 64)
            Found += LookupFilesIndex(IndexPath, line).size();
    }

    std::string IndexPath;
    int Lookups = 0;
    std::size_t Found = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string_view> parts = fuzz::SplitFiles(fuzz::AsText(data, size), 2);
    static const std::string index = fuzz::ScratchDir("tmail_filesindex") + "/files.idx";
    if (!fuzz::WriteScratchFile(index, parts.size() > 1 ? parts[1] : std::string_view()))
        return 0;
    TIndexProbe probe;
    probe.IndexPath = index;
    TScriptedUserInterface ui;
    probe.Analyze(ui, {}, parts[0]);
    return 0;
}
