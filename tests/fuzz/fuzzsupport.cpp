#include "fuzzsupport.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace tarvex::fuzz {

std::vector<std::string_view> SplitFiles(std::string_view input, std::size_t maxParts)
{
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < maxParts) {
        const std::size_t at = input.find(kFileMark);
        if (at == std::string_view::npos)
            break;
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + kFileMark.size());
    }
    parts.push_back(input);
    return parts;
}

std::string JoinFiles(const std::vector<std::string>& files)
{
    std::string out;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0)
            out += kFileMark;
        out += files[i];
    }
    return out;
}

namespace {

struct TScratch
{
    std::string Path;
    ~TScratch()
    {
        std::error_code ec;
        fs::remove_all(Path, ec);
    }
};

}  // namespace

const std::string& ScratchDir(std::string_view target)
{
    static std::unique_ptr<TScratch> scratch;
    if (!scratch) {
        std::error_code ec;
        fs::path base = fs::temp_directory_path(ec);
        if (ec)
            base = "/tmp";
        scratch = std::make_unique<TScratch>();
        scratch->Path =
            (base / ("tarvex-fuzz-" + std::string(target) + "-" + std::to_string(::getpid()))).string();
        fs::remove_all(scratch->Path, ec);
        fs::create_directories(scratch->Path, ec);
        if (ec)
            std::abort();  // nothing sensible can be fuzzed without it
    }
    return scratch->Path;
}

bool WriteScratchFile(const std::string& path, std::string_view bytes)
{
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f)
        return false;
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

bool NamesOutsideScratch(std::string_view text)
{
    static constexpr std::string_view kWords[] = {"dev", "proc", "sys", "run", "fifo", "pipe", ".."};
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return std::any_of(std::begin(kWords), std::end(kWords),
                       [&](std::string_view w) { return lower.find(w) != std::string::npos; });
}

}  // namespace tarvex::fuzz
