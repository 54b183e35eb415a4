// SPDX-License-Identifier: Apache-2.0
#include "framework/core/AfxLanguage.h"

#include "framework/core/AfxStrings.h"
#include "framework/core/TextCodec.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace
{
struct Active
{
    std::string name = "en";
    std::map<std::string, std::string> texts;
};

// Chosen on the window thread at start-up, read from any thread afterwards
// (a tooltip's text, a message box's caption).
std::mutex g_mutex;
Active g_active;
// Asked at every text the user interface converts: kept apart, lock-free.
std::atomic<bool> g_translated{false};

// "application title", "string 5052", "dialog 130", "dialog 130 control
// 1011" or "dialog 133 item 19": the English text the key stands for, null
// when it names none.
const char* EnglishOf(const std::string& key)
{
    if (key == AfxLanguage::kTitleKey)
    {
        return AfxResourceAppName();
    }
    unsigned a = 0;
    int b = 0;
    char kind[16] = "";
    int consumed = 0;
    if (std::sscanf(key.c_str(), "string %u%n", &a, &consumed) == 1 &&
        static_cast<std::size_t>(consumed) == key.size())
    {
        const char* text = AfxFindStringUtf8(a);
        return text != nullptr ? text : AfxFindLayerStringUtf8(a);
    }
    const int fields = std::sscanf(key.c_str(), "dialog %u %15s %d%n", &a, kind, &b, &consumed);
    const ResDialogTemplate* tmpl = AfxFindDialogTemplate(a);
    if (tmpl == nullptr)
    {
        return nullptr;
    }
    if (fields == 1 && key == AfxLanguage::DialogKey(a))
    {
        return tmpl->caption;
    }
    if (fields != 3 || static_cast<std::size_t>(consumed) != key.size())
    {
        return nullptr;
    }
    for (std::size_t i = 0; i < tmpl->itemCount; ++i)
    {
        if (AfxLanguage::ItemKey(a, tmpl->items[i], i) == key)
        {
            return tmpl->items[i].text;
        }
    }
    return nullptr;
}

// The translated texts that are safe to show: each one stands for an English
// text of the program, and formats as that text does.
std::map<std::string, std::string> Usable(const std::map<std::string, std::string>& texts)
{
    std::map<std::string, std::string> usable;
    for (const auto& [key, text] : texts)
    {
        const char* english = EnglishOf(key);
        if (english != nullptr && !text.empty() &&
            AfxLanguage::Conversions(text) == AfxLanguage::Conversions(english))
        {
            usable.emplace(key, text);
        }
    }
    return usable;
}

struct Tag
{
    std::string language;
    std::string script;
    std::string territory;
};

// "zh-Hans-CN", "pt_BR.UTF-8", "de_DE@euro": the parts that choose a
// translation, language in lower case, territory in upper case.
Tag ParseTag(const std::string& tag)
{
    Tag parts;
    std::string name = tag.substr(0, tag.find_first_of(".@"));
    std::size_t start = 0;
    for (int field = 0; start <= name.size(); ++field)
    {
        const std::size_t end = std::min(name.find_first_of("-_", start), name.size());
        std::string part = name.substr(start, end - start);
        for (char& c : part)
        {
            c = static_cast<char>(field == 0 ? std::tolower(static_cast<unsigned char>(c))
                                             : std::toupper(static_cast<unsigned char>(c)));
        }
        if (field == 0)
        {
            parts.language = part;
        }
        else if (part.size() == 4)
        {
            parts.script = part;
        }
        else if (parts.territory.empty())
        {
            parts.territory = part;
        }
        start = end + 1;
    }
    return parts;
}

bool Matches(const Tag& wanted, const std::string& translation)
{
    const Tag have = ParseTag(translation);
    if (have.language != wanted.language)
    {
        return false;
    }
    if (have.territory.empty())
    {
        return true;
    }
    // Simplified Chinese is named by its territory or by its script.
    if (have.language == "zh" && have.territory == "CN")
    {
        return wanted.script == "HANS" ||
               (wanted.script.empty() && (wanted.territory == "CN" || wanted.territory == "SG"));
    }
    return have.territory == wanted.territory;
}
} // namespace

namespace AfxLanguage
{
const char* const kTitleKey = "application title";

std::string StringKey(unsigned id)
{
    return "string " + std::to_string(id);
}

std::string DialogKey(unsigned dialogId)
{
    return "dialog " + std::to_string(dialogId);
}

std::string ItemKey(unsigned dialogId, const ResDialogItem& item, std::size_t index)
{
    return item.id != IDC_STATIC ? DialogKey(dialogId) + " control " + std::to_string(item.id)
                                 : DialogKey(dialogId) + " item " + std::to_string(index);
}

std::string Choose(const std::vector<std::string>& preferred)
{
    for (const std::string& tag : preferred)
    {
        const Tag wanted = ParseTag(tag);
        if (wanted.language.empty() || wanted.language == "en" || wanted.language == "c" ||
            wanted.language == "posix")
        {
            // English is a language the program has: the ones after it are
            // not wanted as much.
            break;
        }
        // A territory's own translation before the language's; Simplified
        // Chinese, named by its territory, is also asked for by its script.
        std::vector<std::string> names = {wanted.language + "_" + wanted.territory,
                                          wanted.language};
        if (wanted.language == "zh")
        {
            names.emplace_back("zh_CN");
        }
        const ResLanguage* best = nullptr;
        for (const std::string& name : names)
        {
            const ResLanguage* language = AfxFindLanguage(name.c_str());
            if (best == nullptr && language != nullptr && Matches(wanted, language->name))
            {
                best = language;
            }
        }
        if (best != nullptr)
        {
            std::map<std::string, std::string> texts;
            for (std::size_t i = 0; i < best->textCount; ++i)
            {
                texts.emplace(best->texts[i].key, best->texts[i].utf8);
            }
            Use(best->name, texts);
            return best->name;
        }
    }
    Use("", {});
    return "en";
}

void Use(const std::string& name, const std::map<std::string, std::string>& texts)
{
    std::map<std::string, std::string> usable =
        name.empty() ? std::map<std::string, std::string>() : Usable(texts);
    std::lock_guard<std::mutex> lock(g_mutex);
    g_active.name = name.empty() ? "en" : name;
    g_active.texts.swap(usable);
    g_translated = !name.empty() && name != "en";
}

std::string Active()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_active.name;
}

bool Translated()
{
    return g_translated;
}

const char* Find(const std::string& key)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_active.texts.find(key);
    // The map is replaced only at start-up and by tests, before any text
    // is asked for again.
    return it != g_active.texts.end() ? it->second.c_str() : nullptr;
}

std::vector<std::string> Conversions(std::string_view format)
{
    std::vector<std::string> found;
    for (std::size_t i = 0; i < format.size(); ++i)
    {
        if (format[i] != '%')
        {
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%')
        {
            ++i;
            continue;
        }
        // Flags, width, precision and length, up to the conversion letter.
        std::size_t end = i + 1;
        while (end < format.size() && std::strchr("-+ #0123456789.*hljztL'$", format[end]))
        {
            ++end;
        }
        found.emplace_back(format.substr(i, std::min(end + 1, format.size()) - i));
        i = end;
    }
    return found;
}

std::string UiToUtf8(std::string_view narrow)
{
    if (!Translated())
    {
        return TextCodec::NarrowToUtf8(narrow);
    }
    std::string out;
    out.reserve(narrow.size());
    std::size_t i = 0;
    while (i < narrow.size())
    {
        const auto lead = static_cast<unsigned char>(narrow[i]);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xC2 ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF5 ? 4
                                                 : 0;
        bool valid = length > 0 && i + length <= narrow.size();
        for (std::size_t k = 1; valid && k < length; ++k)
        {
            valid = (static_cast<unsigned char>(narrow[i + k]) & 0xC0) == 0x80;
        }
        if (valid && length == 3)
        {
            // No overlong forms, no surrogates.
            const auto second = static_cast<unsigned char>(narrow[i + 1]);
            valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0);
        }
        if (valid && length == 4)
        {
            const auto second = static_cast<unsigned char>(narrow[i + 1]);
            valid = !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
        }
        if (valid)
        {
            out.append(narrow.substr(i, length));
            i += length;
        }
        else
        {
            out += TextCodec::NarrowToUtf8(narrow.substr(i, 1));
            ++i;
        }
    }
    return out;
}

std::string Utf8ToUi(std::string_view utf8)
{
    return Translated() ? std::string(utf8) : TextCodec::Utf8ToNarrow(utf8);
}
} // namespace AfxLanguage
