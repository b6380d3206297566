#include "mailercfg/qparser.h"

#include <climits>

#include "base/errors.h"
#include "base/linesplit.h"
#include "base/logutils.h"
#include "platform/envnames.h"
#include "platform/paths.h"

namespace tarvex {

namespace {

// Define values may name other defines; without a bound a few short lines could expand a line
// until memory runs out.
constexpr std::size_t MaxDefineGrowth = 1u << 20;

bool IsAbsoluteName(std::string_view name)
{
    if (!name.empty() && (name[0] == '/' || name[0] == '\\'))
        return true;
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

// The directory part of a name as written, with its trailing separator; empty when none.
std::string_view DirPartOf(std::string_view name)
{
    const std::size_t sep = name.find_last_of("\\/:");
    return sep == std::string_view::npos ? std::string_view() : name.substr(0, sep + 1);
}

bool FitsKind(THandlerKind kind, const THandlerExtra& extra, const THandlerTarget& target)
{
    switch (kind) {
    case THandlerKind::Procedure: {
        const auto* proc = std::get_if<TQTokenProc>(&target);
        return proc && *proc;
    }
    case THandlerKind::String: {
        const auto* p = std::get_if<std::string*>(&target);
        return p && *p;
    }
    case THandlerKind::Boolean: {
        const auto* p = std::get_if<bool*>(&target);
        return p && *p;
    }
    case THandlerKind::Integer: {
        const auto* p = std::get_if<std::int32_t*>(&target);
        return p && *p;
    }
    case THandlerKind::StringList: {
        const auto* p = std::get_if<std::vector<std::string>*>(&target);
        return p && *p;
    }
    case THandlerKind::WordIndex: {
        const auto* p = std::get_if<std::int32_t*>(&target);
        return p && *p && !std::holds_alternative<TQCustomProc>(extra);
    }
    case THandlerKind::Custom:
        return !std::holds_alternative<TQTokenProc>(target) &&
               !std::holds_alternative<const std::vector<std::string>*>(extra);
    }
    return true;  // kinds beyond the known ones are kept and ignored
}

void* DataOf(const THandlerTarget& target)
{
    return std::visit(
        [](const auto& v) -> void* {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_pointer_v<T>)
                return static_cast<void*>(v);
            else
                return nullptr;
        },
        target);
}

const std::string& ValueToken(const TQTokens& tokens)
{
    if (tokens.size() < 2)
        throw EListError("List index out of bounds (1)");
    return tokens[1];
}

}  // namespace

TQParser::TQParser() = default;

void TQParser::AddHandler(std::string_view keyword, THandlerKind kind, THandlerExtra extra, THandlerTarget target)
{
    if (FindHandler(keyword))
        throw EQParserError("Duplicate keyword");
    if (!FitsKind(kind, extra, target))
        throw EQParserError("Handler target does not fit its kind");
    Handlers.emplace(UpperCase(keyword), THandler{kind, std::move(target), std::move(extra)});
}

void TQParser::AddStringHandler(std::string_view keyword, std::string& target)
{
    AddHandler(keyword, THandlerKind::String, std::monostate(), &target);
}

void TQParser::AddListHandler(std::string_view keyword, std::vector<std::string>& target)
{
    AddHandler(keyword, THandlerKind::StringList, std::monostate(), &target);
}

const THandler* TQParser::FindHandler(std::string_view keyword) const
{
    const auto it = Handlers.find(UpperCase(keyword));
    return it == Handlers.end() ? nullptr : &it->second;
}

void TQParser::SetDefineStr(std::string_view value)
{
    if (value.find(' ') != std::string_view::npos)
        throw EQParserError("DefineStr must be a single word");
    DefineWord = UpperCase(value);
}

void TQParser::SetIncludeStr(std::string_view value)
{
    if (value.find(' ') != std::string_view::npos)
        throw EQParserError("IncludeStr must be a single word");
    IncludeWord = UpperCase(value);
}

std::string TQParser::LineFromToken(std::size_t k, std::size_t maxLen) const
{
    if (k >= TokenPos.size() || TokenPos[k] < 1)
        return {};
    const std::size_t from = static_cast<std::size_t>(TokenPos[k]) - 1;
    if (from >= Line.size())
        return {};
    return Line.substr(from, maxLen);
}

void TQParser::LineError(const std::string& msg) const
{
    throw EQParserError(msg, CurrentFileName(), LineNo, CurrentLocalFile());
}

std::string TQParser::LocalPathOf(std::string_view name) const
{
    if (IsAbsoluteName(name) || Files.empty() || Files.back().LocalDir.empty())
        return ResolvePath(name);
    return ResolvePath(Files.back().LocalDir + "/" + std::string(name));
}

void TQParser::Parse(std::string_view fileName)
{
    if (Files.empty())
        Stopped = false;
    else if (Depth() >= MaxDepth)
        LineError("Include files nested too deeply");

    const std::string local = LocalPathOf(fileName);
    std::string text;
    // Named by the path tried: the mailer's own text may be a DOS path that names no file here.
    if (!ReadWholeFile(local, text)) {
        const std::string undefined = UndefinedNameMessage(fileName);
        throw EQParserError(undefined.empty() ? "Cannot open file " + local + " for parsing" : undefined);
    }
    const std::string_view dirPart = DirPartOf(fileName);
    const std::string localDir = ParentDir(local);
    if (!dirPart.empty() && !DirectoryExists(localDir))
        throw EQParserError("Error ChDir'ing to " + std::string(dirPart));

    // Nothing is held open while a file is read, so leaving by an error only has to unwind the
    // stack of names.
    struct TPop
    {
        std::vector<TOpenFile>& Files;
        ~TPop() { Files.pop_back(); }
    };
    Files.push_back(TOpenFile{std::string(fileName), local, localDir});
    TPop pop{Files};
    ParseText(text);
}

void TQParser::ParseText(std::string_view text)
{
    LineSplitter lines(text);
    std::string_view raw;
    // An empty file still gives one (empty) line.
    bool more = lines.Next(raw);
    LineNo = 0;
    do {
        if (LineNo == INT32_MAX)
            LineError("Too many lines");
        ++LineNo;
        Line.assign(raw);
        ParseLine();
        if (Stopped)
            return;
        more = lines.Next(raw);
    } while (more);
}

void TQParser::ReplaceDefines()
{
    const std::size_t limit = Line.size() + MaxDefineGrowth;
    for (int i = 0; i < Defines.Count(); ++i) {
        const std::string& key = Defines.KeyAt(i);
        if (key.empty())
            continue;
        std::size_t at = Line.find(key);
        if (at == std::string::npos)
            continue;
        const std::string& value = Defines.ValueAt(i);
        std::string out;
        std::size_t from = 0;
        // Copying source text and values in turn resumes the scan after each inserted value.
        while (at != std::string::npos) {
            out.append(Line, from, at - from);
            out += value;
            if (out.size() > limit)
                LineError("Line too long after define replacement");
            from = at + key.size();
            at = Line.find(key, from);
        }
        out.append(Line, from);
        Line.swap(out);
    }
    // What the file does not define may come from the sysop's environment.
    ExpandEnvironmentNames(Line);
}

void TQParser::Tokenize()
{
    Tokens.clear();
    TokenPos.clear();
    if (!Comment.empty()) {
        const std::size_t c = Line.find(Comment);
        if (c != std::string::npos)
            Line.erase(c);
    }
    const std::size_t first = Line.find_first_not_of(' ');
    if (first == std::string::npos) {
        Line.clear();
        return;
    }
    Line.erase(Line.find_last_not_of(' ') + 1);
    Line.erase(0, first);
    if (Line.size() >= static_cast<std::size_t>(INT_MAX))
        LineError("Line too long");

    std::size_t i = 0;
    for (;;) {
        std::size_t start = i;
        std::size_t end;
        if (Line[i] == '"') {
            start = i + 1;
            const std::size_t close = Line.find('"', start);
            if (close == std::string::npos)
                LineError("Unmatched quotes");
            Line.erase(close, 1);
            end = close;
        } else {
            end = Line.find(' ', i);
            if (end == std::string::npos)
                end = Line.size();
        }
        Tokens.emplace_back(Line, start, end - start);
        TokenPos.push_back(static_cast<int>(start + 1));
        i = end;
        while (i < Line.size() && Line[i] == ' ')
            ++i;
        if (i >= Line.size())
            break;
    }
}

void TQParser::ParseLine()
{
    if (OnBeforeParse && !OnBeforeParse(*this, Line))
        return;
    ReplaceDefines();
    Tokenize();
    if (OnAfterParse && !OnAfterParse(*this, Tokens))
        return;
    if (Tokens.empty())
        return;

    const std::string word = UpperCase(Tokens[0]);
    if (!DefineWord.empty() && word == DefineWord) {
        if (OnDefine) {
            OnDefine(*this, Tokens);
            return;
        }
        if (Tokens.size() < 3)
            LineError("Invalid Define directive");
        Defines.SetValue(Tokens[1], LineFromToken(2));
        return;
    }
    if (!IncludeWord.empty() && word == IncludeWord) {
        if (Tokens.size() < 2)
            LineError("Invalid Include directive");
        const std::int32_t lineNo = LineNo;
        const std::string name = Tokens[1];
        Parse(name);
        LineNo = lineNo;
        return;
    }
    const THandler* h = FindHandler(Tokens[0]);
    if (!h) {
        if (OnUnknownKeyword && !OnUnknownKeyword(*this, Tokens))
            Stopped = true;
        return;
    }
    RunHandler(*h);
}

void TQParser::RunHandler(const THandler& h)
{
    switch (h.Kind) {
    case THandlerKind::Procedure:
        std::get<TQTokenProc>(h.Target)(Tokens);
        break;
    case THandlerKind::String:
        *std::get<std::string*>(h.Target) = ValueToken(Tokens);
        break;
    case THandlerKind::Boolean: {
        const std::string v = UpperCase(ValueToken(Tokens));
        if (v == "YES" || v == "TRUE")
            *std::get<bool*>(h.Target) = true;
        else if (v == "NO" || v == "FALSE")
            *std::get<bool*>(h.Target) = false;
        else
            LineError("Invalid boolean value");
        break;
    }
    case THandlerKind::Integer:
        *std::get<std::int32_t*>(h.Target) = StrToInt(ValueToken(Tokens));
        break;
    case THandlerKind::StringList:
        std::get<std::vector<std::string>*>(h.Target)->push_back(ValueToken(Tokens));
        break;
    case THandlerKind::WordIndex: {
        const auto* words = std::get_if<const std::vector<std::string>*>(&h.Extra);
        if (!words || !*words)
            LineError("List not defined");
        const std::string& v = ValueToken(Tokens);
        std::int32_t index = -1;
        for (std::size_t k = 0; k < (*words)->size(); ++k)
            if (SameText((**words)[k], v)) {
                index = static_cast<std::int32_t>(k);
                break;
            }
        *std::get<std::int32_t*>(h.Target) = index;
        break;
    }
    case THandlerKind::Custom: {
        const auto* proc = std::get_if<TQCustomProc>(&h.Extra);
        if (!proc || !*proc)
            LineError("Undefined Custom handler");
        (*proc)(Tokens, DataOf(h.Target));
        break;
    }
    }
}

}  // namespace tarvex
