// SPDX-License-Identifier: Apache-2.0
#include "framework/core/AfxResources.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>

namespace
{
// Handed over once at start-up, read from any thread afterwards: the pointer
// is swapped whole, the data it points to is never written.
std::atomic<const AfxResourceSet*> g_resources{nullptr};

const AfxResourceSet& Resources()
{
    static const AfxResourceSet kNone{"", nullptr, 0, nullptr, 0, nullptr,
                                      0,  nullptr, 0, nullptr, 0};
    const AfxResourceSet* set = g_resources.load();
    return set != nullptr ? *set : kNone;
}

// The entry of id among count entries, or null.
template <typename Entry>
const Entry* FindById(const Entry* entries, std::size_t count, unsigned id)
{
    const Entry* end = entries + count;
    const Entry* found =
        std::find_if(entries, end, [id](const Entry& entry) { return entry.id == id; });
    return found != end ? found : nullptr;
}
} // namespace

void AfxSetResources(const AfxResourceSet& resources)
{
    // Every set handed over is kept for the whole run: a lookup on another
    // thread may still hold the previous one.
    static std::mutex mutex;
    static std::deque<AfxResourceSet> sets;
    std::lock_guard<std::mutex> lock(mutex);
    sets.push_back(resources);
    g_resources.store(&sets.back());
}

const char* AfxFindStringUtf8(unsigned id)
{
    const AfxResourceSet& set = Resources();
    const ResStringEntry* end = set.strings + set.stringCount;
    const ResStringEntry* entry = std::lower_bound(
        set.strings, end, id, [](const ResStringEntry& e, unsigned key) { return e.id < key; });
    return entry != end && entry->id == id ? entry->utf8 : nullptr;
}

const ResDialogTemplate* AfxFindDialogTemplate(unsigned id)
{
    const AfxResourceSet& set = Resources();
    return FindById(set.dialogs, set.dialogCount, id);
}

const ResIcon* AfxFindIcon(unsigned id)
{
    const AfxResourceSet& set = Resources();
    return FindById(set.icons, set.iconCount, id);
}

unsigned AfxFindAccessibleName(unsigned dialogId, int controlId)
{
    const AfxResourceSet& set = Resources();
    const ResAccessibleName* end = set.accessibleNames + set.accessibleNameCount;
    const ResAccessibleName* found =
        std::find_if(set.accessibleNames, end, [dialogId, controlId](const ResAccessibleName& n)
                     { return n.dialogId == dialogId && n.controlId == controlId; });
    return found != end ? found->stringId : 0;
}

const ResLanguage* AfxFindLanguage(const char* name)
{
    const AfxResourceSet& set = Resources();
    const ResLanguage* end = set.languages + set.languageCount;
    const ResLanguage* found = std::find_if(set.languages, end, [name](const ResLanguage& l)
                                            { return std::strcmp(l.name, name) == 0; });
    return found != end ? found : nullptr;
}

const char* AfxResourceAppName()
{
    const char* name = Resources().appName;
    return name != nullptr ? name : "";
}
