// Stands in for devcon in the tests: writes the folder it runs in and its own
// path, as UTF-16 lines, to the record file (its last argument), then exits
// with the code its first argument gives.
// Usage: command_probe <exit code> [...] <record file>
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t* argv[])
{
    if (argc < 3)
        return -1;
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(sizeof(folder) / sizeof(folder[0]), folder);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, sizeof(self) / sizeof(self[0]));
    const std::wstring record = std::wstring(folder) + L"\n" + self + L"\n";

    HANDLE file = ::CreateFileW(argv[argc - 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written,
                    nullptr);
        ::CloseHandle(file);
    }
    return static_cast<int>(std::wcstoul(argv[1], nullptr, 10));
}
