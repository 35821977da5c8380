// Asks whether a serial or a parallel port is to be installed.
#pragma once

#include "common/PortKind.h"
#include "framework/Dialog.h"

class CPortDlg : public CDialog {
public:
    explicit CPortDlg(CWnd* parent);

    PortKind GetPortKind() const { return m_nPortKind; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    // Serial until the user picks otherwise.
    PortKind m_nPortKind = PortKindSerial;
};
