#include "DeviceCommand.h"

#include "common/TraceLog.h"
#include "framework/UniqueResource.h"

#include <algorithm>
#include <vector>

std::wstring DeviceCommandLine(const std::wstring& archFolder, const std::wstring& arguments)
{
    // Without an extension: process creation supplies ".exe".
    return L"\"" + archFolder + L"\\devcon\" " + arguments;
}

BOOL RunDeviceCommand(const std::wstring& commandLine, LPCWSTR currentFolder, LPCWSTR startText,
                      DWORD& exitCode)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // CreateProcessW may write into the command line.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.resize(std::max<size_t>(line.size() + 1, MAX_PATH), L'\0');
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          currentFolder, &startup, &process)) {
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
