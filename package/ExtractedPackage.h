// The driver package unpacked into a new work folder for one operation, and
// its devcon run there. The work folder goes when the object does, if the
// operation has not deleted it before.
#pragma once

#include "CabFile.h"
#include "ProtectedFolder.h"

#include <windows.h>

#include <string>

class ExtractedPackage {
public:
    ExtractedPackage() = default;
    ExtractedPackage(const ExtractedPackage&) = delete;
    ExtractedPackage& operator=(const ExtractedPackage&) = delete;

    // Makes the work folder and extracts the package into it. FALSE, with
    // "failed to extract files" traced, when either failed.
    BOOL Extract(const void* data, DWORD size);

    // Runs devcon of the architecture folder with the arguments, in the work
    // folder or, with inArchFolder, in the architecture folder; as
    // RunDeviceCommand, with the work folder as its temporary directory.
    BOOL Run(const std::wstring& arguments, bool inArchFolder, LPCWSTR startText, DWORD& exitCode) const;

    // Deletes the work folder with everything in it.
    void Delete();

private:
    ProtectedFolder m_workFolder;
    // Destroyed first: it deletes only a folder that it created itself.
    CCabFile m_cab{ TRUE };
    std::wstring m_archFolder;
};
