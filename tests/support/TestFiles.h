// Small file-system helpers for the tests.
#pragma once

#include <string>

// The value of an environment variable; empty when unset.
std::wstring EnvironmentValue(const wchar_t* name);

bool IsFolder(const std::wstring& path);
bool IsFile(const std::wstring& path);

// The whole file; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// Creates folders one below the other in base until the path of the last has
// the length (in characters), and returns that path; empty when one fails.
std::wstring NestedFolders(const std::wstring& base, size_t length);
