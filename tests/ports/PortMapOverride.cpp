#include "PortMapOverride.h"

#include "ports/RegistryKey.h"

#include "framework/FormatText.h"

#include <gtest/gtest.h>

namespace {
// The HARDWARE key is volatile and takes only volatile subkeys.
LONG CreateKey(LPCWSTR path, RegistryKey& key)
{
    HKEY raw = nullptr;
    const LONG error = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_VOLATILE,
                                         KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (error == ERROR_SUCCESS)
        key = RegistryKey(raw);
    return error;
}
}

PortMapOverride::PortMapOverride(LPCWSTR path) : m_path(path)
{
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ) != ERROR_SUCCESS)
        return;
    m_existed = true;
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameChars = sizeof(name) / sizeof(name[0]);
        DWORD type = 0;
        DWORD size = 0;
        if (::RegEnumValueW(key.Handle(), index, name, &nameChars, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        Value value{ name, type, std::vector<BYTE>(size) };
        if (::RegQueryValueExW(key.Handle(), name, nullptr, &value.type, value.data.data(), &size) == ERROR_SUCCESS)
            m_saved.push_back(std::move(value));
    }
}

PortMapOverride::~PortMapOverride()
{
    if (!m_existed) {
        const LONG error = ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, m_path.c_str());
        EXPECT_TRUE(error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND) << "error " << error;
        return;
    }
    EXPECT_EQ(Clear(), ERROR_SUCCESS);
    for (const Value& value : m_saved)
        EXPECT_EQ(SetRaw(value.name.c_str(), value.type, value.data.data(), static_cast<DWORD>(value.data.size())),
                  ERROR_SUCCESS);
}

LONG PortMapOverride::Clear()
{
    RegistryKey key;
    LONG error = CreateKey(m_path.c_str(), key);
    if (error != ERROR_SUCCESS)
        return error;
    for (;;) {
        wchar_t name[16384];
        DWORD nameChars = sizeof(name) / sizeof(name[0]);
        error = ::RegEnumValueW(key.Handle(), 0, name, &nameChars, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (error == ERROR_SUCCESS)
            error = ::RegDeleteValueW(key.Handle(), name);
        if (error != ERROR_SUCCESS)
            return error;
    }
}

LONG PortMapOverride::SetNames(const std::vector<std::wstring>& data)
{
    LONG error = Clear();
    for (size_t i = 0; error == ERROR_SUCCESS && i < data.size(); ++i) {
        const std::wstring name = FormatText(L"Value%03u", static_cast<unsigned>(i));
        error = SetRaw(name.c_str(), REG_SZ, data[i].c_str(),
                       static_cast<DWORD>((data[i].size() + 1) * sizeof(wchar_t)));
    }
    return error;
}

LONG PortMapOverride::SetRaw(LPCWSTR name, DWORD type, const void* data, DWORD size)
{
    RegistryKey key;
    const LONG error = CreateKey(m_path.c_str(), key);
    if (error != ERROR_SUCCESS)
        return error;
    return ::RegSetValueExW(key.Handle(), name, 0, type, static_cast<const BYTE*>(data), size);
}

LONG PortMapOverride::Remove()
{
    const LONG error = Clear();
    return error != ERROR_SUCCESS ? error : ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, m_path.c_str());
}
