// Stands in for devcon in the tests. Appends one UTF-16 line to the file that
// TAVRIN_PROBE_LOG names: the folder it runs in, its own path and its command
// line, separated by '|'. Exits with the number its first argument starts
// with (0 for a word such as "remove").
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t* argv[])
{
    wchar_t log[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"TAVRIN_PROBE_LOG", log, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        wchar_t folder[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, folder);
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring line = std::wstring(folder) + L"|" + self + L"|" + ::GetCommandLineW() + L"\n";
        HANDLE file = ::CreateFileW(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
            ::CloseHandle(file);
        }
    }
    return argc > 1 ? static_cast<int>(std::wcstoul(argv[1], nullptr, 10)) : 0;
}
