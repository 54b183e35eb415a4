// SPDX-License-Identifier: Apache-2.0
// A menu as a list of items; the framework shows it when asked (the window's
// system menu on Alt+Space or a right-click on the dialog's background).
#ifndef KELM_FRAMEWORK_CMENU_H
#define KELM_FRAMEWORK_CMENU_H

#include "framework/core/CObject.h"
#include "framework/dialogs/AfxWinTypes.h"

#include <string>
#include <vector>

class CMenu : public CObject
{
public:
    struct Item
    {
        UINT flags;       // MF_STRING or MF_SEPARATOR (| MF_GRAYED)
        UINT id;          // command id; 0 for a separator
        std::string text; // narrow; '&' marks the mnemonic, '\t' starts the shortcut text
    };

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
    BOOL AppendMenu(UINT flags, UINT_PTR id, const std::string& text);
    UINT GetMenuItemCount() const;
    // The command id at position, 0 for a separator, (UINT)-1 out of range.
    UINT GetMenuItemID(int position) const;
    // Text of an item by command id (MF_BYCOMMAND) or position (MF_BYPOSITION).
    int GetMenuString(UINT idOrPosition, std::string& text, UINT flags) const;

    const std::vector<Item>& Items() const { return m_items; }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<Item> m_items;
};

#endif
