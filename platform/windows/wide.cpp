#include "platform/windows/wide.h"

#include <climits>
#include <windows.h>

namespace platform::windows {

std::optional<std::wstring> Widen(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    if (utf8.size() > std::size_t(INT_MAX)) return std::nullopt;
    const int length = int(utf8.size());
    const int wideLength =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (wideLength <= 0) return std::nullopt;
    std::wstring wide(std::size_t(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                        wideLength);
    // A path with a NUL inside names some other file than the one asked for.
    if (wide.find(L'\0') != std::wstring::npos) return std::nullopt;
    return wide;
}

} // namespace platform::windows
