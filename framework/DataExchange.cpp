#include "DataExchange.h"

#include "Dialog.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.Attach(pDX->m_pDlgWnd->GetDlgItem(id));
}

void DDX_Radio(CDataExchange* pDX, int firstId, int& value)
{
    HWND button = pDX->m_pDlgWnd->GetDlgItem(firstId);
    if (!button)
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next control with WS_GROUP.
    int index = 0;
    do {
        if (::SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            } else {
                ::SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        button = ::GetWindow(button, GW_HWNDNEXT);
    } while (button && !(::GetWindowLongW(button, GWL_STYLE) & WS_GROUP));
}
