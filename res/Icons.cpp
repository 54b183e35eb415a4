// SPDX-License-Identifier: Apache-2.0
#include "res/Icons.h"

#include "res/resource.h"

namespace
{
// The main icon: a tracker's target, rings and crosshair, with the laser's
// spot at its centre.
const char* const kMainIcon32[] = {
    "32 32 6 1",
    "  c None",
    ". c #FFFFFF",
    "b c #1F3A6E",
    "g c #5A6470",
    "o c #FF8A3D",
    "r c #D01010",
    "                                ",
    "           bbbbbbbbbb           ",
    "         bbbb..gg..bbbb         ",
    "       bbb.....gg.....bbb       ",
    "      bb.......gg.......bb      ",
    "     bb........gg........bb     ",
    "    bb.........bb.........bb    ",
    "   bb.......bbbbbbbb.......bb   ",
    "   b......bb...gg...bb......b   ",
    "  bb.....bb....gg....bb.....bb  ",
    "  b.....bb.....gg.....bb.....b  ",
    " bb.....b..............b.....bb ",
    " bb....b.......oo.......b....bb ",
    " b.....b.....oooooo.....b.....b ",
    " b.....b.....oorroo.....b.....b ",
    " bggggbbggg.oorrrroo.gggbbggggb ",
    " bggggbbggg.oorrrroo.gggbbggggb ",
    " b.....b.....oorroo.....b.....b ",
    " b.....b.....oooooo.....b.....b ",
    " bb....b.......oo.......b....bb ",
    " bb.....b..............b.....bb ",
    "  b.....bb.....gg.....bb.....b  ",
    "  bb.....bb....gg....bb.....bb  ",
    "   b......bb...gg...bb......b   ",
    "   bb.......bbbbbbbb.......bb   ",
    "    bb.........bb.........bb    ",
    "     bb........gg........bb     ",
    "      bb.......gg.......bb      ",
    "       bbb.....gg.....bbb       ",
    "         bbbb..gg..bbbb         ",
    "           bbbbbbbbbb           ",
    "                                ",
};

const char* const kMainIcon16[] = {
    "16 16 6 1",        "  c None",         ". c #FFFFFF",      "b c #1F3A6E",
    "g c #5A6470",      "o c #FF8A3D",      "r c #D01010",      "                ",
    "     bbbbbb     ", "   bbb.gg.bbb   ", "  bb...gg...bb  ", "  b....gg....b  ",
    " bb....gg....bb ", " b.....oo.....b ", " bggggorroggggb ", " bggggorroggggb ",
    " b.....oo.....b ", " bb....gg....bb ", "  b....gg....b  ", "  bb...gg...bb  ",
    "   bbb.gg.bbb   ", "     bbbbbb     ", "                ",
};
const ResIconImage kMainIconImages[] = {{32, kMainIcon32}, {16, kMainIcon16}};

} // namespace

const ResIcon kResIcons[] = {{IDR_MAINFRAME, kMainIconImages, 2}};
const std::size_t kResIconCount = sizeof(kResIcons) / sizeof(kResIcons[0]);

const ResIcon* ResFindIcon(unsigned id)
{
    for (const ResIcon& icon : kResIcons)
    {
        if (icon.id == id)
        {
            return &icon;
        }
    }
    return nullptr;
}
