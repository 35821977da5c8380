// Stands in for devcon in the tests. Appends one UTF-16 line to the file that
// TAVRIN_PROBE_LOG names: the folder it runs in, its own path, its TMP, TEMP
// and PATH, and its command line, separated by '|'. Exits with the number
// TAVRIN_PROBE_EXIT holds, or else with the number its first argument starts
// with (0 for a word such as "remove").
#include "framework/UniqueResource.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {
const DWORD kCapacity = MAX_PATH;

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[4 * kCapacity] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, sizeof(value) / sizeof(value[0]));
    return length < sizeof(value) / sizeof(value[0]) ? value : L"(too long)";
}
}

int wmain(int argc, wchar_t* argv[])
{
    wchar_t log[kCapacity] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"TAVRIN_PROBE_LOG", log, kCapacity);
    if (length > 0 && length < kCapacity) {
        wchar_t folder[kCapacity] = {};
        ::GetCurrentDirectoryW(kCapacity, folder);
        wchar_t self[kCapacity] = {};
        ::GetModuleFileNameW(nullptr, self, kCapacity);
        const std::wstring line = std::wstring(folder) + L"|" + self + L"|" + Variable(L"TMP") + L"|" +
                                  Variable(L"TEMP") + L"|" + Variable(L"PATH") + L"|" + ::GetCommandLineW() + L"\n";
        const UniqueHandle file(::CreateFileW(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (file)
            ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    }
    const std::wstring exitCode = Variable(L"TAVRIN_PROBE_EXIT");
    if (!exitCode.empty())
        return static_cast<int>(std::wcstoul(exitCode.c_str(), nullptr, 10));
    return argc > 1 ? static_cast<int>(std::wcstoul(argv[1], nullptr, 10)) : 0;
}
