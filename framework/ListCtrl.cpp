#include "ListCtrl.h"

std::wstring CListCtrl::GetItemText(int item, int subItem) const
{
    // Grow the buffer until the text fits with room to spare.
    std::wstring text;
    for (size_t capacity = 64;; capacity *= 2) {
        text.assign(capacity, L'\0');
        LVITEMW lvi = {};
        lvi.iSubItem = subItem;
        lvi.pszText = &text[0];
        lvi.cchTextMax = static_cast<int>(capacity);
        int length = static_cast<int>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                                  reinterpret_cast<LPARAM>(&lvi)));
        if (length < static_cast<int>(capacity) - 1 || capacity >= 0x10000) {
            text.resize(static_cast<size_t>(length));
            return text;
        }
    }
}

int CListCtrl::InsertItem(int item, LPCWSTR text)
{
    LVITEMW lvi = {};
    lvi.mask = LVIF_TEXT;
    lvi.iItem = item;
    lvi.pszText = const_cast<LPWSTR>(text);
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lvi)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCWSTR text)
{
    LVITEMW lvi = {};
    lvi.iSubItem = subItem;
    lvi.pszText = const_cast<LPWSTR>(text);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                                         reinterpret_cast<LPARAM>(&lvi)));
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMW lvi = {};
    lvi.state = state;
    lvi.stateMask = mask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                                         reinterpret_cast<LPARAM>(&lvi)));
}

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width, int subItem)
{
    LVCOLUMNW lvc = {};
    lvc.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    lvc.fmt = format;
    lvc.cx = width;
    lvc.pszText = const_cast<LPWSTR>(heading);
    if (subItem != -1) {
        lvc.mask |= LVCF_SUBITEM;
        lvc.iSubItem = subItem;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                                        reinterpret_cast<LPARAM>(&lvc)));
}
