#include "SystemLibrary.h"

#include <string>

SystemLibrary::SystemLibrary(const wchar_t* fileName) noexcept
{
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    try {
        const std::wstring path = std::wstring(folder, length) + L"\\" + fileName;
        // A full path loads that file alone; the altered search makes its own
        // imports come from the system folder rather than the tool's folder.
        m_module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    } catch (...) {
    }
}

SystemLibrary::~SystemLibrary()
{
    if (m_module)
        ::FreeLibrary(m_module);
}
