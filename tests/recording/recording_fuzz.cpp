// Any bytes as a recording: the reader never reads outside them, refuses with one line or
// accepts, and every file it accepts holds what its lines say (the bytes of a file read are as
// many as the line counts, runs are never empty, the steps stay within the limit).
#include "platform/recording.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::Recording r;
    std::string error;
    if (!platform::ParseRecording(std::string(reinterpret_cast<const char*>(data), size), r,
                                  error)) {
        Require(!error.empty() && error.find('\n') == std::string::npos, "one line of fault");
        return 0;
    }
    std::uint64_t steps = 0;
    for (const auto& run : r.reads) {
        Require(run.count > 0, "a run of reads is never empty");
        steps += run.count;
    }
    for (const auto& item : r.items) {
        steps += item.kind == platform::RecordedItem::Kind::Steps ? item.count : 1;
        if (item.kind == platform::RecordedItem::Kind::File && item.value == 0)
            Require(platform::RecordedFileBytes(r, item).size() == item.size,
                    "a file's bytes are as many as its line says");
    }
    Require(steps <= platform::kMaxRecordingSteps, "the steps stay within the limit");
    return 0;
}
