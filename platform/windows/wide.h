// Windows speaks UTF-16 in its wide calls; the game's strings (paths from SDL, the command line
// SDL hands over, the texts of the game) are UTF-8. Every path crosses here, never through the
// ANSI code page, which cannot hold most of the world's file names.
#pragma once

#include <optional>
#include <string>

namespace platform::windows {

// The UTF-16 form of a UTF-8 text; none when the text is not valid UTF-8.
std::optional<std::wstring> Widen(const std::string& utf8);

} // namespace platform::windows
