// File requests: the magic names of the request index, the directory list, and the
// bookkeeping of requested and sent files during a pass.
#include <string>

#include "base/linesplit.h"
#include "base/logutils.h"
#include "log/mailerlog.h"
#include "platform/paths.h"

namespace tarvex {

void TMailerLog::AddAlias(std::string_view magicName, std::string_view path)
{
    std::string magic = UpperCase(magicName);
    TFreqAlias alias{UpperCase(path), FileNameOf(UpperCase(path))};
    auto it = AliasIndex.find(magic);
    if (it != AliasIndex.end()) {
        Aliases[it->second].Alias = std::move(alias);
        return;
    }
    AliasIndex.emplace(magic, Aliases.size());
    Aliases.push_back({std::move(magic), std::move(alias)});
}

void TMailerLog::ClearAliases()
{
    Aliases.clear();
    AliasIndex.clear();
}

const TFreqAlias* TMailerLog::FindAlias(std::string_view upperMagic) const
{
    auto it = AliasIndex.find(std::string(upperMagic));
    return it == AliasIndex.end() ? nullptr : &Aliases[it->second].Alias;
}

void TMailerLog::ReadFreqIndex(std::string_view fileName)
{
    std::string text;
    if (!ReadWholeFile(ResolvePath(fileName), text)) {
        Ui().SetBusyCursor(false);
        Ui().Message("Cannot open freq index file", TMsgKind::Warning, TMsgButtons::OK);
        return;
    }
    LineSplitter lines(text);
    std::string_view raw;
    while (lines.Next(raw)) {
        std::string line = DropLeadingSpaces(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '@')
            line.erase(0, 1);
        const auto open = line.find('(');
        if (open != std::string::npos) {
            const auto close = line.find(')', open + 1);
            if (close != std::string::npos)
                line.erase(open, close - open + 1);
        }
        const std::string magic = WordAt(1, line, " ");
        const std::string path = WordAt(2, line, " ");
        if (!magic.empty())
            AddAlias(magic, path);
    }
}

std::vector<std::string> TMailerLog::ReadFreqDirs(std::string_view fileName)
{
    std::vector<std::string> dirs;
    std::string text;
    if (!ReadWholeFile(ResolvePath(fileName), text)) {
        Ui().SetBusyCursor(false);
        Ui().Message("Cannot open freq dirs file", TMsgKind::Warning, TMsgButtons::OK);
        return dirs;
    }
    LineSplitter lines(text);
    std::string_view raw;
    while (lines.Next(raw)) {
        const std::string line = DropLeadingSpaces(raw);
        if (line.empty() || line[0] == ';')
            continue;
        std::string entry = WordAt(1, line, " ");
        if (entry.empty())
            continue;
        if (entry[0] != '@' && entry.back() != '\\')
            entry += '\\';
        dirs.push_back(std::move(entry));
    }
    return dirs;
}

void TMailerLog::AppendFreq(TFreqEntry entry)
{
    Freqs.push_back(std::move(entry));
    FreqIndex.Added(Freqs, Freqs.size() - 1);
}

void TMailerLog::AddFreq(std::string_view reqName, const TFidoAddr& addr)
{
    std::string name = UpperCase(reqName);
    std::string real = name;
    if (const TFreqAlias* alias = FindAlias(name))
        real = alias->FileName;
    if (const std::size_t i = FreqIndex.FindRequest(addr, name); i != TFreqIndex::npos) {
        Freqs[i].Freq.LineNo = LineNo;
        TouchFreq(i);
        return;
    }
    TFreqEntry e;
    e.Request = std::move(name);
    e.Freq.Addr = addr;
    e.Freq.LineNo = LineNo;
    e.Freq.Name = std::move(real);
    AppendFreq(std::move(e));
    if (PastMark)
        ++NewFreqCount;
}

void TMailerLog::FreqSent(std::string_view sentName, std::string_view fullPath, const TFidoAddr& addr)
{
    // Into a kept buffer: most sent files are no request's, and the name is thrown away.
    std::string& name = SentName;
    name.assign(sentName);
    for (char& c : name)
        c = UpCaseChar(c);
    const std::size_t at = FreqIndex.FindForSent(Freqs, addr, name);
    if (at == TFreqIndex::npos)
        return;  // sent without a recorded request

    TFreqEntry* found = &Freqs[at];
    TouchFreq(at);
    const bool wild = found->Request.find_first_of("*?") != std::string::npos;
    if (found->Freq.Sent && wild) {
        // One request answered by several files: one entry per file.
        TFreqEntry e;
        e.Request = found->Request;
        e.Freq.Addr = addr;
        e.Freq.LineNo = LineNo;
        e.Freq.IsNew = PastMark;
        e.Freq.Sent = true;
        e.Freq.Name = name;
        e.Freq.FilePath = fullPath;
        AppendFreq(std::move(e));
        if (PastMark)
            ++NewFreqCount;
        return;
    }
    found->Freq.Name = name;
    found->Freq.Sent = true;
    found->Freq.LineNo = LineNo;
    found->Freq.IsNew = PastMark;
    found->Freq.FilePath = fullPath;
    FreqIndex.Renamed(Freqs, at);
}

}  // namespace tarvex
