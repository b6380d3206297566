#pragma once
// What the fuzz targets share: the input as text, splitting one input into several files, and a
// scratch folder of the running process for targets that must read real files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every target defines this; libFuzzer or the replay program calls it once per input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace tarvex::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return size == 0 ? std::string_view() : std::string_view(reinterpret_cast<const char*>(data), size);
}

// Separates the files of one input: "main file" kFileMark "first include" kFileMark ...
inline constexpr std::string_view kFileMark = "\n%%FILE%%\n";

// The input cut at each kFileMark, at most maxParts pieces (the last one keeps the rest).
std::vector<std::string_view> SplitFiles(std::string_view input, std::size_t maxParts);
// The inverse, for the seed generator.
std::string JoinFiles(const std::vector<std::string>& files);

// A folder of its own for this process and target, made on first use and removed at exit.
const std::string& ScratchDir(std::string_view target);
// Writes bytes to dir/name exactly, replacing what was there; false when it cannot.
bool WriteScratchFile(const std::string& path, std::string_view bytes);

// Whether a text names something that a target must not reach from its scratch folder: device,
// process and system trees (a device file would block the reader or never end), or a parent
// folder. Targets that follow names from their input skip such inputs.
bool NamesOutsideScratch(std::string_view text);

// One byte of the input as a small choice; 0 when the input is shorter.
inline unsigned ByteAt(std::string_view input, std::size_t i)
{
    return i < input.size() ? static_cast<unsigned char>(input[i]) : 0u;
}

}  // namespace tarvex::fuzz
