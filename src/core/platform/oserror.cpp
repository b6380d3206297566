#include "platform/oserror.h"

#include <system_error>

namespace tarvex::platform {

#ifdef _WIN32
std::wstring Widen(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

std::string LastErrorText(const std::string& what)
{
    const DWORD code = GetLastError();
    return what + ": " + std::system_category().message(static_cast<int>(code)) + " (" + std::to_string(code) + ")";
}
#else
std::string ErrnoText(const std::string& what, int code)
{
    return what + ": " + std::generic_category().message(code) + " (" + std::to_string(code) + ")";
}
#endif

}  // namespace tarvex::platform
