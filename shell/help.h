// The game's help: "Help.hlp" beside the executable, shown in a help window of the game's own
// at its contents page. The window can be scrolled and closed while the game goes on.
//
// Help.hlp is UTF-8 text. A line "= Title" starts a topic; the first topic is the contents
// page. Every other line is shown as it stands, a blank line being a gap. Lines are cut at
// 200 characters and the file at 256 KiB, so that no file can make the window unwieldy.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct HelpLine {
    std::string text;
    bool heading = false;
};

// Reads and checks a help file; nothing when it cannot be read (missing, not a file, or an I/O
// error part way).
std::optional<std::vector<HelpLine>> ReadHelpFile(const std::string& path);

// Opens the help window on the file, at its contents page (the top). False, and no window, when
// the file cannot be read.
bool ShowHelpContents(const std::string& path);
// Scrolls the open help window by a number of lines (negative: up).
void ScrollHelp(int lines);
// Closes the help window, if open.
void CloseHelp();
// Destroys the help window (a new headless run starts without one).
void DestroyHelp();
