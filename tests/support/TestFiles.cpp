#include "TestFiles.h"

#include "framework/UniqueResource.h"

#include <windows.h>

std::wstring EnvironmentValue(const wchar_t* name)
{
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return std::wstring();
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, &value[0], size));
    return value;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadBytes(const std::wstring& path)
{
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!file)
        return std::string();
    std::string bytes(::GetFileSize(file.Get(), nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr))
        read = 0;
    bytes.resize(read);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring NestedFolders(const std::wstring& base, size_t length)
{
    std::wstring path = base;
    while (path.size() < length) {
        // Parts of at most 60 characters, a backslash before each; the last
        // fills up to the length, and none is left empty.
        const size_t rest = length - path.size() - 1;
        const size_t part = rest <= 60 ? rest : (rest - 60 >= 2 ? 60 : 50);
        path += L"\\" + std::wstring(part, L'd');
        if (!::CreateDirectoryW(path.c_str(), nullptr))
            return std::wstring();
    }
    return path;
}
