// What the tests of the install and uninstall commands share.
#pragma once

#include "common/PortKind.h"
#include "framework/ListCtrl.h"

#include "support/DialogDriver.h"
#include "support/MessageBoxRecorder.h"
#include "support/WindowInfo.h"

#include <windows.h>
#include <setupapi.h>

class CMainDlg;

#include <ostream>
#include <string>
#include <vector>

// The message box a user sees for a string-table entry and an icon flag, with
// the hourglass on or off meanwhile.
MessageBoxRecorder::Shown Box(UINT stringId, UINT iconFlag, bool underWaitCursor);
using Boxes = std::vector<MessageBoxRecorder::Shown>;
bool operator==(const MessageBoxRecorder::Shown& a, const MessageBoxRecorder::Shown& b);
void PrintTo(const MessageBoxRecorder::Shown& box, std::ostream* os);

// Answers the port-type dialog with this kind: Ok, after checking its button
// unless the kind is the preselected serial one.
DialogDriver::Action ChoosePortKind(PortKind kind);

// Removes every device of the three hardware IDs the system installs or
// removes; the port names of those it took away.
std::vector<std::wstring> RemovePortDevices();

// The message box of a failed restart of the device under Chg. Port No.
MessageBoxRecorder::Shown RestartFailedBox(DWORD error);

// Chg. Port No. on a port device made for the test, picking the first name
// offered, with the in-process restart failing as 64-bit Windows fails it for
// a 32-bit process (ERROR_IN_WOW64). The device goes again afterwards; its
// instance ID.
std::wstring RenameWithRestartRefusedAsUnderWow64(CMainDlg& main);
