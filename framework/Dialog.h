// Dialogs built from a resource template, run modally (or, for tests, modeless).
#pragma once

#include "DataExchange.h"
#include "Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; its result, or -1 when it could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; it ends through EndDialog like a modal one.
    BOOL Create(CWnd* parent = nullptr);
    void EndDialog(int result);

    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    UINT TemplateId() const { return m_templateId; }
    // The result EndDialog gave a modeless dialog.
    INT_PTR ModelessResult() const { return m_modelessResult; }

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    CWnd* m_pParentWnd;

private:
    HWND OwnerWindow() const;
    static void CenterOverOwner(HWND hWnd);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    bool m_modal = false;
    INT_PTR m_modelessResult = 0;
};
