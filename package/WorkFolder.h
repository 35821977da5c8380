// The work folder of one install or uninstall: a new folder in the temporary
// directory that the package is extracted into, and its architecture subfolder.
#pragma once

#include "ProtectedFolder.h"

#include <windows.h>

#include <string>

// Names and creates a new folder "tq....tmp" in the temporary directory, with
// its x86 and amd64 subfolders, where only administrators can change
// anything; the owner window parents any shell interface. Its path is empty
// when no new folder could be created: a folder that someone else made under
// the chosen name is never taken over.
ProtectedFolder CreateWorkFolder(HWND owner);

// Lets go of the folder and deletes its tree, if it exists, silently; the
// shell may report an error itself.
void DeleteWorkFolder(ProtectedFolder& workFolder, HWND owner);

// The subfolder of the work folder whose devcon runs here: "<work folder>\<NativeArch>".
std::wstring ArchFolder(const std::wstring& workFolder);
