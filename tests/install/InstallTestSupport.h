// What the tests of the install and uninstall commands share.
#pragma once

#include "common/PortKind.h"
#include "framework/ListCtrl.h"

#include "support/DialogDriver.h"
#include "support/MessageBoxRecorder.h"

#include <windows.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

// The message box a user sees for a string-table entry and an icon flag, with
// the hourglass on or off meanwhile.
MessageBoxRecorder::Shown Box(UINT stringId, UINT iconFlag, bool underWaitCursor);
using Boxes = std::vector<MessageBoxRecorder::Shown>;
bool operator==(const MessageBoxRecorder::Shown& a, const MessageBoxRecorder::Shown& b);
void PrintTo(const MessageBoxRecorder::Shown& box, std::ostream* os);

// The rows of the list: column 0 and column 1 of each.
using ListRows = std::vector<std::pair<std::wstring, std::wstring>>;
ListRows Rows(const CListCtrl& list);

// Answers the port-type dialog with this kind: Ok, after checking its button
// unless the kind is the preselected serial one.
DialogDriver::Action ChoosePortKind(PortKind kind);

// Removes every device of the three hardware IDs the system installs or
// removes; the port names of those it took away.
std::vector<std::wstring> RemovePortDevices();
