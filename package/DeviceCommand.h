// Runs the package's device console tool (devcon).
#pragma once

#include <windows.h>

#include <string>

// The command line that starts devcon of the architecture folder with the
// arguments. The tool's path is quoted: the temporary directory may hold
// blanks, and an unquoted path would start whatever lies at its first blank.
std::wstring DeviceCommandLine(const std::wstring& archFolder, const std::wstring& arguments);

// The environment devcon runs with: the inherited block (name=value strings,
// each NUL-terminated, the block closed by another NUL) with TMP and TEMP
// naming tempFolder and PATH the given one, sorted by name as Windows keeps
// an environment. The user's own values would otherwise choose where the
// elevated tool writes its temporary files and where it looks for DLLs.
std::wstring DeviceCommandEnvironment(const wchar_t* inherited, const std::wstring& tempFolder,
                                      const std::wstring& path);

// The PATH devcon runs with: the system's own folders.
std::wstring SystemPath();

// The exit code reported for a command whose own could not be read.
inline constexpr DWORD kExitCodeUnknown = 0xFFFFFFFF;

// Starts the command line without a window in the current folder, with
// DeviceCommandEnvironment of this process's environment, tempFolder and
// SystemPath, and waits for it without a time limit. Returns FALSE when it
// did not start (the Windows error is traced), otherwise TRUE with its exit
// code, or with kExitCodeUnknown when that cannot be read; the start text is
// traced once it runs.
BOOL RunDeviceCommand(const std::wstring& commandLine, LPCWSTR currentFolder, const std::wstring& tempFolder,
                      LPCWSTR startText, DWORD& exitCode);
