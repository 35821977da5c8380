// Raw registry data made from wide texts.
#pragma once

#include <string>

// The first byteCount bytes of a wide text: with or without its terminator,
// or cut inside a character.
inline std::string RawBytes(const wchar_t* text, size_t byteCount)
{
    return std::string(reinterpret_cast<const char*>(text), byteCount);
}
