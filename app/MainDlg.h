// The main window: the list of installed ports and the four commands.
#pragma once

#include "framework/Dialog.h"
#include "framework/ListCtrl.h"
#include "framework/UniqueResource.h"

class CMainDlg : public CDialog {
public:
    CMainDlg();

    CListCtrl& PortList() { return m_list; }
    // The Ports class icon, null when the application icon is used instead.
    HICON ClassIcon() const { return m_hClassIcon.Get(); }

    // Button handlers.
    void PortListRefresh();
    void OnInstall();
    void OnUninstall();
    void PortRename();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Teardown when the window goes away.
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    CListCtrl m_list;
    UniqueIcon m_hClassIcon;
};
