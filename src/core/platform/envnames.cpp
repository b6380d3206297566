#include "platform/envnames.h"

#include <cstdlib>
#include <optional>

namespace tarvex {

namespace {

std::map<std::string, std::string> UserNames;  // keys upper-cased

std::string Upper(std::string_view s)
{
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return u;
}

// A name as DOS wrote it: letters, digits and the few signs set accepts; anything else (a blank,
// a backslash) means the two '%' do not enclose a name.
bool IsName(std::string_view name)
{
    if (name.empty())
        return false;
    for (const char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                        c == '-' || c == '.' || c == '$' || c == '#' || c == '@';
        if (!ok)
            return false;
    }
    return true;
}

std::optional<std::string> LookUp(std::string_view name)
{
    const std::string upper = Upper(name);
    if (const auto it = UserNames.find(upper); it != UserNames.end())
        return it->second;
    for (const std::string& candidate : {std::string(name), upper})
        if (const char* value = std::getenv(candidate.c_str()))
            return std::string(value);
    return std::nullopt;
}

// Calls visit(open, close, name) for each %NAME% from left to right; visit returns where the
// scan goes on.
template <typename TVisit>
void ForEachName(std::string_view text, TVisit visit)
{
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t open = text.find('%', from);
        if (open == std::string_view::npos)
            return;
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos)
            return;
        const std::string_view name = text.substr(open + 1, close - open - 1);
        if (!IsName(name)) {
            from = close;  // the second '%' may open the next name
            continue;
        }
        from = visit(open, close, name);
    }
}

}  // namespace

void SetEnvironmentNames(const std::map<std::string, std::string>& names)
{
    UserNames.clear();
    for (const auto& [name, value] : names)
        UserNames[Upper(name)] = value;
}

const std::map<std::string, std::string>& GetEnvironmentNames() { return UserNames; }

void ExpandEnvironmentNames(std::string& text)
{
    if (text.find('%') == std::string::npos)
        return;
    std::string out;
    std::size_t copied = 0;
    ForEachName(text, [&](std::size_t open, std::size_t close, std::string_view name) {
        const std::optional<std::string> value = LookUp(name);
        if (!value)
            return close + 1;
        out.append(text, copied, open - copied);
        out += *value;
        copied = close + 1;
        return close + 1;  // a value is never searched for names again
    });
    if (copied == 0)
        return;
    out.append(text, copied);
    text.swap(out);
}

std::string UndefinedNameMessage(std::string_view path)
{
    std::string message;
    ForEachName(path, [&](std::size_t, std::size_t close, std::string_view name) {
        if (message.empty() && !LookUp(name))
            message = "%" + std::string(name) + "% is not defined: set it under Environment or with --env " +
                      std::string(name) + "=DIR";
        return close + 1;
    });
    return message;
}

}  // namespace tarvex
