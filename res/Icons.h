// The program's icons as data: each icon resource holds images of several
// sizes, each image in XPM form (a header line "w h colours 1", one line per
// colour, then one line per pixel row).
#ifndef KELM_RES_ICONS_H
#define KELM_RES_ICONS_H

#include <cstddef>

struct ResIconImage
{
    int size; // width and height in pixels
    const char* const* xpm;
};

struct ResIcon
{
    unsigned id;
    const ResIconImage* images;
    std::size_t imageCount;
};

// The icon resource id, or null when there is none.
const ResIcon* ResFindIcon(unsigned id);

#endif
