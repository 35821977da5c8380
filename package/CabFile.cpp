#include "CabFile.h"

#include "AdminOnlySecurity.h"
#include "NewFile.h"

#include "framework/SetupApi.h"

#include <cwchar>

namespace {
// Whether the text comes back unchanged from the ANSI code page, where the
// platform's cabinet iteration works: a character without its own code there
// could come back as another (a fullwidth backslash as a backslash, say). A
// UTF-8 code page takes neither the best-fit flag nor a used-default report
// (the conversion fails); it loses nothing but invalid UTF-16, which comes
// back as U+FFFD.
bool SurvivesAnsi(const std::wstring& text)
{
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = ::WideCharToMultiByte(CP_ACP, flags, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size == 0)
        return false;
    std::string ansi(static_cast<size_t>(size), '\0');
    BOOL lost = FALSE;
    if (::WideCharToMultiByte(CP_ACP, flags, text.c_str(), -1, &ansi[0], size, nullptr, utf8 ? nullptr : &lost) == 0 ||
        lost)
        return false;
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring back(static_cast<size_t>(chars), L'\0');
    return chars != 0 && ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &back[0], chars) == chars &&
           back.c_str() == text;
}

// The path as the cabinet iteration can take it: as it is, or, with
// characters outside the ANSI code page (a user name in another script, say),
// in its short form where the volume keeps short names; empty when neither.
std::wstring IterablePath(const std::wstring& path)
{
    if (SurvivesAnsi(path))
        return path;
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !SurvivesAnsi(shortPath))
        return std::wstring();
    return std::wstring(shortPath, length);
}

// A name below the destination: not absolute or rooted, without a drive or
// stream colon, and without a part of dots and blanks alone (such as ".."),
// whichever separator it uses.
bool IsRelativeName(const wchar_t* name)
{
    if (*name == L'\0' || *name == L'\\' || *name == L'/' || std::wcschr(name, L':'))
        return false;
    const wchar_t* part = name;
    for (const wchar_t* c = name;; ++c) {
        if (*c == L'\\' || *c == L'/' || *c == L'\0') {
            if (c != part && std::wcsspn(part, L". ") == static_cast<size_t>(c - part))
                return false;
            if (*c == L'\0')
                return true;
            part = c + 1;
        }
    }
}

// The full path the file system makes of a path; empty when it cannot.
std::wstring FullPath(const wchar_t* path)
{
    wchar_t full[2 * MAX_PATH] = {};
    const DWORD capacity = sizeof(full) / sizeof(full[0]);
    const DWORD length = ::GetFullPathNameW(path, capacity, full, nullptr);
    if (length == 0 || length >= capacity)
        return std::wstring();
    return std::wstring(full, length);
}

// Whether the path, resolved as the file system will (trailing dots and
// blanks, device names and all), names something inside the folder.
bool LiesInside(const wchar_t* path, const std::wstring& folder)
{
    std::wstring inside = FullPath(folder.c_str());
    const std::wstring full = FullPath(path);
    if (inside.empty() || full.empty())
        return false;
    if (inside.back() != L'\\')
        inside += L'\\';
    return full.size() > inside.size() && full.compare(0, inside.size(), inside) == 0;
}
}

CCabFile::CCabFile(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete)
{
}

// A folder that the object created goes with it, through the handle it holds.
CCabFile::~CCabFile() = default;

BOOL CCabFile::ExtractFromMemory(const void* pData, DWORD cbData, LPCWSTR folder)
{
    // The cabinet goes into a folder of its own where only administrators can
    // change anything, so that nobody can hand the extraction a cabinet of
    // theirs; it is closed before the platform reads it.
    const wchar_t name[] = L"\\package.cab";
    AdminOnlySecurity security;
    ProtectedFolder scratch;
    if (!scratch.Create(L"mycab", std::wcslen(name), security))
        return FALSE;
    const std::wstring cabinet = scratch.Path() + name;
    BOOL result = FALSE;
    if (WriteNewFile(cabinet.c_str(), pData, cbData, security.Attributes()))
        result = ExtractFromFile(cabinet.c_str(), folder);
    const DWORD error = ::GetLastError();
    scratch.Delete();
    ::SetLastError(error);
    return result;
}

BOOL CCabFile::ExtractFromFile(LPCWSTR cabinet, LPCWSTR folder)
{
    // Created and held before the iteration, so that a failed one is
    // cleaned up too; a folder that exists already is someone else's to delete.
    ProtectedFolder created;
    if (created.CreateAt(folder) && m_bAutoDelete)
        m_created = std::move(created);
    else
        created.Release();
    m_strFolder = folder;
    m_strTargetFolder = IterablePath(m_strFolder);
    const std::wstring iterableCabinet = IterablePath(cabinet);
    if (m_strTargetFolder.empty() || iterableCabinet.empty()) {
        ::SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    m_bEntryRefused = FALSE;
    const BOOL iterated =
        SetupApi::Get().SetupIterateCabinetW(iterableCabinet.c_str(), 0, &CCabFile::OnCabinetNotify, this);
    // Not every platform ends the iteration with a failure when asked to.
    if (m_bEntryRefused) {
        ::SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    return iterated;
}

UINT CALLBACK CCabFile::OnCabinetNotify(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR)
{
    // Failures to write single entries are not reported: the iteration goes on.
    if (notification != SPFILENOTIFY_FILEINCABINET)
        return NO_ERROR;
    CCabFile* self = static_cast<CCabFile*>(context);
    FILE_IN_CABINET_INFO_W* info = reinterpret_cast<FILE_IN_CABINET_INFO_W*>(param1);
    try {
        // The entry's name holds its subfolder, such as "amd64\devcon.exe".
        // One that would lead anywhere else ends the extraction unwritten.
        bool inside = IsRelativeName(info->NameInCabinet) && SurvivesAnsi(info->NameInCabinet);
        if (inside) {
            const std::wstring target = self->m_strTargetFolder + L"\\" + info->NameInCabinet;
            // A longer path is cut to what the buffer holds; what is checked is what gets written.
            ::lstrcpynW(info->FullTargetName, target.c_str(),
                        sizeof(info->FullTargetName) / sizeof(info->FullTargetName[0]));
            inside = LiesInside(info->FullTargetName, self->m_strTargetFolder);
        }
        if (!inside) {
            self->m_bEntryRefused = TRUE;
            ::SetLastError(ERROR_INVALID_NAME);
            return FILEOP_ABORT;
        }
    } catch (...) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FILEOP_ABORT;
    }
    return FILEOP_DOIT;
}
