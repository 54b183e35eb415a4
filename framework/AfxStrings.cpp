#include "framework/AfxStrings.h"

#include "framework/TextCodec.h"
#include "res/StringTable.h"

#include <algorithm>

bool AfxLoadString(UINT id, std::string& text)
{
    const ResStringEntry* end = kResStringTable + kResStringCount;
    const ResStringEntry* entry = std::lower_bound(
        kResStringTable, end, id, [](const ResStringEntry& e, UINT key) { return e.id < key; });
    if (entry == end || entry->id != id)
    {
        text.clear();
        return false;
    }
    text = TextCodec::Utf8ToNarrow(entry->utf8);
    return true;
}
