#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "mailercfg/strdict.h"

namespace tarvex {

// The configuration reader's error. Errors found in a line carry the file name (as the
// including directive wrote it) and the line number in their own fields, not in the message.
class EQParserError : public std::runtime_error
{
public:
    explicit EQParserError(const std::string& msg) : std::runtime_error(msg) {}
    EQParserError(const std::string& msg, std::string fileName, std::int32_t lineNo, std::string localFileName = {})
        : std::runtime_error(msg), FileName(std::move(fileName)), LineNo(lineNo), LocalFileName(std::move(localFileName))
    {
    }

    // The file as messages name it: where the user finds it on this machine, when known.
    const std::string& ShownFileName() const { return LocalFileName.empty() ? FileName : LocalFileName; }

    std::string FileName;
    std::int32_t LineNo = 0;
    // The file's path on this machine (a mailer path's '\' separators and drive resolved).
    std::string LocalFileName;
};

class TQParser;

using TQTokens = std::vector<std::string>;

// What a keyword line does with its value (token 1), in the order the kinds are numbered.
enum class THandlerKind : std::uint8_t {
    Procedure = 0,   // calls a procedure with the tokens
    String = 1,      // stores token 1
    Boolean = 2,     // YES/TRUE or NO/FALSE, any case
    Integer = 3,     // token 1 as a decimal integer
    StringList = 4,  // appends token 1
    WordIndex = 5,   // index of token 1 in a word list, any case; -1 when absent
    Custom = 6,      // calls a procedure with the tokens and a data pointer
};

using TQTokenProc = std::function<void(const TQTokens& tokens)>;
using TQCustomProc = std::function<void(const TQTokens& tokens, void* data)>;

// Where a handler puts its value. The alternative in use must fit the kind: a string for
// String, a flag for Boolean, an integer for Integer and WordIndex, a list for StringList, a
// procedure for Procedure, a data pointer (may be null) for Custom.
using THandlerTarget =
    std::variant<std::monostate, std::string*, bool*, std::int32_t*, std::vector<std::string>*, TQTokenProc, void*>;
// The second registration argument: the allowed words of WordIndex, the procedure of Custom.
using THandlerExtra = std::variant<std::monostate, const std::vector<std::string>*, TQCustomProc>;

struct THandler
{
    THandlerKind Kind = THandlerKind::Procedure;
    THandlerTarget Target;
    THandlerExtra Extra;
};

// Event signatures. The token list and the line may be changed by the handler.
using TQParserEvent = std::function<bool(TQParser& sender, TQTokens& tokens)>;
using TQParserStrEvent = std::function<bool(TQParser& sender, std::string& line)>;

// Reads a keyword-per-line configuration file and hands each registered keyword's value to the
// place registered for it; other keywords are skipped. Handles define and include directives,
// ';' comments and double-quoted values. One parser reads one top-level file.
class TQParser
{
public:
    TQParser();

    // Registration. A keyword registered before (any case) raises "Duplicate keyword"; a target
    // that does not fit the kind raises "Handler target does not fit its kind". A WordIndex
    // handler without a word list and a Custom handler without a procedure are accepted and fail
    // when a line uses them.
    void AddHandler(std::string_view keyword, THandlerKind kind, THandlerExtra extra, THandlerTarget target);
    void AddStringHandler(std::string_view keyword, std::string& target);
    void AddListHandler(std::string_view keyword, std::vector<std::string>& target);
    const THandler* FindHandler(std::string_view keyword) const;

    const std::string& CommentStr() const { return Comment; }
    void SetCommentStr(std::string_view value) { Comment = value; }
    const std::string& DefineStr() const { return DefineWord; }
    void SetDefineStr(std::string_view value);    // stored upper-cased; a space raises
    const std::string& IncludeStr() const { return IncludeWord; }
    void SetIncludeStr(std::string_view value);   // stored upper-cased; a space raises

    // Reads the file, following includes. The name may be a local or a DOS path; included
    // names without a directory are taken from the directory of the file that names them.
    // Throws EQParserError, EConvertError or EListError on the first error.
    void Parse(std::string_view fileName);

    TQParserEvent OnUnknownKeyword;   // false stops the whole parse
    TQParserStrEvent OnBeforeParse;   // false skips the line
    TQParserEvent OnAfterParse;       // false skips the line
    TQParserEvent OnDefine;           // replaces the built-in define handling

    // The line being worked on, for event handlers.
    std::string Line;                 // comment cut, trimmed, closing quotes deleted
    std::int32_t LineNo = 0;          // 1-based, within the file being read
    TQTokens Tokens;
    std::vector<int> TokenPos;        // 1-based position in Line of each token's first character
    TStrDict Defines;                 // name -> value, in the order defined

    // Files open at once: the top file and up to 15 nested includes.
    static constexpr int MaxDepth = 16;
    int Depth() const { return static_cast<int>(Files.size()); }
    // Name of the file being read, as it was given; empty when idle.
    std::string CurrentFileName() const { return Files.empty() ? std::string() : Files.back().Name; }
    // The same file's path on this machine.
    std::string CurrentLocalFile() const { return Files.empty() ? std::string() : Files.back().Local; }
    // Line from the first character of token k to the end, at most maxLen characters; empty
    // when token k has no recorded position. Define handlers take their values this way.
    std::string LineFromToken(std::size_t k, std::size_t maxLen = 255) const;

private:
    struct TOpenFile
    {
        std::string Name;      // as given
        std::string Local;     // the path read, for messages
        std::string LocalDir;  // directory that relative includes are taken from
    };

    void ParseText(std::string_view text);
    void ParseLine();
    void Tokenize();
    void ReplaceDefines();
    void RunHandler(const THandler& h);
    std::string LocalPathOf(std::string_view name) const;
    [[noreturn]] void LineError(const std::string& msg) const;

    std::map<std::string, THandler> Handlers;  // upper-case keyword -> handler
    std::string Comment = ";";
    std::string DefineWord = "DEFINE";
    std::string IncludeWord = "INCLUDE";
    std::vector<TOpenFile> Files;
    bool Stopped = false;
};

}  // namespace tarvex
