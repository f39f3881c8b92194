// The text form of round files, as kept in rounds/: one record per line, the keyword and up to
// eight integers. Dumping any file and compiling the dump gives back the same bytes.
//
//   ROUNDRANGE 20 15 0x000000 -1 120   a record: keyword, Param1 .. Param8 (missing ones are 0)
//   "Rock " 1 2                         a keyword that is none of the twelve, its exact bytes
//                                       quoted; \\ \" and \xNN stand for a backslash, a quote
//                                       and any byte
//   !count 12                           the record count of the header, when it is not the
//                                       number of records that follow
//   !noheader                           no header at all (a file shorter than four bytes)
//   !bytes 00 1f ff                     raw bytes after the records (may repeat)
//   # a comment                         blank lines and comments are ignored
//
// Numbers are decimal, possibly negative, or 0x hexadecimal up to 0xFFFFFFFF (taken as the
// 32-bit pattern, for colours).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Turns the text form into file bytes. On a bad line returns false with "line N: why".
bool CompileRoundText(const std::string& text, std::vector<std::uint8_t>& bytes,
                      std::string& error);

// The text form of any bytes.
std::string DumpRoundText(const std::vector<std::uint8_t>& bytes);
