#include "WindowInfo.h"

#include "framework/ListCtrl.h"

std::wstring WindowText(HWND window)
{
    CWnd wnd;
    wnd.Attach(window);
    return wnd.GetWindowText();
}

std::wstring WindowClass(HWND window)
{
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, sizeof(name) / sizeof(name[0]));
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

ListRows Rows(const CListCtrl& list)
{
    ListRows rows;
    for (int item = 0; item < list.GetItemCount(); ++item)
        rows.emplace_back(list.GetItemText(item, 0), list.GetItemText(item, 1));
    return rows;
}
