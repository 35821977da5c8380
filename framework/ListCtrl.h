// Thin wrapper of a list-view control.
#pragma once

#include "Wnd.h"

#include <commctrl.h>

#include <string>

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetNextItem(int start, UINT flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    std::wstring GetItemText(int item, int subItem) const;
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    // Inserts a row with its column 0 text; returns its index or -1.
    int InsertItem(int item, LPCWSTR text);
    BOOL SetItemText(int item, int subItem, LPCWSTR text);
    BOOL SetItemState(int item, UINT state, UINT mask);
    int InsertColumn(int column, LPCWSTR heading, int format, int width, int subItem);
    DWORD SetExtendedStyle(DWORD style)
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
};
