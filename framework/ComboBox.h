// Thin wrapper of a combo-box control.
#pragma once

#include "Wnd.h"

#include <string>

class CComboBox : public CWnd {
public:
    int AddString(LPCWSTR text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    // The text of an item; empty for an index that does not exist.
    void GetLBText(int index, std::wstring& text) const;
};
