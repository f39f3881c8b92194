// Sound on the headless backend: every request goes to the trace, and a synchronous wave holds
// the virtual clock for as long as the wave lasts.
#include "platform/desktop.h"
#include "platform/file_read.h"
#include "platform/headless/headless.h"
#include "platform/sound.h"
#include "platform/trace.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

namespace {

std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// Length of a RIFF wave in milliseconds, or nothing when the file is not one or cannot be read.
std::optional<std::uint32_t> WaveLengthMs(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (ReadFileBytes(path, SIZE_MAX, bytes) != DiskRead::Read) return std::nullopt;
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE")
        return std::nullopt;
    std::uint32_t byteRate = 0;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const std::string id(bytes.begin() + pos, bytes.begin() + pos + 4);
        const std::uint32_t size = Le32(&bytes[pos + 4]);
        const std::size_t body = pos + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size())
            byteRate = Le32(&bytes[body + 8]);
        if (id == "data") {
            if (byteRate == 0) return std::nullopt;
            const std::uint64_t available = std::min<std::uint64_t>(size, bytes.size() - body);
            return std::uint32_t(available * 1000 / byteRate);
        }
        pos = body + std::size_t(size) + (size & 1);
    }
    return std::nullopt;
}

bool IsMidi(const std::string& path) {
    std::vector<std::uint8_t> head;
    return ReadFileBytes(path, 4, head) == DiskRead::Read && head.size() >= 4 &&
           std::string(head.begin(), head.begin() + 4) == "MThd";
}

struct Music {
    bool open = false;
    std::string file;
};
Music g_music;

} // namespace

namespace desktop {

bool sndPlaySound(const std::string& path, int flags) {
    const auto length = WaveLengthMs(path);
    if (!length) return false;
    if (flags == SND_SYNC) headless::AdvanceClock(*length);
    return true;
}

int mciSendString(std::string_view command) {
    const std::string cmd(command);
    if (cmd == "status bgm mode") return g_music.open ? 0 : 263;
    if (cmd == "close bgm") {
        if (!g_music.open) return 263;
        TraceEvent("music").add("do", "close").add("file", g_music.file);
        g_music = {};
        return 0;
    }
    if (cmd == "play bgm notify") {
        if (!g_music.open) return 263;
        TraceEvent("music").add("do", "play").add("file", g_music.file);
        return 0;
    }
    const std::string open = "open ", alias = " alias bgm";
    if (cmd.size() > open.size() + alias.size() && cmd.starts_with(open) && cmd.ends_with(alias)) {
        const std::string path = cmd.substr(open.size(), cmd.size() - open.size() - alias.size());
        if (g_music.open) return 289; // the alias is taken
        const bool ok = IsMidi(path);
        TraceEvent("music").add("do", "open").add("file", BaseName(path)).add("ok", ok);
        if (!ok) return 275;
        g_music = {true, BaseName(path)};
        return 0;
    }
    return 261;
}

} // namespace desktop

namespace headless {
void ResetSound() {
    g_music = {};
}
} // namespace headless

} // namespace platform
