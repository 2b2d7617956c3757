#include "framework/menu.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    if (!(nFlags & MF_SEPARATOR) && !lpszNewItem)
        return FALSE;
    m_items.push_back({nFlags, UINT(nIDNewItem), lpszNewItem ? lpszNewItem : ""});
    return TRUE;
}
