#include "ResourceString.h"

std::wstring LoadResourceString(UINT id)
{
    // A zero capacity asks for a pointer to the resource text itself.
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::wstring();
    return std::wstring(text, static_cast<size_t>(length));
}
