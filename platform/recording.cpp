#include "platform/recording.h"

#include "platform/file_read.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <utility>

namespace platform {

namespace {

constexpr std::size_t kLineWidth = 100; // a run line is closed once it is this long

// --- reading -------------------------------------------------------------------------------

constexpr std::string_view kBase64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Value(char c) {
    const auto at = kBase64.find(c);
    return at == std::string_view::npos ? -1 : int(at);
}

// Bytes that `len` characters of base64 stand for, or -1 when they are not base64.
long long Base64Size(std::string_view text) {
    if (text.size() % 4 != 0) return -1;
    std::size_t pad = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 >= text.size() && i % 4 >= 2) {
            ++pad;
            continue;
        }
        if (pad > 0 || Base64Value(text[i]) < 0) return -1;
    }
    return (long long)(text.size() / 4 * 3 - pad);
}

bool ParseUnsigned(std::string_view text, std::uint64_t max, std::uint64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value <= max;
}

bool ParseSigned(std::string_view text, long long min, long long max, int& value) {
    long long v = 0;
    if (text.empty() || text.size() > 20) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < min || v > max) return false;
    value = int(v);
    return true;
}

// Names of windows, controls, menu items, timers and files: printable, without blanks.
constexpr std::size_t kMaxNameBytes = 256;

bool IsNameByte(unsigned char c) {
    return c > ' ' && c != 0x7F;
}

bool IsName(std::string_view text) {
    if (text.empty() || text.size() > kMaxNameBytes) return false;
    for (unsigned char c : text)
        if (!IsNameByte(c)) return false;
    return true;
}

// FNV-1a: the same on every machine, for a recording made on one and played on another.
std::string NameHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037u;
    for (unsigned char c : text)
        hash = (hash ^ c) * 1099511628211u;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

struct Words {
    std::vector<std::string_view> list;
    std::vector<std::size_t> offsets; // of each word in the line
};

Words Split(std::string_view line) {
    Words w;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start) {
            w.list.push_back(line.substr(start, i - start));
            w.offsets.push_back(start);
        }
    }
    return w;
}

// A file's status as a recording writes it, by FileRead::Status.
constexpr std::array<std::string_view, 6> kFileStatusWords{
    "read", "missing", "not-a-file", "too-large", "cannot-open", "read-failed"};

class Parser {
  public:
    Parser(Recording& out, std::string& error) : out_(out), error_(error) {}

    bool parse() {
        const std::string& text = out_.text;
        std::size_t pos = 0;
        int number = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find('\n', pos);
            if (end == std::string::npos) break; // cut in the middle of a line
            ++number;
            std::string_view line(text.data() + pos, end - pos);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!parseLine(number, line, pos)) return false;
            out_.lines = number;
            pos = end + 1;
        }
        if (number == 0) return fail("not a Vexaro!! recording");
        if (steps_ > kMaxRecordingSteps)
            return fail("too long to play: more than " + std::to_string(kMaxRecordingSteps) +
                        " tick reads and message steps");
        return true;
    }

  private:
    bool fail(const std::string& why) {
        error_ = why;
        return false;
    }
    bool failAt(const std::string& why) {
        return fail("line " + std::to_string(line_) + ": " + why);
    }

    bool parseLine(int number, std::string_view line, std::size_t offset) {
        line_ = number;
        if (number == 1) return parseMagic(line);
        if (line.empty() || line.front() == '#') return true;
        if (out_.complete) return failAt("nothing may follow the end");
        const Words w = Split(line);
        if (w.list.empty()) return true;
        const std::string_view word = w.list[0];
        if (!inBody_) {
            const Header header = parseHeader(w);
            if (header != Header::No) return header == Header::Good;
        }
        inBody_ = true;
        if (word == "r" || word == "s") return parseRuns(w, word == "r");
        return parseItem(w, offset);
    }

    bool parseMagic(std::string_view line) {
        const Words w = Split(line);
        std::uint64_t version = 0;
        if (w.list.size() != 2 || w.list[0] != kRecordingMagic ||
            !ParseUnsigned(w.list[1], 1u << 30, version) || version == 0)
            return fail("not a Vexaro!! recording");
        if (version > std::uint64_t(kRecordingVersion))
            return fail("made by a newer Vexaro!! (recording format " + std::to_string(version) +
                        "; this game plays format " + std::to_string(kRecordingVersion) + ")");
        return true;
    }

    enum class Header { No, Good, Bad };

    // A line of the header: a key and its value.
    Header parseHeader(const Words& w) {
        const std::string_view key = w.list[0];
        if (key == "made-by") return Header::Good; // for people only
        struct Field {
            std::string_view key;
            std::uint64_t min, max;
            const char* fault;
        };
        static constexpr Field kFields[] = {
            {"start-tick", 0, 0xFFFFFFFFu, "start-tick needs a number from 0 to 4294967295"},
            {"dpi", 24, 960, "dpi needs a number from 24 to 960"},
            {"first-round", 1, 9999, "first-round needs a round number from 1 to 9999"},
        };
        for (const Field& f : kFields) {
            if (key != f.key) continue;
            std::uint64_t v = 0;
            if (w.list.size() != 2 || !ParseUnsigned(w.list[1], f.max, v) || v < f.min) {
                failAt(f.fault);
                return Header::Bad;
            }
            if (key == "start-tick") out_.startTick = std::uint32_t(v);
            if (key == "dpi") out_.dpi = int(v);
            if (key == "first-round") out_.firstRound = int(v);
            return Header::Good;
        }
        return Header::No;
    }

    // A run line's words: "D*N" for N of D milliseconds each, or packed runs, a character each:
    // a digit for one of that many milliseconds, a letter for 1 (a) to 26 (z) of 1 millisecond.
    bool parseRuns(const Words& w, bool reads) {
        if (w.list.size() < 2) return failAt("a run line needs at least one run");
        for (std::size_t i = 1; i < w.list.size(); ++i) {
            const std::string_view token = w.list[i];
            const auto star = token.find('*');
            std::uint64_t delta = 0, count = 0;
            if (star != std::string_view::npos) {
                if (!ParseUnsigned(token.substr(0, star), 0xFFFFFFFFu, delta) ||
                    !ParseUnsigned(token.substr(star + 1), kMaxRecordingSteps, count) || count == 0)
                    return failAt("bad run \"" + std::string(token) + "\"");
                addRun(reads, std::uint32_t(delta), std::uint32_t(count));
                continue;
            }
            for (char c : token) {
                if (c >= '0' && c <= '9')
                    addRun(reads, std::uint32_t(c - '0'), 1);
                else if (c >= 'a' && c <= 'z')
                    addRun(reads, 1, std::uint32_t(c - 'a' + 1));
                else
                    return failAt("bad run \"" + std::string(token) + "\"");
            }
        }
        return true;
    }

    // Adds to the last run when it is of the same length and on this line.
    void addRun(bool reads, std::uint32_t delta, std::uint32_t count) {
        steps_ += count;
        if (reads) {
            auto& runs = out_.reads;
            if (!runs.empty() && runs.back().delta == delta && runs.back().line == line_ &&
                runs.back().count <= kMaxRecordingSteps)
                runs.back().count += count;
            else
                runs.push_back({delta, count, line_});
            return;
        }
        auto& items = out_.items;
        if (!items.empty() && items.back().kind == RecordedItem::Kind::Steps &&
            items.back().delta == delta && items.back().line == line_ &&
            items.back().count <= kMaxRecordingSteps) {
            items.back().count += count;
            return;
        }
        RecordedItem item;
        item.kind = RecordedItem::Kind::Steps;
        item.delta = delta;
        item.count = count;
        item.line = line_;
        items.push_back(item);
    }

    bool parseItem(const Words& words, std::size_t offset) {
        std::vector<std::string_view> w = words.list;
        std::vector<std::size_t> at = words.offsets;
        RecordedItem item;
        item.line = line_;
        if (w[0].front() == '+') {
            std::uint64_t delta = 0;
            if (!ParseUnsigned(w[0].substr(1), 0xFFFFFFFFu, delta))
                return failAt("bad clock step \"" + std::string(w[0]) + "\"");
            item.delta = std::uint32_t(delta);
            w.erase(w.begin());
            at.erase(at.begin());
            if (w.empty()) return failAt("a clock step needs what came with it");
        }
        ++steps_;
        const std::string_view word = w[0];
        const std::size_t args = w.size() - 1;
        auto arg = [&](std::size_t i) { return i < w.size() ? w[i] : std::string_view(); };
        auto name = [&](std::size_t i, std::string& into) {
            if (!IsName(arg(i))) return false;
            into = std::string(arg(i));
            return true;
        };
        auto whole = [&](std::size_t i, long long min, long long max, int& into) {
            return ParseSigned(arg(i), min, max, into);
        };
        using K = RecordedItem::Kind;
        bool ok = false;
        if (word == "down" || word == "pad-down") {
            item.kind = K::KeyDown;
            item.pad = word == "pad-down";
            // A pad's keys are the main window's, or nobody's.
            ok = (args == 1 ||
                  (args == 2 && name(2, item.form) && (!item.pad || item.form == "-"))) &&
                 whole(1, 1, 255, item.value);
        } else if (word == "up" || word == "pad-up") {
            item.kind = K::KeyUp;
            item.pad = word == "pad-up";
            ok = args == 1 && whole(1, 1, 255, item.value);
        } else if (word == "menu" || word == "timer") {
            item.kind = word == "menu" ? K::Menu : K::Timer;
            ok = args == 1 && name(1, item.name);
        } else if (word == "close") {
            item.kind = K::Close;
            ok = args == 1 && name(1, item.form);
        } else if (word == "click" || word == "move") {
            item.kind = word == "click" ? K::Click : K::Move;
            ok = args == 4 && name(1, item.form) && name(2, item.name) &&
                 whole(3, -1000000, 1000000, item.value) && whole(4, -1000000, 1000000, item.y);
        } else if (word == "wheel") {
            item.kind = K::Wheel;
            ok = args == 2 && name(1, item.form) && whole(2, -10000, 10000, item.value);
        } else if (word == "msgbox" || word == "shell" || word == "mci") {
            item.kind = word == "msgbox" ? K::MsgBox : word == "shell" ? K::Shell : K::Mci;
            ok = args == 1 && whole(1, INT32_MIN, INT32_MAX, item.value);
        } else if (word == "exists") {
            item.kind = K::Exists;
            ok = args == 2 && whole(1, 0, 1, item.value) && name(2, item.name);
        } else if (word == "instance") {
            item.kind = K::Instance;
            ok = args == 1 && whole(1, 0, 1, item.value);
        } else if (word == "wave") {
            item.kind = K::Wave;
            ok = args == 0;
        } else if (word == "file") {
            item.kind = K::File;
            if (!(args >= 2 && name(1, item.name))) return failAt("bad file line");
            return parseFile(item, w, at, offset);
        } else if (word == "end") {
            item.kind = K::End;
            int status = 0;
            ok = args == 1 && (arg(1) == "stop" || arg(1) == "exit" || whole(1, 0, 255, status));
            item.name = std::string(arg(1));
            out_.complete = ok;
        } else {
            return failAt("unknown \"" + std::string(word) + "\"");
        }
        if (!ok) return failAt("bad " + std::string(word) + " line");
        out_.items.push_back(item);
        return true;
    }

    bool parseFile(RecordedItem& item, const std::vector<std::string_view>& w,
                   const std::vector<std::size_t>& at, std::size_t offset) {
        const std::string_view status = w[2];
        std::uint64_t size = 0;
        if (status == "same" && w.size() == 3) {
            const auto last = lastRead_.find(item.name);
            if (last == lastRead_.end()) return failAt("no earlier read of " + item.name);
            item.size = last->second.size;
            item.at = last->second.at;
            item.len = last->second.len;
        } else if (status == "too-large" && w.size() == 4 &&
                   ParseUnsigned(w[3], UINT64_MAX / 2, size)) {
            item.value = 3;
            item.size = size;
        } else if (status == "read" && w.size() == 5 &&
                   ParseUnsigned(w[3], kMaxRecordingBytes, size)) {
            const std::string_view data = w[4] == "-" ? std::string_view() : w[4];
            if (Base64Size(data) != (long long)size)
                return failAt("the file's bytes are not " + std::to_string(size) +
                              " bytes of base64");
            item.size = size;
            item.at = w[4] == "-" ? 0 : offset + at[4];
            item.len = data.size();
            lastRead_[item.name] = item;
        } else {
            bool known = false;
            for (int value = 0; value < int(kFileStatusWords.size()); ++value)
                if (kFileStatusWords[value] == status && value != 0 && value != 3 &&
                    w.size() == 3) {
                    item.value = value;
                    known = true;
                }
            if (!known) return failAt("bad file line");
        }
        out_.items.push_back(item);
        return true;
    }

    Recording& out_;
    std::string& error_;
    int line_ = 0;
    bool inBody_ = false;
    std::map<std::string, RecordedItem> lastRead_; // the last bytes read of each file
    std::uint64_t steps_ = 0;
};

} // namespace

std::string_view FileStatusWord(int status) {
    return kFileStatusWords[std::size_t(status)];
}

std::string RecordingName(std::string_view name) {
    std::string word = name.empty() ? "-" : std::string(name);
    if (word.size() > kMaxNameBytes) {
        // Its end (a file's own name), cut between characters, behind a hash of the whole, so
        // that two long names stay apart.
        const std::string hash = NameHash(name) + "~";
        std::size_t from = word.size() - (kMaxNameBytes - hash.size());
        while (from < word.size() && (static_cast<unsigned char>(word[from]) & 0xC0) == 0x80)
            ++from;
        word = hash + word.substr(from);
    }
    for (char& c : word)
        if (!IsNameByte(static_cast<unsigned char>(c))) c = '_';
    return word;
}

bool ParseRecording(std::string text, Recording& out, std::string& error) {
    out = Recording{};
    out.text = std::move(text);
    return Parser(out, error).parse();
}

bool LoadRecording(const std::string& path, Recording& out, std::string& error) {
    std::string text;
    if (ReadFileBytes(path, kMaxRecordingBytes, text) != DiskRead::Read) {
        error = "cannot read " + path;
        return false;
    }
    if (text.size() > kMaxRecordingBytes) {
        error = path + ": too large for a recording (over " +
                std::to_string(kMaxRecordingBytes >> 20) + " MiB)";
        return false;
    }
    if (!ParseRecording(std::move(text), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

std::vector<std::uint8_t> RecordedFileBytes(const Recording& recording, const RecordedItem& item) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(item.size));
    std::uint32_t bits = 0;
    int held = 0;
    for (std::size_t i = 0; i < item.len; ++i) {
        const int v = Base64Value(recording.text[item.at + i]);
        if (v < 0) break; // the padding
        bits = (bits << 6) | std::uint32_t(v);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(std::uint8_t(bits >> held));
        }
    }
    return bytes;
}

std::string Base64(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t v = std::uint32_t(bytes[i]) << 16;
        if (n > 1) v |= std::uint32_t(bytes[i + 1]) << 8;
        if (n > 2) v |= bytes[i + 2];
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? kBase64[(v >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

// --- writing -------------------------------------------------------------------------------

void RecordingWriter::header(std::uint32_t startTick, int dpi, int firstRound,
                             const std::string& madeBy) {
    out_ += std::string(kRecordingMagic) + " " + std::to_string(kRecordingVersion) + "\n";
    out_ += "# A Vexaro!! recording: docs/recording-format.md says how to read it.\n";
    out_ += "made-by " + madeBy + "\n";
    out_ += "start-tick " + std::to_string(startTick) + "\n";
    out_ += "dpi " + std::to_string(dpi) + "\n";
    out_ += "first-round " + std::to_string(firstRound) + "\n";
}

void RecordingWriter::read(std::uint32_t delta) {
    if (reads_.count > 0 && reads_.delta != delta) emit('r', reads_, readLine_);
    reads_.delta = delta;
    ++reads_.count;
}

void RecordingWriter::stepEnd(std::uint32_t delta) {
    if (steps_.count > 0 && steps_.delta != delta) emit('s', steps_, stepLine_);
    steps_.delta = delta;
    ++steps_.count;
}

// A run as short as it goes: one character for a run of 1-ms reads or steps up to 26 long (the
// real game's usual), or for each of up to three of 0 to 9 ms; "D*N" for anything longer.
void RecordingWriter::emit(char kind, Run& run, Line& line) {
    if (run.count == 0) return;
    auto packed = [&line]() -> std::string& {
        if (!line.packed) line.text += ' ';
        line.packed = true;
        return line.text;
    };
    if (run.delta == 1 && run.count <= 26) {
        packed() += char('a' + run.count - 1);
    } else if (run.delta <= 9 && run.count <= 3) {
        packed().append(run.count, char('0' + run.delta));
    } else {
        line.text += " " + std::to_string(run.delta) + "*" + std::to_string(run.count);
        line.packed = false;
    }
    run.count = 0;
    if (line.text.size() >= kLineWidth) closeLine(kind, line);
}

void RecordingWriter::closeLine(char kind, Line& line) {
    if (line.text.empty()) return;
    out_ += kind;
    out_ += line.text;
    out_ += '\n';
    line = Line{};
}

void RecordingWriter::closeRuns() {
    emit('r', reads_, readLine_);
    closeLine('r', readLine_);
    emit('s', steps_, stepLine_);
    closeLine('s', stepLine_);
}

void RecordingWriter::line(std::uint32_t delta, const std::string& text) {
    // Input belongs after the steps before it; the reads may go on on their line.
    emit('s', steps_, stepLine_);
    closeLine('s', stepLine_);
    if (delta != 0) out_ += "+" + std::to_string(delta) + " ";
    out_ += text;
    out_ += '\n';
}

std::string RecordingWriter::take() {
    return std::exchange(out_, std::string());
}

} // namespace platform
