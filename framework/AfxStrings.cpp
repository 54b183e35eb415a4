#include "framework/AfxStrings.h"

#include "framework/AfxStringOverride.h"
#include "framework/TextCodec.h"
#include "res/StringTable.h"

#include <algorithm>
#include <map>
#include <optional>

namespace
{
std::map<UINT, std::optional<std::string>>& Overrides()
{
    static std::map<UINT, std::optional<std::string>> overrides;
    return overrides;
}

const char* FindInTable(UINT id)
{
    const ResStringEntry* end = kResStringTable + kResStringCount;
    const ResStringEntry* entry = std::lower_bound(
        kResStringTable, end, id, [](const ResStringEntry& e, UINT key) { return e.id < key; });
    return entry != end && entry->id == id ? entry->utf8 : nullptr;
}
} // namespace

bool AfxLoadString(UINT id, std::string& text)
{
    const char* utf8 = FindInTable(id);
    if (!Overrides().empty())
    {
        auto it = Overrides().find(id);
        if (it != Overrides().end())
        {
            utf8 = it->second ? it->second->c_str() : nullptr;
        }
    }
    if (utf8 == nullptr)
    {
        text.clear();
        return false;
    }
    text = TextCodec::Utf8ToNarrow(utf8);
    return true;
}

std::string AfxLoadString(UINT id)
{
    std::string text;
    AfxLoadString(id, text);
    return text;
}

void AfxOverrideString(UINT id, const char* utf8)
{
    Overrides()[id] = utf8 != nullptr ? std::optional<std::string>(utf8) : std::nullopt;
}

void AfxClearStringOverrides()
{
    Overrides().clear();
}
