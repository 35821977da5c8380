#include "ComboBox.h"

void CComboBox::GetLBText(int index, std::wstring& text) const
{
    text.clear();
    LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR || length <= 0)
        return;
    text.assign(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
}
