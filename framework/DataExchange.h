// Data exchange between a dialog's controls and its members, by control id.
#pragma once

#include <windows.h>

class CDialog;
class CWnd;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds the control with this id to a control object (once).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// The index of the checked button in the radio group that starts at firstId;
// -1 when none is checked.
void DDX_Radio(CDataExchange* pDX, int firstId, int& value);
