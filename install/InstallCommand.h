// The Install button: asks for the port kind and installs one port of that
// kind under the progress dialog, unless the list already shows a port.
#pragma once

class CMainDlg;

void InstallCommand(CMainDlg& mainDlg);
