// The user-interface language ctest runs a test program under (LANGUAGES of
// tavrin_add_test), so that tests know which resource texts to expect.
#pragma once

#include <windows.h>

// 1033 (English) or 2052 (Simplified Chinese); 0 when the program was started
// without a language.
LANGID TestLanguage();

// The text of the running language: english under 1033, chinese under 2052.
const wchar_t* InTestLanguage(const wchar_t* english, const wchar_t* chinese);
