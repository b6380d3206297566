#pragma once
#include <string>
#include <string_view>

namespace tarvex {

// Writing and replacing files. Each returns false and fills *error on failure, never throws.

// Creates (or truncates) the file and writes all of data; false when any byte was not written.
bool WriteWholeFile(std::string_view localPath, std::string_view data, std::string* error = nullptr);
// Renames, replacing an existing target.
bool RenameFile(std::string_view from, std::string_view to, std::string* error = nullptr);
bool RemoveFile(std::string_view localPath, std::string* error = nullptr);

// Replaces the file's contents so that it is either fully rewritten or left as it was: the new
// bytes go to a file beside it first, flushed to the disk, which then takes the old one's place
// in one rename. With backupPath given, the old file survives under that name; the earlier
// backup is replaced only once the old file is there, so a crash never leaves the file or a
// backup missing.
bool ReplaceFileContents(std::string_view localPath, std::string_view data, std::string_view backupPath,
                         std::string* error = nullptr);

}  // namespace tarvex
