// The progress dialog of an install: starts the install worker, moves its bar
// as the worker reports, and ends only once the worker has ended.
#pragma once

#include "common/InstallJob.h"
#include "framework/Dialog.h"
#include "framework/ProgressCtrl.h"
#include "framework/UniqueResource.h"

class CWaitDialog : public CDialog {
public:
    // The job must outlive the dialog; the dialog fills in its hNotifyWnd.
    CWaitDialog(CWnd* parent, InstallJob* job);

    // Test seam: the thread creation call, so that a test can make it fail.
    static decltype(&::CreateThread) s_createThread;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter, Escape and the close command leave the dialog open.
    void OnOK() override;
    void OnCancel() override;
    LRESULT OnProgressMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CProgressCtrl m_progress;
    InstallJob* m_pJob;
    UniqueHandle m_hThread;
};
