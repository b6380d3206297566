#pragma once
// Scratch directories and byte builders for the language table and configuration tests.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvex::test {

class TTempDir
{
public:
    TTempDir()
    {
        // A fresh name of our own (mkdtemp is POSIX only); create_directory fails on a taken one.
        std::random_device rd;
        for (int attempt = 0; Root.empty(); ++attempt) {
            const auto p = std::filesystem::temp_directory_path() / ("tarvex-mcfg-" + std::to_string(rd()));
            if (std::filesystem::create_directory(p))
                Root = p;
            else if (attempt == 100)
                throw std::runtime_error("no scratch folder");
        }
    }
    ~TTempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(Root, ec);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // Writes bytes to a path relative to the root, creating directories; returns the full path.
    std::string Write(std::string_view rel, std::string_view bytes) const
    {
        const std::filesystem::path p = Root / std::filesystem::path(std::string(rel));
        std::filesystem::create_directories(p.parent_path());
        std::ofstream f(p, std::ios::binary);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }
    std::string Path(std::string_view rel = {}) const
    {
        return rel.empty() ? Root.string() : (Root / std::filesystem::path(std::string(rel))).string();
    }

private:
    std::filesystem::path Root;
};

inline std::string Le16(unsigned v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

inline std::string Le32(std::uint32_t v)
{
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}

// A string literal with embedded NULs, e.g. Bytes("A\0B").
template <std::size_t N>
std::string Bytes(const char (&s)[N])
{
    return std::string(s, N - 1);
}

}  // namespace tarvex::test
