#include "InstallTestSupport.h"

#include "install/PortDlg.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {
TEST(PortDlg, OffersSerialFirstAndReturnsTheChoice)
{
    struct Case {
        DialogDriver::Action answer;
        INT_PTR result;
        PortKind kind;
    };
    const Case cases[] = {
        { ChoosePortKind(PortKindSerial), IDOK, PortKindSerial },
        { ChoosePortKind(PortKindParallel), IDOK, PortKindParallel },
        { DialogDriver::ExpectControlThenClick(IDC_PARALLEL_PORT, IDCANCEL), IDCANCEL, PortKindSerial },
    };
    for (const Case& c : cases) {
        CPortDlg dialog(nullptr);
        {
            DialogDriver driver({ c.answer });
            EXPECT_EQ(dialog.DoModal(), c.result);
        }
        EXPECT_EQ(dialog.GetPortKind(), c.kind);
    }
}
}  // namespace
