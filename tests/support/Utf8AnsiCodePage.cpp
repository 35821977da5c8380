#include "Utf8AnsiCodePage.h"

namespace {
const DWORD kErrInvalidChars = 0x00000080;  // WC_ERR_INVALID_CHARS, from Windows Vista on

// The calls that mean the ANSI code page, now UTF-8.
bool IsUtf8(UINT codePage)
{
    return codePage == CP_ACP || codePage == CP_THREAD_ACP || codePage == CP_UTF8;
}
}

Utf8AnsiCodePage::Utf8AnsiCodePage()
    : m_codePage("kernel32.dll", "GetACP", reinterpret_cast<void*>(&AnsiCodePage), &s_realCodePage),
      m_toMultiByte("kernel32.dll", "WideCharToMultiByte", reinterpret_cast<void*>(&ToMultiByte),
                    reinterpret_cast<void**>(&s_realToMultiByte)),
      m_toWideChar("kernel32.dll", "MultiByteToWideChar", reinterpret_cast<void*>(&ToWideChar),
                   reinterpret_cast<void**>(&s_realToWideChar))
{
}

UINT WINAPI Utf8AnsiCodePage::AnsiCodePage()
{
    return CP_UTF8;
}

int WINAPI Utf8AnsiCodePage::ToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int size,
                                         LPCCH defaultChar, LPBOOL usedDefault)
{
    if (!IsUtf8(codePage))
        return s_realToMultiByte(codePage, flags, text, length, out, size, defaultChar, usedDefault);
    if (flags & ~kErrInvalidChars) {
        ::SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    if (defaultChar || usedDefault) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return s_realToMultiByte(CP_UTF8, flags, text, length, out, size, nullptr, nullptr);
}

int WINAPI Utf8AnsiCodePage::ToWideChar(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR out, int size)
{
    if (!IsUtf8(codePage))
        return s_realToWideChar(codePage, flags, text, length, out, size);
    if (flags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) {
        ::SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    return s_realToWideChar(CP_UTF8, flags, text, length, out, size);
}
