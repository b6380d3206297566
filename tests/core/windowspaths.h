#pragma once
// On Windows a mailer's DOS path is a path of the machine as it stands (platform/paths): no
// drive map and no guesses, '\' kept, upper and lower case left to the file system. Tests of
// the mapping that other systems need have nothing to check there; windows_test.cpp checks
// what Windows does instead.
#include <gtest/gtest.h>

#ifdef _WIN32
#define TARVEX_SKIP_ON_WINDOWS_PATHS() GTEST_SKIP() << "DOS paths are the machine's own on Windows"
#else
#define TARVEX_SKIP_ON_WINDOWS_PATHS() static_cast<void>(0)
#endif

namespace tarvex::testing {

// What joins a local folder and a file of the mailer in the paths the program names.
#ifdef _WIN32
inline constexpr const char* kMailerJoin = "\\";
#else
inline constexpr const char* kMailerJoin = "/";
#endif

// Whether a drive letter of a mailer path is this machine's own, out of the drive map's reach:
// a fixture then names its files without one.
#ifdef _WIN32
inline constexpr bool kDrivesAreTheMachines = true;
#else
inline constexpr bool kDrivesAreTheMachines = false;
#endif

}  // namespace tarvex::testing
