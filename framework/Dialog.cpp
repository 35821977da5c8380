#include "Dialog.h"

#include "common/TraceLog.h"
#include "WinApp.h"

#include <algorithm>

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_pParentWnd(parent), m_templateId(templateId)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && !m_modal)
        ::DestroyWindow(m_hWnd);
}

HWND CDialog::OwnerWindow() const
{
    if (m_pParentWnd)
        return m_pParentWnd->m_hWnd;
    // Without a parent the dialog is owned by the application's main window,
    // so that it stays modal to it.
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd != this)
        return app->m_pMainWnd->m_hWnd;
    return nullptr;
}

INT_PTR CDialog::DoModal()
{
    m_modal = true;
    INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                       OwnerWindow(), &CDialog::DialogProc,
                                       reinterpret_cast<LPARAM>(this));
    m_modal = false;
    return result;
}

BOOL CDialog::Create(CWnd* parent)
{
    m_pParentWnd = parent;
    m_modal = false;
    return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                OwnerWindow(), &CDialog::DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(int result)
{
    if (m_modal) {
        ::EndDialog(m_hWnd, result);
    } else {
        m_modelessResult = result;
        ::DestroyWindow(m_hWnd);
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

bool CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (CWnd::OnWndMsg(message, wParam, lParam, result))
        return true;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            result = 0;
            return true;
        case IDCANCEL:
            OnCancel();
            result = 0;
            return true;
        default:
            break;
        }
    }
    if (message == WM_SETCURSOR) {
        // Keep the hourglass over the tool's windows while work is going on.
        CWinApp* app = AfxGetApp();
        if (app && app->WaitCursorCount() > 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            result = TRUE;
            return true;
        }
    }
    return false;
}

void CDialog::CenterOverOwner(HWND hWnd)
{
    RECT window = {};
    ::GetWindowRect(hWnd, &window);
    HWND owner = ::GetWindow(hWnd, GW_OWNER);
    HMONITOR monitor = ::MonitorFromWindow(owner ? owner : hWnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(monitor, &info);
    RECT area = info.rcWork;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG x = area.left + (area.right - area.left - width) / 2;
    LONG y = area.top + (area.bottom - area.top - height) / 2;
    // Keep it on the work area.
    x = std::max(info.rcWork.left, std::min(x, info.rcWork.right - width));
    y = std::max(info.rcWork.top, std::min(y, info.rcWork.bottom - height));
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    try {
        if (message == WM_INITDIALOG) {
            dialog = reinterpret_cast<CDialog*>(lParam);
            ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
            dialog->m_hWnd = hWnd;
            RECT before = {};
            ::GetWindowRect(hWnd, &before);
            BOOL result = dialog->OnInitDialog();
            // A modal dialog that its initialisation left where the template
            // put it is centred over its owner.
            RECT after = {};
            ::GetWindowRect(hWnd, &after);
            if (dialog->m_modal && ::EqualRect(&before, &after)
                && !(::GetWindowLongW(hWnd, GWL_STYLE) & (WS_CHILD | DS_CENTER)))
                CenterOverOwner(hWnd);
            return result;
        }
        if (!dialog)
            return FALSE;
        LRESULT result = 0;
        bool handled = dialog->OnWndMsg(message, wParam, lParam, result);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hWnd, DWLP_USER, 0);
            dialog->m_hWnd = nullptr;
        }
        if (!handled)
            return FALSE;
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    } catch (...) {
        TraceLog(L"exception in the dialog procedure, message %u\n", message);
        return FALSE;
    }
}
