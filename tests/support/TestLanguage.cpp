#include "TestLanguage.h"

#include <gtest/gtest.h>

#include <cwchar>

LANGID TestLanguage()
{
    wchar_t value[16] = {};
    DWORD length = ::GetEnvironmentVariableW(L"TAVRIN_TEST_LANGUAGE", value, sizeof(value) / sizeof(value[0]));
    if (length == 0 || length >= sizeof(value) / sizeof(value[0]))
        return 0;
    return static_cast<LANGID>(std::wcstoul(value, nullptr, 10));
}

const wchar_t* InTestLanguage(const wchar_t* english, const wchar_t* chinese)
{
    switch (TestLanguage()) {
    case MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US):
        return english;
    case MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED):
        return chinese;
    default:
        ADD_FAILURE() << "TAVRIN_TEST_LANGUAGE is not 1033 or 2052";
        return L"";
    }
}
