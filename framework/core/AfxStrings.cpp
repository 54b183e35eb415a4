// SPDX-License-Identifier: Apache-2.0
#include "framework/core/AfxStrings.h"

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

} // namespace

bool AfxLoadString(UINT id, std::string& text)
{
    const char* utf8 = AfxFindStringUtf8(id);
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
