// Makes the product see the ANSI code page 65001 (the "Unicode UTF-8 for
// worldwide language support" of Windows 10 1903 and later) while the object
// lives, with the rules Windows documents for it and Wine 8 does not keep:
// WideCharToMultiByte takes only the flags 0 and WC_ERR_INVALID_CHARS
// (otherwise ERROR_INVALID_FLAGS) and neither a default character nor a
// used-default report (otherwise ERROR_INVALID_PARAMETER); MultiByteToWideChar
// only 0 and MB_ERR_INVALID_CHARS. Only the program's own calls see it: the
// platform's DLLs keep Wine's code page.
#pragma once

#include "ImportPatch.h"

#include <windows.h>

class Utf8AnsiCodePage {
public:
    Utf8AnsiCodePage();
    Utf8AnsiCodePage(const Utf8AnsiCodePage&) = delete;
    Utf8AnsiCodePage& operator=(const Utf8AnsiCodePage&) = delete;

private:
    static UINT WINAPI AnsiCodePage();
    static int WINAPI ToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int size,
                                  LPCCH defaultChar, LPBOOL usedDefault);
    static int WINAPI ToWideChar(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR out, int size);

    static inline void* s_realCodePage = nullptr;
    static inline decltype(&::WideCharToMultiByte) s_realToMultiByte = nullptr;
    static inline decltype(&::MultiByteToWideChar) s_realToWideChar = nullptr;
    ImportPatch m_codePage;
    ImportPatch m_toMultiByte;
    ImportPatch m_toWideChar;
};
