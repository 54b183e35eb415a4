// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CMenu.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text)
{
    const bool separator = (flags & MF_SEPARATOR) != 0;
    m_items.push_back(
        {flags, separator ? 0u : static_cast<UINT>(id), separator || text == nullptr ? "" : text});
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const std::string& text)
{
    return AppendMenu(flags, id, text.c_str());
}

UINT CMenu::GetMenuItemCount() const
{
    return static_cast<UINT>(m_items.size());
}

UINT CMenu::GetMenuItemID(int position) const
{
    if (position < 0 || static_cast<std::size_t>(position) >= m_items.size())
    {
        return static_cast<UINT>(-1);
    }
    return m_items[static_cast<std::size_t>(position)].id;
}

int CMenu::GetMenuString(UINT idOrPosition, std::string& text, UINT flags) const
{
    text.clear();
    for (std::size_t i = 0; i < m_items.size(); ++i)
    {
        const bool match = (flags & MF_BYPOSITION) != 0 ? i == idOrPosition
                                                        : (m_items[i].flags & MF_SEPARATOR) == 0 &&
                                                              m_items[i].id == idOrPosition;
        if (match)
        {
            text = m_items[i].text;
            return static_cast<int>(text.size());
        }
    }
    return 0;
}
