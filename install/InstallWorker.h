// The install worker thread: extracts the package into a work folder, runs the
// install command of devcon, and reports to the progress dialog with
// ProgressMessage. Its exit code is devcon's, or 0xFFFFFFFF when the package
// was not extracted or devcon did not start.
#pragma once

#include <windows.h>

// The parameter is the InstallJob.
DWORD WINAPI InstallWorker(LPVOID parameter);
