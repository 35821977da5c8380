// A fresh folder that the process's temporary directory (TMP, for the Windows
// calls, the C runtime and child processes alike) points to while the object
// lives. Removed with whatever is left in it.
#pragma once

#include <string>
#include <vector>

class ScratchTempFolder {
public:
    // The folder's name starts with the label, which may hold blanks.
    explicit ScratchTempFolder(const std::wstring& label = L"tavrin-test");
    ~ScratchTempFolder();
    ScratchTempFolder(const ScratchTempFolder&) = delete;
    ScratchTempFolder& operator=(const ScratchTempFolder&) = delete;

    // Without a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    // Names of the files and folders directly in the folder.
    std::vector<std::wstring> Entries() const;
    // Points TMP elsewhere, say at a folder that does not exist, until the object goes.
    static void SetTmp(const std::wstring& path);

private:
    static void ClearTmp();

    std::wstring m_path;
    std::wstring m_previousTmp;
    bool m_hadTmp;
};

// Names of the files and folders directly in a folder, sorted.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
