#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// Mailer files name DOS paths ("C:\T-MAIL\T-MAIL.CTL"). Everything that turns such a text into
// a file of this machine goes through here, so that the rest of the core keeps the mailer's
// own path texts (they appear in views and reports) and never touches the file system itself.

// A name from a mailer's configuration that holds no directory separator lies in the mailer's
// directory: mailerPath + "\" + name. Any other name is returned as it is, and so is every name
// when mailerPath is empty.
std::string JoinMailerPath(std::string_view mailerPath, std::string_view name);

// Where a drive letter of mailer paths lives on this machine, e.g. {'C', "/srv/fido"}. Letters
// are case-blind. Without a mapping a drive letter is dropped and the path taken from the root.
void SetDriveMap(const std::map<char, std::string>& map);
void ClearDriveMap();
const std::map<char, std::string>& GetDriveMap();

// The guess for a drive letter the map does not hold, made from the mailer's own folder: the
// folder D such that D followed by the leading folders of the DOS path (matched case-blind) is
// the mailer folder or one of its ancestors, taking as many leading folders as match. With the
// mailer folder /srv/fido/t-mail, "C:\FIDO\T-MAIL\DIR.FRQ" gives C: = /srv, and every later
// path on C: resolves under /srv too. No match, no guess (the letter stands for the root).
// Setting another mailer folder forgets the guesses made for the one before; an empty text,
// or a mailer path that is itself on a drive letter, turns guessing off.
void SetDriveGuessBase(std::string_view mailerPath);
// Called once for each guess made, e.g. to tell the user; empty: guesses are made silently.
using TDriveGuessReport = std::function<void(char letter, const std::string& dir)>;
void SetDriveGuessReport(TDriveGuessReport report);
// The guess for a letter, if one was made for the present mailer folder.
std::optional<std::string> DriveGuess(char letter);

// The local path of a mailer path. On POSIX '\' separates, a drive letter goes through the
// drive map, and a component that does not exist under its exact name is matched case-blind
// against its directory's entries (the first in byte order wins), as DOS names are. Components
// from the first one that cannot be found on are kept as written. On Windows the path is
// returned unchanged. Never throws.
std::string ResolvePath(std::string_view path);

// dirs each end with a backslash. The first dir + name that is an existing ordinary file,
// as the mailer-style text dir + name; empty when there is none.
std::string FindFileInDirs(std::string_view name, const std::vector<std::string>& dirs);

// Depth-first search of root (mailer-style, no trailing backslash) for a file named name,
// case-blind. Entries of each directory are visited in byte order, those starting with '.'
// skipped, a subdirectory searched completely when met; a directory reached twice (through
// links) is not entered again. Returns root + "\" + subdirs + "\" + entry, or empty.
std::string FindFileInTree(std::string_view name, std::string_view root);

// Local-path helpers; none of them throws.
bool FileExists(std::string_view localPath);       // exists and is not a directory
bool DirectoryExists(std::string_view localPath);
// The whole file with plain reads (a file that shrinks under us just reads shorter). On failure
// returns false and, when error is given, a message naming the file and the reason.
bool ReadWholeFile(std::string_view localPath, std::string& out, std::string* error = nullptr);
std::vector<std::string> ListDirectory(std::string_view localPath);  // names, byte order; empty on error
// The directory part of a path ("a/b/c" -> "a/b", "/x" -> "/", "file" -> "").
std::string ParentDir(std::string_view localPath);

}  // namespace tarvex
