#include "shell/help.h"

#include "platform/backend.h"
#include "platform/file_read.h"
#include "platform/text.h"

#include <algorithm>
#include <memory>

using namespace platform;

namespace {

constexpr std::size_t kMaxBytes = 256 * 1024;
constexpr std::size_t kMaxLineBytes = 200 * 3;
constexpr int kLineHeight = 18;
constexpr int kMargin = 10;

struct HelpWindow {
    Form form{"fHelp"};
    std::vector<HelpLine> lines; // wrapped to the window's width
    int top = 0;                 // first line shown
};

const FontSpec kBody{"ＭＳ Ｐ明朝", 10.5, false, false, false};
const FontSpec kHeading{"ＭＳ Ｐ明朝", 12, true, false, false};
std::unique_ptr<HelpWindow> g_help;

// Cuts a UTF-8 string at a character boundary no later than `limit` bytes.
std::string CutUtf8(const std::string& s, std::size_t limit) {
    if (s.size() <= limit) return s;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
        --end;
    return s.substr(0, end);
}

int VisibleLines() {
    return (g_help->form.surface().height() - 2 * kMargin) / kLineHeight;
}

std::size_t Utf8Length(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// Breaks a line into pieces no wider than `width` pixels, at a blank where there is one in the
// piece, else between characters (Japanese text has no blanks).
std::vector<HelpLine> Wrap(const HelpLine& line, int width) {
    const FontSpec& font = line.heading ? kHeading : kBody;
    std::vector<HelpLine> out;
    std::string rest = line.text;
    while (MeasureText(font, rest).width > width) {
        std::size_t fit = 0, blank = 0;
        for (std::size_t i = 0; i < rest.size();) {
            const std::size_t next =
                std::min(rest.size(), i + Utf8Length(static_cast<unsigned char>(rest[i])));
            if (MeasureText(font, rest.substr(0, next)).width > width) break;
            if (rest[i] == ' ') blank = i;
            fit = i = next;
        }
        if (fit == 0) break; // not even one character fits
        const std::size_t cut = blank > 0 ? blank : fit;
        out.push_back({rest.substr(0, cut), line.heading});
        rest = rest.substr(cut + (blank > 0 ? 1 : 0));
    }
    out.push_back({rest, line.heading});
    return out;
}

void Paint() {
    Surface& s = g_help->form.surface();
    s.fill(Rgb(255, 255, 238));
    const FontSpec& body = kBody;
    const FontSpec& heading = kHeading;
    const int shown = VisibleLines();
    for (int i = 0; i < shown; ++i) {
        const std::size_t n = std::size_t(g_help->top + i);
        if (n >= g_help->lines.size()) break;
        const HelpLine& line = g_help->lines[n];
        DrawText(s, kMargin, kMargin + i * kLineHeight, line.heading ? heading : body, line.text,
                 line.heading ? Rgb(0, 0, 128) : Rgb(0, 0, 0));
    }
}

} // namespace

std::optional<std::vector<HelpLine>> ReadHelpFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (ReadFileBytes(path, kMaxBytes, bytes) != DiskRead::Read) return std::nullopt;
    const std::string text(bytes.begin(), bytes.begin() + std::min(bytes.size(), kMaxBytes));
    std::vector<HelpLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        HelpLine entry;
        if (line.rfind("= ", 0) == 0) {
            entry.heading = true;
            line = line.substr(2);
        }
        // Control characters would only show as boxes.
        std::replace_if(
            line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; },
            ' ');
        entry.text = CutUtf8(line, kMaxLineBytes);
        lines.push_back(std::move(entry));
        start = end + 1;
    }
    return lines;
}

bool ShowHelpContents(const std::string& path) {
    const auto lines = ReadHelpFile(path);
    if (!lines) return false;
    if (!g_help) {
        g_help = std::make_unique<HelpWindow>();
        g_help->form.caption = "Vexaro!! ヘルプ";
        g_help->form.setClientSize(float(520 * g_twipsX), float(420 * g_twipsY));
        g_help->form.setSize(float(520 * g_twipsX), float(420 * g_twipsY));
        g_help->form.onKeyDown = [](int key) {
            if (key == VK_ESCAPE) CloseHelp();
            if (key == 38) ScrollHelp(-1);              // Up
            if (key == 40) ScrollHelp(1);               // Down
            if (key == 33) ScrollHelp(-VisibleLines()); // Page Up
            if (key == 34) ScrollHelp(VisibleLines());  // Page Down
        };
        g_help->form.onMouseWheel = [](int delta) { ScrollHelp(-3 * delta); };
        g_help->form.onUnload = [] { CloseHelp(); };
    }
    g_help->lines.clear();
    const int width = g_help->form.surface().width() - 2 * kMargin;
    for (const HelpLine& line : *lines)
        for (HelpLine& piece : Wrap(line, width))
            g_help->lines.push_back(std::move(piece));
    g_help->top = 0;
    Paint();
    ShowForm(g_help->form, false);
    return true;
}

void ScrollHelp(int lines) {
    if (!g_help) return;
    const int last = std::max(0, int(g_help->lines.size()) - VisibleLines());
    g_help->top = std::clamp(g_help->top + lines, 0, last);
    Paint();
}

void CloseHelp() {
    if (!g_help) return;
    UnloadForm(g_help->form);
}

void DestroyHelp() {
    g_help.reset();
}
