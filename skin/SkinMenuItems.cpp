#include "skin/SkinMenuItems.h"

void CSkinMenuItems::Load(HMENU hMenu) {
    m_items.clear();
    m_hMenu = ::IsMenu(hMenu) ? hMenu : nullptr;
    if (!m_hMenu)
        return;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        char text[MAX_TEXT + 1] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = MAX_TEXT;
        Item item = {};
        if (::GetMenuItemInfoA(m_hMenu, static_cast<UINT>(i), TRUE, &info)) {
            // Bitmap and owner-drawn items carry no text of their own.
            if (!(info.fType & (MFT_BITMAP | MFT_OWNERDRAW)))
                item.strText = text;
            item.nID = info.wID;
            item.hSubMenu = info.hSubMenu;
        }
        // For an item that opens a submenu the high byte is that submenu's item count, not state.
        UINT state = ::GetMenuState(m_hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        if (state == static_cast<UINT>(-1))
            state = 0;
        if (item.hSubMenu)
            state &= 0xFF;
        if (info.fType & MFT_SEPARATOR)
            state |= STATE_SEPARATOR;
        item.nState = state & (STATE_GRAYED | STATE_DISABLED | STATE_CHECKED | STATE_SEPARATOR);
        m_items.push_back(item);
    }
}

int CSkinMenuItems::Next(int nFrom, int nStep) const {
    const int count = GetCount();
    if (count == 0)
        return -1;
    int index = nFrom;
    if (index < 0 || index >= count)
        index = nStep > 0 ? -1 : count;
    for (int tried = 0; tried < count; ++tried) {
        index = (index + nStep + count) % count;
        if (!m_items[static_cast<size_t>(index)].IsSeparator())
            return index;
    }
    return -1;
}

char CSkinMenuItems::Mnemonic(const std::string &strText) {
    for (size_t i = 0; i + 1 < strText.size(); ++i) {
        if (strText[i] != '&')
            continue;
        if (strText[i + 1] == '&') {
            ++i; // "&&" shows one ampersand
            continue;
        }
        const char c = strText[i + 1];
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return 0;
}
