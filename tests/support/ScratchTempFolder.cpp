#include "ScratchTempFolder.h"

#include "support/ShellDelete.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {
struct FindCloser {
    void operator()(HANDLE search) const { ::FindClose(search); }
};

std::wstring Environment(const wchar_t* name, bool& present)
{
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    present = size != 0;
    if (!present)
        return std::wstring();
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, &value[0], size));
    return value;
}

std::wstring TempPath()
{
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(sizeof(path) / sizeof(path[0]), path);
    return path;
}
}

ScratchTempFolder::ScratchTempFolder(const std::wstring& label)
{
    m_previousTmp = Environment(L"TMP", m_hadTmp);
    const std::wstring base = TempPath() + label + L" " + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (unsigned n = 0; m_path.empty(); ++n) {
        const std::wstring candidate = base + std::to_wstring(n);
        if (::CreateDirectoryW(candidate.c_str(), nullptr))
            m_path = candidate;
        else if (::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    SetTmp(m_path);
}

ScratchTempFolder::~ScratchTempFolder()
{
    if (m_hadTmp)
        SetTmp(m_previousTmp);
    else
        ClearTmp();
    if (!m_path.empty())
        ShellDeleteTree(m_path.c_str(), nullptr, FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI);
}

void ScratchTempFolder::SetTmp(const std::wstring& path)
{
    // _wputenv updates the C runtime's copy, which _wtempnam reads, and the process's.
    ::_wputenv((L"TMP=" + path).c_str());
    ::SetEnvironmentVariableW(L"TMP", path.c_str());
}

void ScratchTempFolder::ClearTmp()
{
    ::_wputenv(L"TMP=");
    ::SetEnvironmentVariableW(L"TMP", nullptr);
}

std::vector<std::wstring> ScratchTempFolder::Entries() const
{
    return FolderEntries(m_path);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE first = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (first == INVALID_HANDLE_VALUE)
        return names;
    const std::unique_ptr<void, FindCloser> search(first);
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}
