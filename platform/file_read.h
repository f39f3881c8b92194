// Reading a file of unknown trust whole: a failing disk, a network file system or a special file
// (such as /proc/self/mem, whose reads fail) gives a result, never an exception or an abort.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class DiskRead {
    Read,     // the bytes are there
    Missing,  // no such file (or its folder cannot be looked into)
    NotAFile, // a folder, a device, a pipe: nothing the game reads
    NoAccess, // there, but it will not open (no read permission)
    Failed,   // the read itself failed part way (an I/O error)
};

// The size of a plain file of that name; none for anything else (a folder, a device, nothing).
std::optional<std::uint64_t> PlainFileSize(const std::string& path);
inline bool IsPlainFile(const std::string& path) {
    return PlainFileSize(path).has_value();
}

// Reads up to `limit` bytes of the file into `bytes`, and one more when there is one, so that
// the caller can tell a file longer than the limit: memory stays bounded, whatever size the file
// claims. On anything but Read, `bytes` is left empty.
DiskRead ReadFileBytes(const std::string& path, std::size_t limit,
                       std::vector<std::uint8_t>& bytes);
// The same into text (a recording), without a copy.
DiskRead ReadFileBytes(const std::string& path, std::size_t limit, std::string& bytes);

// std::fopen for a file the game writes (a recording, a trace), with the path in UTF-8 on every
// system: Windows would read a narrow path in its ANSI code page instead. Sets errno on failure.
std::FILE* OpenForWriting(const std::string& path, const char* mode);

} // namespace platform
