// The Uninstall button: with a row selected, removes every port device of this
// system (serial, parallel and the earlier version's) with devcon, on the
// user-interface thread under the wait cursor.
#pragma once

class CMainDlg;

void UninstallCommand(CMainDlg& mainDlg);
