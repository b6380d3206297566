#include "platform/paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/envnames.h"
#include "base/logutils.h"

namespace fs = std::filesystem;

namespace tarvex {

namespace {

std::map<char, std::string>& DriveMap()
{
    static std::map<char, std::string> map;
    return map;
}

struct TDriveGuesses
{
    std::vector<std::string> Base;  // the mailer folder's components, from the root
    std::map<char, std::string> Made;
    TDriveGuessReport Report;
};

TDriveGuesses& Guesses()
{
    static TDriveGuesses g;
    return g;
}

std::vector<std::string_view> Components(std::string_view path)
{
    std::vector<std::string_view> out;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view comp = path.substr(0, slash);
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
        if (!comp.empty() && comp != ".")
            out.push_back(comp);
    }
    return out;
}

#ifndef _WIN32
// rest: the DOS path after its drive letter, with '/' separators. (On Windows a drive letter is
// a drive of the machine: nothing to guess.)
std::optional<std::string> GuessDrive(char letter, std::string_view rest)
{
    TDriveGuesses& g = Guesses();
    if (g.Base.empty())
        return std::nullopt;
    if (const auto it = g.Made.find(letter); it != g.Made.end())
        return it->second;
    const std::vector<std::string_view> dos = Components(rest);
    const std::size_t k = g.Base.size();
    for (std::size_t j = std::min(dos.size(), k); j > 0; --j) {
        // The mailer folder itself first, then its parent, and so on up.
        for (std::size_t i = k - j + 1; i-- > 0;) {
            bool same = true;
            for (std::size_t n = 0; n < j && same; ++n)
                same = SameText(g.Base[i + n], dos[n]);
            if (!same)
                continue;
            std::string dir;
            for (std::size_t n = 0; n < i; ++n)
                dir += "/" + g.Base[n];
            if (dir.empty())
                dir = "/";
            g.Made[letter] = dir;
            if (g.Report)
                g.Report(letter, dir);
            return dir;
        }
    }
    return std::nullopt;
}

#endif

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string JoinLocal(const std::string& dir, std::string_view name)
{
    if (dir.empty())
        return std::string(name);
    std::string r = dir;
    if (r.back() != '/')
        r += '/';
    r += name;
    return r;
}

bool IsDirectory(const std::string& localPath)
{
    std::error_code ec;
    return fs::is_directory(fs::path(localPath), ec);
}

bool IsRegularFile(const std::string& localPath)
{
    std::error_code ec;
    return fs::is_regular_file(fs::path(localPath), ec);
}

#ifndef _WIN32
std::string ResolvePosix(std::string_view path)
{
    std::string p(path);
    std::replace(p.begin(), p.end(), '\\', '/');

    std::string result;
    std::string_view rest(p);
    if (rest.size() >= 2 && IsDriveLetter(rest[0]) && rest[1] == ':') {
        const char letter = UpCaseChar(rest[0]);
        rest.remove_prefix(2);
        const auto it = DriveMap().find(letter);
        if (it != DriveMap().end() && !it->second.empty())
            result = it->second;
        else if (auto guess = GuessDrive(letter, rest))
            result = std::move(*guess);
        else
            result = "/";
    } else if (!rest.empty() && rest[0] == '/') {
        result = "/";
    }
    const bool trailingSeparator = !rest.empty() && rest.back() == '/';

    bool found = true;  // every component so far exists
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view comp = rest.substr(0, slash);
        rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
        if (comp.empty())
            continue;
        std::string candidate = JoinLocal(result, comp);
        if (found && comp != "." && comp != "..") {
            std::error_code ec;
            if (!fs::exists(fs::path(candidate), ec)) {
                found = false;
                for (const std::string& entry : ListDirectory(result.empty() ? "." : result)) {
                    if (SameText(entry, comp)) {
                        candidate = JoinLocal(result, entry);
                        found = true;
                        break;
                    }
                }
            }
        }
        result = std::move(candidate);
    }
    if (trailingSeparator && !result.empty() && result.back() != '/')
        result += '/';
    return result;
}
#endif

struct TreeSearch
{
    std::string Name;
    std::set<fs::path> Visited;

    static constexpr int MaxDepth = 256;

    std::string Walk(const std::string& localDir, const std::string& mailerDir, int depth)
    {
        if (depth > MaxDepth)
            return {};
        std::error_code ec;
        const fs::path real = fs::canonical(fs::path(localDir), ec);
        if (ec || !Visited.insert(real).second)
            return {};
        for (const std::string& entry : ListDirectory(localDir)) {
            if (entry.empty() || entry[0] == '.')
                continue;
            const std::string local = JoinLocal(localDir, entry);
            const std::string mailer = mailerDir + "\\" + entry;
            if (IsDirectory(local)) {
                std::string hit = Walk(local, mailer, depth + 1);
                if (!hit.empty())
                    return hit;
            } else if (SameText(entry, Name) && IsRegularFile(local)) {
                return mailer;
            }
        }
        return {};
    }
};

}  // namespace

std::string JoinMailerPath(std::string_view mailerPath, std::string_view name)
{
    if (mailerPath.empty() || std::any_of(name.begin(), name.end(), IsSeparator))
        return std::string(name);
    std::string r(mailerPath);
    if (!IsSeparator(r.back()))
        r += '\\';
    r += name;
    return r;
}

void SetDriveMap(const std::map<char, std::string>& map)
{
    DriveMap().clear();
    for (const auto& [letter, root] : map)
        DriveMap()[UpCaseChar(letter)] = root;
}

void ClearDriveMap() { DriveMap().clear(); }

const std::map<char, std::string>& GetDriveMap() { return DriveMap(); }

void SetDriveGuessBase(std::string_view mailerPath)
{
    TDriveGuesses& g = Guesses();
    g.Base.clear();
    g.Made.clear();
    std::string p(mailerPath);
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.empty() || (p.size() >= 2 && IsDriveLetter(p[0]) && p[1] == ':'))
        return;
    try {
        std::error_code ec;
        const fs::path absolute = fs::absolute(fs::path(p), ec);
        if (ec)
            return;
        const std::string normal = absolute.lexically_normal().generic_string();
        for (const std::string_view comp : Components(normal))
            g.Base.emplace_back(comp);
    } catch (...) {
        g.Base.clear();
    }
}

void SetDriveGuessReport(TDriveGuessReport report) { Guesses().Report = std::move(report); }

std::optional<std::string> DriveGuess(char letter)
{
    const auto it = Guesses().Made.find(UpCaseChar(letter));
    if (it == Guesses().Made.end())
        return std::nullopt;
    return it->second;
}

std::string ResolvePath(std::string_view path)
{
#ifdef _WIN32
    return std::string(path);
#else
    try {
        return ResolvePosix(path);
    } catch (...) {
        // Out of memory or a file-system oddity: the plain conversion is still a usable answer.
        try {
            std::string p(path);
            std::replace(p.begin(), p.end(), '\\', '/');
            return p;
        } catch (...) {
            return {};
        }
    }
#endif
}

std::string FindFileInDirs(std::string_view name, const std::vector<std::string>& dirs)
{
    for (const std::string& dir : dirs) {
        std::string text = dir + std::string(name);
        if (IsRegularFile(ResolvePath(text)))
            return text;
    }
    return {};
}

std::string FindFileInTree(std::string_view name, std::string_view root)
{
    if (name.empty())
        return {};
    const std::string mailerRoot = NoTrailingBackslash(root);
    TreeSearch search{std::string(name), {}};
    try {
        return search.Walk(ResolvePath(mailerRoot), mailerRoot, 0);
    } catch (...) {
        return {};
    }
}

bool FileExists(std::string_view localPath)
{
    std::error_code ec;
    const fs::path p(localPath);
    return fs::exists(p, ec) && !fs::is_directory(p, ec);
}

bool DirectoryExists(std::string_view localPath)
{
    return IsDirectory(std::string(localPath));
}

bool ReadWholeFile(std::string_view localPath, std::string& out, std::string* error)
{
    out.clear();
    const std::string name(localPath);
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (f == nullptr) {
        if (error) {
            const std::string undefined = UndefinedNameMessage(name);
            *error = undefined.empty() ? "Cannot open file \"" + name + "\": " + std::strerror(errno) : undefined;
        }
        return false;
    }
    // Size the buffer from the file's length, but read on to the real end: the mailer may be
    // appending while we read.
    std::size_t have = 0;
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(name), ec)) {
        std::fclose(f);
        if (error)
            *error = "Cannot read file \"" + name + "\": not a regular file";
        return false;
    }
    const auto size = fs::file_size(fs::path(name), ec);
    if (!ec && size > 0)
        out.resize(static_cast<std::size_t>(size) + 1);
    bool ok = true;
    for (;;) {
        if (have == out.size())
            out.resize(out.size() * 2 + 65536);
        const std::size_t n = std::fread(out.data() + have, 1, out.size() - have, f);
        have += n;
        if (n == 0) {
            if (std::ferror(f)) {
                ok = false;
                if (error)
                    *error = "Cannot read file \"" + name + "\": " + std::strerror(errno);
            }
            break;
        }
    }
    out.resize(have);
    std::fclose(f);
    if (!ok)
        out.clear();
    return ok;
}

std::vector<std::string> ListDirectory(std::string_view localPath)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(localPath), ec);
    if (ec)
        return names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ParentDir(std::string_view localPath)
{
    std::string p(localPath);
    while (p.size() > 1 && (p.back() == '/' || p.back() == static_cast<char>(fs::path::preferred_separator)))
        p.pop_back();
    return fs::path(p).parent_path().string();
}

}  // namespace tarvex
