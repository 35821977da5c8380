// The DLL search path of an elevated tool that is often started from a
// download folder anyone can write to.
#pragma once

// Takes the folder the tool was started from and the current folder out of
// the search for every DLL loaded from now on, where the system offers it.
// First thing the process does; Windows XP without SP1 starts unchanged.
void RestrictDllSearch();
