// The work folder of one install or uninstall: a new folder in the temporary
// directory that the package is extracted into, and its architecture subfolder.
#pragma once

#include "ProtectedFolder.h"

#include <string>

// Names and creates a new folder "tq....tmp" in the temporary directory, with
// its x86 and amd64 subfolders, where only administrators can change
// anything. Its path is empty when no new folder could be created: a folder
// that someone else made under the chosen name is never taken over.
ProtectedFolder CreateWorkFolder();

// Deletes the folder's tree through the handle it is held by; nothing when
// it is no longer held.
void DeleteWorkFolder(ProtectedFolder& workFolder);

// The subfolder of the work folder whose devcon runs here: "<work folder>\<NativeArch>".
std::wstring ArchFolder(const std::wstring& workFolder);
