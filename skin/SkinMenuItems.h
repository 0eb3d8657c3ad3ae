// The items of one level of a platform menu as a skinned popup shows them: text, identifier, state and submenu, and
// the keyboard's walk over them that skips separators.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CSkinMenuItems {
public:
    // The state bits read from the platform's menu state.
    enum : UINT { STATE_GRAYED = MF_GRAYED, STATE_DISABLED = MF_DISABLED, STATE_CHECKED = MF_CHECKED,
                  STATE_SEPARATOR = MF_SEPARATOR };
    // The longest item text read, in characters.
    enum : int { MAX_TEXT = 399 };

    struct Item {
        std::string strText; // a tab separates the left-aligned part from the right-aligned one
        UINT nID;
        UINT nState;      // STATE_* bits
        HMENU hSubMenu;   // or null

        bool IsSeparator() const { return (nState & STATE_SEPARATOR) != 0; }
        bool IsEnabled() const { return (nState & (STATE_GRAYED | STATE_DISABLED)) == 0; }
        bool IsChecked() const { return (nState & STATE_CHECKED) != 0; }
    };

    // Reads every position of the menu (none for a handle that is not a menu). Submenus stay handles: each level is
    // read when its popup opens, after its owner has updated it.
    void Load(HMENU hMenu);
    HMENU GetMenu() const { return m_hMenu; }

    int GetCount() const { return static_cast<int>(m_items.size()); }
    const Item &operator[](int nIndex) const { return m_items[static_cast<size_t>(nIndex)]; }
    const std::vector<Item> &GetItems() const { return m_items; }

    // The next item that is not a separator going down (nStep 1) or up (nStep -1) from nFrom, wrapping around the
    // ends; from -1 the walk starts at the first item going down and at the last going up. -1 when every item is a
    // separator (or there are none).
    int Next(int nFrom, int nStep) const;

    // The character after the first single "&" of the text, lower-cased (ASCII only), or 0.
    static char Mnemonic(const std::string &strText);

private:
    HMENU m_hMenu = nullptr;
    std::vector<Item> m_items;
};
