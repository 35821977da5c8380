// The change-port-name dialog: offers the names of the port's kind that the
// Windows port map does not list as in use, and hands back the one picked.
#pragma once

#include "framework/ComboBox.h"
#include "framework/Dialog.h"

#include <string>

class CChgPortDlg : public CDialog {
public:
    CChgPortDlg();

    // The port's present name; its first three letters choose COM or LPT.
    void SetCurrentName(LPCWSTR name) { CurrentName = name; }
    // The name picked; empty unless the dialog ended with IDOK.
    LPCWSTR GetChosenName() const { return ChosenName.c_str(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()

private:
    // Adds to the list the names prefix1 .. prefix<highest> that no value of
    // HKEY_LOCAL_MACHINE\path holds.
    void FreePortNames(LPCWSTR path, LPCWSTR prefix, int highest);

    CComboBox m_portNames;
    std::wstring CurrentName;
    std::wstring ChosenName;
};
