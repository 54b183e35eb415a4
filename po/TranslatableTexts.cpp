// SPDX-License-Identifier: Apache-2.0
#include "po/TranslatableTexts.h"

#include "framework/core/AfxLanguage.h"
#include "framework/core/AfxResources.h"
#include "framework/core/AfxStrings.h"
#include "res/DialogTemplates.h"
#include "res/StringTable.h"
#include "res/Untranslated.h"

#include <algorithm>

namespace
{
void Add(std::vector<TranslatableText>& texts, std::string comment, std::string key,
         std::string english)
{
    texts.push_back({std::move(comment), std::move(key), std::move(english)});
}

bool Untranslated(unsigned dialogId, int controlId)
{
    for (std::size_t i = 0; i < kResUntranslatedItemCount; ++i)
    {
        if (kResUntranslatedItems[i].dialogId == dialogId &&
            kResUntranslatedItems[i].controlId == controlId)
        {
            return true;
        }
    }
    return false;
}

bool UntranslatedString(unsigned id)
{
    return std::find(kResUntranslatedStrings, kResUntranslatedStrings + kResUntranslatedStringCount,
                     id) != kResUntranslatedStrings + kResUntranslatedStringCount;
}

// A string whose id is a button's is that button's tooltip.
std::string StringComment(unsigned id)
{
    for (std::size_t d = 0; d < kResDialogTemplateCount; ++d)
    {
        const ResDialogTemplate& tmpl = kResDialogTemplates[d];
        for (std::size_t i = 0; i < tmpl.itemCount; ++i)
        {
            if (tmpl.items[i].id == static_cast<int>(id) &&
                std::string(tmpl.items[i].className) == RES_CLASS_BUTTON)
            {
                return "String " + std::to_string(id) + ": the tooltip of the button \"" +
                       tmpl.items[i].text + "\" in the dialog \"" + tmpl.caption + "\"";
            }
        }
    }
    return "String " + std::to_string(id);
}

} // namespace

std::vector<TranslatableText> TranslatableTexts()
{
    std::vector<TranslatableText> texts;
    Add(texts, "The title of message boxes", AfxLanguage::kTitleKey, "Kelm Utilities");
    for (std::size_t i = 0; i < kResStringCount; ++i)
    {
        const ResStringEntry& s = kResStringTable[i];
        if (!UntranslatedString(s.id))
        {
            Add(texts, StringComment(s.id), AfxLanguage::StringKey(s.id), s.utf8);
        }
    }
    std::size_t layerCount = 0;
    const ResStringEntry* layer = AfxLayerStrings(&layerCount);
    for (std::size_t i = 0; i < layerCount; ++i)
    {
        Add(texts, "The dialog layer's own text " + std::to_string(layer[i].id),
            AfxLanguage::StringKey(layer[i].id), layer[i].utf8);
    }
    for (std::size_t d = 0; d < kResDialogTemplateCount; ++d)
    {
        const ResDialogTemplate& tmpl = kResDialogTemplates[d];
        const std::string where = "Dialog \"" + std::string(tmpl.caption) + "\"";
        Add(texts, where + ": its title", AfxLanguage::DialogKey(tmpl.id), tmpl.caption);
        for (std::size_t i = 0; i < tmpl.itemCount; ++i)
        {
            const ResDialogItem& item = tmpl.items[i];
            if (item.text == nullptr || item.text[0] == '\0' || item.text[0] == '#' ||
                Untranslated(tmpl.id, item.id))
            {
                continue;
            }
            const std::string what = std::string(item.className) == RES_CLASS_BUTTON   ? "button"
                                     : std::string(item.className) == RES_CLASS_STATIC ? "text"
                                                                                       : "control";
            Add(texts,
                where + ": " + what + " " + std::to_string(static_cast<int>(item.x)) + "," +
                    std::to_string(static_cast<int>(item.y)) + " " +
                    std::to_string(static_cast<int>(item.cx)) + "x" +
                    std::to_string(static_cast<int>(item.cy)) + " dialog units",
                AfxLanguage::ItemKey(tmpl.id, item, i), item.text);
        }
    }
    return texts;
}
