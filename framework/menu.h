// Menus: a plain list of items. The dialog's system menu (CDialog::
// GetSystemMenu) starts with Restore, Minimize and Close; items appended to
// it send WM_SYSCOMMAND with their id when chosen.
//
//   CMenu* menu = GetSystemMenu(FALSE);
//   menu->AppendMenu(MF_SEPARATOR);
//   menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, "&About...");
#pragma once

#include "framework/afx_types.h"

#include <vector>

class CMenu {
public:
    struct Item {
        UINT flags;
        UINT id;
        CString text;
    };

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
    int GetMenuItemCount() const { return int(m_items.size()); }
    const Item& GetItem(int index) const { return m_items[size_t(index)]; }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<Item> m_items;
};
