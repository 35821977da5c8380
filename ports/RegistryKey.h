// Owner of an open registry key, with a string read that checks type, size
// and termination of what it reads.
#pragma once

#include "framework/UniqueResource.h"

#include <windows.h>

class RegistryKey {
public:
    RegistryKey() = default;
    // Takes over a key that is already open.
    explicit RegistryKey(HKEY key) : m_key(key) {}

    // On failure the error is returned and the key held before stays open.
    LONG Open(HKEY parent, LPCWSTR subKey, REGSAM access);
    LONG Close();

    // Reads a REG_SZ or REG_EXPAND_SZ value into buffer, whose capacity in
    // characters *chars gives; on success *chars is the length read,
    // terminator included, else 0. buffer may be null to ask for the length.
    LONG QueryStringValue(LPCWSTR valueName, LPWSTR buffer, ULONG* chars);
    // Writes text with its terminator. A null text is a programming error and
    // raises COleException(E_FAIL).
    LONG SetStringValue(LPCWSTR valueName, LPCWSTR text, DWORD type = REG_SZ);

    HKEY Handle() const { return m_key.Get(); }

private:
    UniqueRegKey m_key;
};
