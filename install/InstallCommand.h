// The Install button: asks for the port kind and installs one port of that
// kind under the progress dialog, unless the list already shows a port.
#pragma once

class CListCtrl;
class CWnd;

// owner is the parent of its dialogs; list is the main window's port list.
void InstallCommand(CWnd& owner, CListCtrl& list);
