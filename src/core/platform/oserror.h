#pragma once
// What the platform's file code shares: the text of a system error, and on Windows the wide
// file names and the share mode that lets a mailer go on writing, renaming and deleting.
#include <string>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // MinGW's C++ headers define it already
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace tarvex::platform {

#ifdef _WIN32
std::wstring Widen(const std::string& utf8);
// what, the system's text of GetLastError() and its number.
std::string LastErrorText(const std::string& what);
inline constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
#else
// what, the system's text of errno code and its number.
std::string ErrnoText(const std::string& what, int code);
#endif

}  // namespace tarvex::platform
