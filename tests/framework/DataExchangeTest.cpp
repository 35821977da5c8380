// DDX_Radio on the port-type chooser's group (dialog 107): 1005 is 0, 1006 is 1.
#include "framework/Dialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

class PortTypeChooser : public CDialog {
public:
    PortTypeChooser() : CDialog(IDD_PORT_TYPE) {}

    int m_kind = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Radio(pDX, IDC_SERIAL_PORT, m_kind); }
};

bool IsChecked(const CDialog& dialog, int id)
{
    return ::SendMessageW(dialog.GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST(DataExchange, RadioGroupShowsTheValue)
{
    struct Case {
        int value;
        bool serialChecked;
        bool parallelChecked;
    };
    const Case cases[] = { { 0, true, false }, { 1, false, true }, { -1, false, false } };
    PortTypeChooser dialog;
    ASSERT_TRUE(dialog.Create());
    for (const Case& c : cases) {
        dialog.m_kind = c.value;
        EXPECT_TRUE(dialog.UpdateData(FALSE));
        EXPECT_EQ(IsChecked(dialog, IDC_SERIAL_PORT), c.serialChecked) << c.value;
        EXPECT_EQ(IsChecked(dialog, IDC_PARALLEL_PORT), c.parallelChecked) << c.value;
    }
}

TEST(DataExchange, RadioGroupReadsTheButtonTheUserChose)
{
    PortTypeChooser dialog;
    ASSERT_TRUE(dialog.Create());

    dialog.m_kind = 5;
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.m_kind, -1) << "nothing checked";

    struct Case {
        int clicked;
        int value;
    };
    const Case cases[] = { { IDC_PARALLEL_PORT, 1 }, { IDC_SERIAL_PORT, 0 }, { IDC_PARALLEL_PORT, 1 } };
    for (const Case& c : cases) {
        ::SendMessageW(dialog.GetDlgItem(c.clicked), BM_CLICK, 0, 0);
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(dialog.m_kind, c.value) << c.clicked;
    }
}

}
