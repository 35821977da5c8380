#include "RegistryKey.h"

#include "framework/OleException.h"

LONG RegistryKey::Open(HKEY parent, LPCWSTR subKey, REGSAM access)
{
    HKEY key = nullptr;
    LONG result = ::RegOpenKeyExW(parent, subKey, 0, access, &key);
    if (result != ERROR_SUCCESS)
        return result;
    result = Close();
    m_key.Reset(key);
    return result;
}

LONG RegistryKey::Close()
{
    // A key SetupDiOpenDevRegKey failed to open (INVALID_HANDLE_VALUE) is held
    // like no key at all.
    const HKEY key = m_key.Release();
    return RegistryKeyTraits::IsValid(key) ? ::RegCloseKey(key) : ERROR_SUCCESS;
}

LONG RegistryKey::QueryStringValue(LPCWSTR valueName, LPWSTR buffer, ULONG* chars)
{
    const ULONG capacity = *chars;
    DWORD bytes = capacity * sizeof(WCHAR);
    DWORD type = 0;
    *chars = 0;
    LONG result = ::RegQueryValueExW(m_key.Get(), valueName, nullptr, &type,
                                     reinterpret_cast<LPBYTE>(buffer), &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    if (buffer) {
        if (bytes == 0) {
            // Not even room for the terminator.
            if (capacity == 0)
                return ERROR_MORE_DATA;
            buffer[0] = L'\0';
        } else if (bytes % sizeof(WCHAR) != 0 || buffer[bytes / sizeof(WCHAR) - 1] != L'\0') {
            return ERROR_INVALID_DATA;
        }
    }
    *chars = bytes / sizeof(WCHAR);
    return ERROR_SUCCESS;
}

LONG RegistryKey::SetStringValue(LPCWSTR valueName, LPCWSTR text, DWORD type)
{
    if (!text)
        AfxThrowOleException(E_FAIL);
    const DWORD bytes = static_cast<DWORD>((::lstrlenW(text) + 1) * sizeof(WCHAR));
    return ::RegSetValueExW(m_key.Get(), valueName, 0, type, reinterpret_cast<const BYTE*>(text), bytes);
}
