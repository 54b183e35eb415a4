// SPDX-License-Identifier: Apache-2.0
#include "framework/core/AfxStrings.h"

#include "framework/core/AfxLanguage.h"
#include "framework/core/AfxResources.h"
#include "framework/core/AfxStringOverride.h"
#include "framework/core/TextCodec.h"

#include <map>
#include <optional>

namespace
{
std::map<UINT, std::optional<std::string>>& Overrides()
{
    static std::map<UINT, std::optional<std::string>> overrides;
    return overrides;
}

const ResStringEntry kLayerStrings[] = {
    {AFX_IDS_SCCLOSE, "&Close\tAlt+F4"},
    {AFX_IDP_PARSE_INT, "Please enter an integer."},
    {AFX_IDP_PARSE_UINT, "Please enter a positive integer."},
    {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %d and %d."},
    {AFX_IDP_PARSE_UINT_RANGE, "Please enter an integer between %u and %u."},
    {AFX_IDP_PARSE_STRING_SIZE, "Enter no more than %d characters."},
};
} // namespace

const ResStringEntry* AfxLayerStrings(std::size_t* count)
{
    *count = sizeof(kLayerStrings) / sizeof(kLayerStrings[0]);
    return kLayerStrings;
}

const char* AfxFindLayerStringUtf8(unsigned id)
{
    for (const ResStringEntry& entry : kLayerStrings)
    {
        if (entry.id == id)
        {
            return entry.utf8;
        }
    }
    return nullptr;
}

bool AfxLoadString(UINT id, std::string& text)
{
    const char* utf8 = AfxFindStringUtf8(id);
    if (utf8 == nullptr)
    {
        utf8 = AfxFindLayerStringUtf8(id);
    }
    // A translated text is already in the user interface's code page.
    const char* translated =
        utf8 != nullptr ? AfxLanguage::Find(AfxLanguage::StringKey(id)) : nullptr;
    if (!Overrides().empty())
    {
        auto it = Overrides().find(id);
        if (it != Overrides().end())
        {
            utf8 = it->second ? it->second->c_str() : nullptr;
            translated = nullptr;
        }
    }
    if (translated != nullptr)
    {
        text = translated;
        return true;
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
