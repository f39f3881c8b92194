#include "tools/rounds/round_text.h"

#include "stage/round_file.h"

#include <cstdio>
#include <optional>
#include <sstream>

namespace {

// Parameters each keyword uses; a dump always prints these, and any later nonzero ones.
int UsedParams(RoundKeyword kind) {
    switch (kind) {
    case RoundKeyword::RoundRange:
    case RoundKeyword::Rock:
        return 5;
    case RoundKeyword::BmpBox:
        return 6;
    case RoundKeyword::Enemy1:
    case RoundKeyword::Enemy2:
    case RoundKeyword::Enemy3:
    case RoundKeyword::Enemy4:
        return 4;
    case RoundKeyword::Unknown:
        return 0;
    default:
        return 2;
    }
}

std::string Hex8(std::uint32_t v, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, unsigned(v));
    return buffer;
}

std::string QuoteKeyword(const std::string& keyword) {
    std::string out = "\"";
    for (char ch : keyword) {
        const auto c = std::uint8_t(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", unsigned(c));
            out += buffer;
        }
    }
    return out + "\"";
}

std::string RecordLine(const RoundRecord& r) {
    const RoundKeyword kind = r.kind();
    std::string line = kind == RoundKeyword::Unknown ? QuoteKeyword(r.Keyword) : r.Keyword;
    int last = UsedParams(kind);
    for (int i = 0; i < 8; ++i)
        if (r.Param[i] != 0) last = std::max(last, i + 1);
    for (int i = 0; i < last; ++i) {
        const std::int32_t v = r.Param[i];
        line += ' ';
        if (kind == RoundKeyword::RoundRange && i == 2) // the background colour, 0x00BBGGRR
            line += Hex8(std::uint32_t(v), v >= 0 && v <= 0xFFFFFF ? 6 : 8);
        else
            line += std::to_string(v);
    }
    return line;
}

void DumpBytes(const std::vector<std::uint8_t>& bytes, std::size_t from, std::string& out) {
    for (std::size_t at = from; at < bytes.size(); at += 32) {
        out += "!bytes";
        for (std::size_t i = at; i < bytes.size() && i < at + 32; ++i) {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, " %02x", unsigned(bytes[i]));
            out += buffer;
        }
        out += '\n';
    }
}

// --- reading the text form ---------------------------------------------------------------------

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::int32_t> ParseNumber(const std::string& word) {
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        if (word.size() > 10) return std::nullopt;
        std::uint32_t v = 0;
        for (std::size_t i = 2; i < word.size(); ++i) {
            const int d = HexDigit(word[i]);
            if (d < 0) return std::nullopt;
            v = v << 4 | std::uint32_t(d);
        }
        return std::int32_t(v);
    }
    const bool negative = !word.empty() && word[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    if (word.size() == start || word.size() - start > 10) return std::nullopt;
    long long v = 0;
    for (std::size_t i = start; i < word.size(); ++i) {
        if (word[i] < '0' || word[i] > '9') return std::nullopt;
        v = v * 10 + (word[i] - '0');
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return std::int32_t(v);
}

// Splits a line into words; a quoted keyword is one word with its quotes kept. '#' outside
// quotes ends the line.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '#') break;
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        std::string word;
        if (c == '"') {
            word += line[i++];
            while (i < line.size() && line[i] != '"') {
                if (line[i] == '\\' && i + 1 < line.size()) word += line[i++];
                word += line[i++];
            }
            if (i >= line.size()) {
                error = "unterminated quoted keyword";
                return false;
            }
            word += line[i++];
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
                   line[i] != '#' && line[i] != '"')
                word += line[i++];
        }
        words.push_back(word);
    }
    return true;
}

// The bytes between the quotes; SplitWords has made sure that no escape runs into the closing
// quote.
bool UnquoteKeyword(const std::string& quoted, std::string& keyword, std::string& error) {
    const std::size_t end = quoted.size() - 1;
    for (std::size_t i = 1; i < end; ++i) {
        if (quoted[i] != '\\') {
            keyword += quoted[i];
            continue;
        }
        const char next = quoted[++i];
        if (next == '\\' || next == '"') {
            keyword += next;
        } else if (next == 'x' && i + 2 < end && HexDigit(quoted[i + 1]) >= 0 &&
                   HexDigit(quoted[i + 2]) >= 0) {
            keyword += char(HexDigit(quoted[i + 1]) * 16 + HexDigit(quoted[i + 2]));
            i += 2;
        } else {
            error = "bad escape in a quoted keyword (use \\\\, \\\" or \\xNN)";
            return false;
        }
    }
    if (keyword.size() > 0xFFFF) {
        error = "keyword longer than 65535 bytes";
        return false;
    }
    return true;
}

struct TextFile {
    std::vector<RoundRecord> records;
    std::optional<std::int32_t> count;
    bool noHeader = false;
    std::vector<std::uint8_t> tail;
};

bool ParseDirective(const std::vector<std::string>& words, TextFile& file, std::string& error) {
    const std::string& name = words[0];
    if (name == "!count") {
        std::optional<std::int32_t> n;
        if (words.size() != 2 || !(n = ParseNumber(words[1]))) {
            error = "!count needs one 32-bit number";
            return false;
        }
        if (file.count) {
            error = "a second !count";
            return false;
        }
        file.count = n;
    } else if (name == "!noheader") {
        if (words.size() != 1) {
            error = "!noheader takes nothing";
            return false;
        }
        file.noHeader = true;
    } else if (name == "!bytes") {
        for (std::size_t i = 1; i < words.size(); ++i) {
            const std::string& w = words[i];
            if (w.size() != 2 || HexDigit(w[0]) < 0 || HexDigit(w[1]) < 0) {
                error = "!bytes takes two-digit hexadecimal bytes, not \"" + w + "\"";
                return false;
            }
            file.tail.push_back(std::uint8_t(HexDigit(w[0]) * 16 + HexDigit(w[1])));
        }
    } else {
        error = "unknown directive " + name;
        return false;
    }
    return true;
}

bool ParseRecord(const std::vector<std::string>& words, TextFile& file, std::string& error) {
    RoundRecord record;
    const std::string& first = words[0];
    if (first[0] == '"') {
        if (!UnquoteKeyword(first, record.Keyword, error)) return false;
    } else if (KeywordFromText(first) != RoundKeyword::Unknown) {
        record.Keyword = first;
    } else {
        error = "unknown keyword \"" + first + "\" (quote it to keep other bytes)";
        return false;
    }
    if (words.size() > 9) {
        error = "more than eight numbers";
        return false;
    }
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto v = ParseNumber(words[i]);
        if (!v) {
            error = "bad number \"" + words[i] + "\"";
            return false;
        }
        record.Param[i - 1] = *v;
    }
    if (!file.tail.empty()) {
        error = "a record after !bytes";
        return false;
    }
    file.records.push_back(record);
    return true;
}

} // namespace

bool CompileRoundText(const std::string& text, std::vector<std::uint8_t>& bytes,
                      std::string& error) {
    TextFile file;
    std::istringstream in(text);
    std::string line, why;
    for (int number = 1; std::getline(in, line); ++number) {
        std::vector<std::string> words;
        const bool ok = SplitWords(line, words, why) &&
                        (words.empty() || (words[0][0] == '!' ? ParseDirective(words, file, why)
                                                              : ParseRecord(words, file, why)));
        if (!ok) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    if (file.noHeader && (file.count || !file.records.empty())) {
        error = "!noheader leaves no room for a count or records";
        return false;
    }
    bytes.clear();
    if (!file.noHeader) {
        bytes =
            EncodeRoundFile(file.count.value_or(std::int32_t(file.records.size())), file.records);
    }
    bytes.insert(bytes.end(), file.tail.begin(), file.tail.end());
    return true;
}

std::string DumpRoundText(const std::vector<std::uint8_t>& bytes) {
    RoundFileContents contents;
    std::string fault;
    SplitRoundFile(bytes, contents, fault); // what splits is printed; the rest as raw bytes
    std::string out;
    if (bytes.size() < 4) {
        out += "!noheader\n";
    } else if (std::size_t(contents.RecordCount) != contents.Records.size() ||
               contents.RecordCount < 0) {
        out += "!count " + std::to_string(contents.RecordCount) + "\n";
    }
    for (const RoundRecord& r : contents.Records)
        out += RecordLine(r) + "\n";
    DumpBytes(bytes, bytes.size() < 4 ? 0 : contents.EndOffset, out);
    return out;
}
