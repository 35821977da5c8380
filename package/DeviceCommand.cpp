#include "DeviceCommand.h"

#include "common/TraceLog.h"
#include "framework/UniqueResource.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {
// The name of a "name=value" string; a leading '=' belongs to the name, as
// in the "=C:=C:\folder" strings that keep a drive's current folder.
std::wstring NameOf(const std::wstring& variable)
{
    return variable.substr(0, variable.find(L'=', 1));
}

// Windows keeps an environment sorted by name, comparing upper-case
// characters without regard to locale (names are ASCII in practice).
bool NameBefore(const std::wstring& left, const std::wstring& right)
{
    const std::wstring a = NameOf(left);
    const std::wstring b = NameOf(right);
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
        return std::towupper(x) < std::towupper(y);
    });
}

bool IsReplaced(const std::wstring& variable)
{
    const std::wstring name = NameOf(variable);
    for (const wchar_t* replaced : { L"TMP", L"TEMP", L"PATH" }) {
        if (::lstrcmpiW(name.c_str(), replaced) == 0)
            return true;
    }
    return false;
}

std::wstring SystemFolder(UINT(WINAPI* get)(LPWSTR, UINT))
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = get(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}
}

std::wstring DeviceCommandLine(const std::wstring& archFolder, const std::wstring& arguments)
{
    // Without an extension: process creation supplies ".exe".
    return L"\"" + archFolder + L"\\devcon\" " + arguments;
}

std::wstring DeviceCommandEnvironment(const wchar_t* inherited, const std::wstring& tempFolder,
                                      const std::wstring& path)
{
    std::vector<std::wstring> variables;
    for (const wchar_t* variable = inherited; variable && *variable; variable += std::wcslen(variable) + 1) {
        if (!IsReplaced(variable))
            variables.emplace_back(variable);
    }
    variables.push_back(L"TMP=" + tempFolder);
    variables.push_back(L"TEMP=" + tempFolder);
    variables.push_back(L"PATH=" + path);
    std::stable_sort(variables.begin(), variables.end(), NameBefore);
    std::wstring block;
    for (const std::wstring& variable : variables)
        block += variable + L'\0';
    return block + L'\0';
}

std::wstring SystemPath()
{
    const std::wstring system = SystemFolder(::GetSystemDirectoryW);
    return system + L";" + SystemFolder(::GetSystemWindowsDirectoryW) + L";" + system + L"\\Wbem";
}

BOOL RunDeviceCommand(const std::wstring& commandLine, LPCWSTR currentFolder, const std::wstring& tempFolder,
                      LPCWSTR startText, DWORD& exitCode)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // CreateProcessW may write into the command line.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.resize(std::max<size_t>(line.size() + 1, MAX_PATH), L'\0');
    const UniqueEnvironmentStrings inherited(::GetEnvironmentStringsW());
    std::wstring environment = DeviceCommandEnvironment(inherited.Get(), tempFolder, SystemPath());
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                          &environment[0], currentFolder, &startup, &process)) {
        TraceLog(L"CreateProcess fail![%u]\n", ::GetLastError());
        return FALSE;
    }
    // Declared in this order so that the process handle is closed first.
    const UniqueHandle thread(process.hThread);
    const UniqueHandle child(process.hProcess);
    TraceLog(L"%s", startText);
    ::WaitForSingleObject(child.Get(), INFINITE);
    // An exit code that cannot be read is no success.
    if (!::GetExitCodeProcess(child.Get(), &exitCode))
        exitCode = kExitCodeUnknown;
    return TRUE;
}
