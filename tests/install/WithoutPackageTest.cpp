// An executable that carries no driver package: both commands end silently.
#include "InstallTestSupport.h"

#include "package/DriverPackage.h"

#include "support/ScratchTempFolder.h"

#include <gtest/gtest.h>

namespace {
TEST(WithoutPackage, InstallAndUninstallEndSilently)
{
    EXPECT_FALSE(LoadDriverPackage().has_value());

    ScratchTempFolder temp;
    MainWindow main;
    main.List().DeleteAllItems();
    MessageBoxRecorder boxes;
    ProgressBarRecorder bar;
    {
        DialogDriver driver({ ChoosePortKind(PortKindSerial) });
        main.Dialog().OnInstall();
    }
    main.AddSentinelRow(true);
    main.Dialog().OnUninstall();

    EXPECT_EQ(boxes.Boxes(), Boxes());
    EXPECT_EQ(bar.Positions(), std::vector<int>());
    EXPECT_EQ(Rows(main.List()), (ListRows{ { L"SENTINEL", L"" } }));
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}
}  // namespace
