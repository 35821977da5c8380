// Raw registry data made from wide texts.
#pragma once

#include <string>

// The first byteCount bytes of a wide text: with or without its terminator,
// or cut inside a character.
inline std::string RawBytes(const wchar_t* text, size_t byteCount)
{
    return std::string(reinterpret_cast<const char*>(text), byteCount);
}

// All characters of a wide text as bytes, embedded NULs included.
inline std::string WideBytes(const std::wstring& text)
{
    return RawBytes(text.data(), text.size() * sizeof(wchar_t));
}
