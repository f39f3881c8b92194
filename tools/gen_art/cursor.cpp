// The pointing hand shown over the about window's links.
#include "art.h"
#include "pixelart.h"

#include <string>
#include <vector>

namespace art {

Canvas HandCursor() {
    // The tip of the forefinger is the pixel (12, 1), where the pointer points.
    static const std::vector<std::string> rows = {
        "................................", //  0
        "...........kkk..................", //  1
        "..........kWWWk.................", //  2
        "..........kWWwk.................", //  3
        "..........kWWwk.................", //  4
        "..........kWWwk.................", //  5
        "..........kWWwk.................", //  6
        "..........kWWwk.................", //  7
        "..........kWWwkkk...............", //  8
        "..........kWWwkWWkkk............", //  9
        "..........kWWwkWwkWWkkk.........", // 10
        "..........kWWwkWwkWwkWWk........", // 11
        "......kkk.kWWwkWwkWwkWwgk.......", // 12
        ".....kWWWkkWWWWWWWWWWWwgk.......", // 13
        ".....kWWWWkWWWWWWWWWWWWwgk......", // 14
        "......kWWWkWWWWWWWWWWWWWwk......", // 15
        "......kWWWWWWWWWWWWWWWWWwk......", // 16
        ".......kWWWWWWWWWWWWWWWWwk......", // 17
        ".......kWWWWWWWWWWWWWWWwwk......", // 18
        "........kWWWWWWWWWWWWWWwk.......", // 19
        "........kWWWWWWWWWWWWWwwk.......", // 20
        ".........kWWWWWWWWWWWwwk........", // 21
        ".........kwWWWWWWWWWwwgk........", // 22
        "..........kwwwwwwwwwwgk.........", // 23
        "..........kkkkkkkkkkkkk.........", // 24
        "..........kcccBBBBBBBbk.........", // 25
        "..........kcBBBBBBBBBbk.........", // 26
        "..........kBBBBBBBBBbbk.........", // 27
        "..........kbbbbbbbbbbbk.........", // 28
        "..........kkkkkkkkkkkkk.........", // 29
        "................................", // 30
        "................................", // 31
    };
    return FromRows(rows, {{'k', Hex(0x101018)},
                           {'W', Hex(0xFFFFFF)},
                           {'w', Hex(0xC8C8D8)},
                           {'g', Hex(0x8C8CA4)},
                           {'B', Hex(0x2858D8)},
                           {'b', Hex(0x163090)},
                           {'c', Hex(0x70A8FF)}});
}

} // namespace art
