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

// The wide characters that raw bytes hold, low byte first; a last odd byte
// counts as a character with a zero high byte.
inline std::wstring WideText(const std::string& bytes)
{
    std::wstring text;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const unsigned low = static_cast<unsigned char>(bytes[i]);
        const unsigned high = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        text.push_back(static_cast<wchar_t>(low | high << 8));
    }
    return text;
}
