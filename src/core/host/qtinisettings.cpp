#include "host/qtinisettings.h"

namespace tarvex {

namespace {

int HexValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A section or value name as the INI file writes it: "%XX" and "%UXXXX" are characters,
// a backslash is the group separator '/'. The result is UTF-8.
std::string UnescapeKey(std::string_view k)
{
    std::string out;
    for (std::size_t i = 0; i < k.size(); ++i) {
        if (k[i] == '\\') {
            out += '/';
        } else if (k[i] == '%' && i + 5 < k.size() && k[i + 1] == 'U' && HexValue(k[i + 2]) >= 0 &&
                   HexValue(k[i + 3]) >= 0 && HexValue(k[i + 4]) >= 0 && HexValue(k[i + 5]) >= 0) {
            char32_t c = 0;
            for (std::size_t j = 2; j < 6; ++j)
                c = c * 16 + static_cast<char32_t>(HexValue(k[i + j]));
            AppendUtf8(out, c);
            i += 5;
        } else if (k[i] == '%' && i + 2 < k.size() && HexValue(k[i + 1]) >= 0 && HexValue(k[i + 2]) >= 0) {
            AppendUtf8(out, static_cast<char32_t>(HexValue(k[i + 1]) * 16 + HexValue(k[i + 2])));
            i += 2;
        } else
            out += k[i];
    }
    return out;
}

// A value: blanks outside quotes dropped at both ends, quotes removed, backslash escapes read.
// Characters given as escapes are bytes in a byte array and UTF-8 in a string.
std::string UnescapeValue(std::string_view v, bool bytes)
{
    std::string out;
    bool quoted = false;
    std::size_t lastKept = 0;  // length of out up to the last character that was not an outer blank
    auto put = [&](char32_t c) {
        if (bytes || c < 0x80)
            out += static_cast<char>(c & 0xFF);
        else
            AppendUtf8(out, c);
        lastKept = out.size();
    };
    std::size_t i = 0;
    while (i < v.size() && (v[i] == ' ' || v[i] == '\t'))
        ++i;
    for (; i < v.size(); ++i) {
        const char c = v[i];
        if (c == '"') {
            quoted = !quoted;
            lastKept = out.size();
            continue;
        }
        if (c != '\\' || i + 1 >= v.size()) {
            out += c;
            if (quoted || (c != ' ' && c != '\t'))
                lastKept = out.size();
            continue;
        }
        const char e = v[++i];
        switch (e) {
        case 'a': put('\a'); break;
        case 'b': put('\b'); break;
        case 'f': put('\f'); break;
        case 'n': put('\n'); break;
        case 'r': put('\r'); break;
        case 't': put('\t'); break;
        case 'v': put('\v'); break;
        case 'x': {
            char32_t n = 0;
            while (i + 1 < v.size() && HexValue(v[i + 1]) >= 0 && n < 0x10000)
                n = n * 16 + static_cast<char32_t>(HexValue(v[++i]));
            put(n);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                char32_t n = static_cast<char32_t>(e - '0');
                while (i + 1 < v.size() && v[i + 1] >= '0' && v[i + 1] <= '7' && n < 0x1000)
                    n = n * 8 + static_cast<char32_t>(v[++i] - '0');
                put(n);
            } else
                put(static_cast<unsigned char>(e));
        }
    }
    out.resize(lastKept);
    return out;
}

std::string ReadValueText(std::string_view raw)
{
    std::string_view t = raw;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    constexpr std::string_view kBytes = "@ByteArray(";
    if (t.substr(0, kBytes.size()) == kBytes) {
        std::string v = UnescapeValue(t, true);
        if (v.size() > kBytes.size() && v.back() == ')')
            return v.substr(kBytes.size(), v.size() - kBytes.size() - 1);
        return v;
    }
    std::string v = UnescapeValue(t, false);
    if (v.size() >= 2 && v[0] == '@' && v[1] == '@')
        v.erase(0, 1);
    return v;
}

}  // namespace

std::string DecodeSettingsName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '%' && i + 2 < name.size() && HexValue(name[i + 1]) >= 0 && HexValue(name[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(name[i + 1]) * 16 + HexValue(name[i + 2]));
            i += 2;
        } else
            out += name[i];
    }
    return out;
}

void ReadQtIniSettings(std::string_view text, TMemorySettings& into)
{
    std::string group;  // the section as the store names it; empty: values outside any group
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos)
                continue;
            const std::string_view name = line.substr(1, close - 1);
            // "[General]" holds values outside any group; a group really named General is "[%General]".
            if (name.size() == 7 && (name[0] == 'G' || name[0] == 'g') && name.substr(1) == "eneral")
                group.clear();
            else if (name == "%General")
                group = "General";
            else
                group = UnescapeKey(name);
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        std::string_view rawKey = line.substr(0, eq);
        while (!rawKey.empty() && (rawKey.back() == ' ' || rawKey.back() == '\t'))
            rawKey.remove_suffix(1);
        // A key path "a/b" inside a group puts the value into the deeper group.
        std::string key = group.empty() ? UnescapeKey(rawKey) : group + "/" + UnescapeKey(rawKey);
        const std::size_t slash = key.rfind('/');
        if (slash == std::string::npos)
            continue;  // the store keeps every value inside a section
        into.WriteString(DecodeSettingsName(key.substr(0, slash)), DecodeSettingsName(key.substr(slash + 1)),
                         ReadValueText(line.substr(eq + 1)));
    }
}

}  // namespace tarvex
