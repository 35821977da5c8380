// The application message box as the user sees it: the real box, read and
// answered from the dialog driver's thread.
#include "framework/AppMessageBox.h"
#include "res/resource.h"

#include "support/DialogDriver.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScopedSwap.h"
#include "support/TestLanguage.h"
#include "support/WindowInfo.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// What the box showed.
struct Seen {
    std::wstring caption;
    std::wstring text;
    std::set<int> buttons;
    HICON icon = nullptr;
};

BOOL CALLBACK ReadChild(HWND child, LPARAM param)
{
    Seen& seen = *reinterpret_cast<Seen*>(param);
    const std::wstring className = WindowClass(child);
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if (lstrcmpiW(className.c_str(), L"Button") == 0 && (style & WS_VISIBLE))
        seen.buttons.insert(::GetDlgCtrlID(child));
    if (lstrcmpiW(className.c_str(), L"Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON)
            seen.icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
        else if (::GetWindowTextLengthW(child) > 0)
            seen.text = WindowText(child);
    }
    return TRUE;
}

// Reads the box, then presses its OK button.
DialogDriver::Action ReadAndPressOk(Seen& seen)
{
    return [&seen](HWND box) {
        seen.caption = WindowText(box);
        ::EnumChildWindows(box, &ReadChild, reinterpret_cast<LPARAM>(&seen));
        DialogDriver::Click(IDOK)(box);
    };
}

// Lets message boxes reach the screen, which the test entry forbids.
class AppMessageBoxTest : public ::testing::Test {
protected:
    ScopedSwap<decltype(g_messageBox)> m_screen{ g_messageBox, &::MessageBoxW };
};

TEST_F(AppMessageBoxTest, ShowsTheTextUnderTheExecutablesNameWithOkAndTheIconGiven)
{
    struct Case {
        UINT iconFlag;
        LPCWSTR systemIcon;
    };
    const Case cases[] = {
        { MB_ICONWARNING, IDI_WARNING },
        { MB_ICONERROR, IDI_ERROR },
        { MB_ICONINFORMATION, IDI_INFORMATION },
    };
    for (const Case& c : cases) {
        Seen seen;
        int result = 0;
        {
            DialogDriver driver({ ReadAndPressOk(seen) });
            result = AppMessageBox(L"Something to know.", c.iconFlag);
        }
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(seen.caption, L"framework_tests");
        EXPECT_EQ(seen.text, L"Something to know.");
        EXPECT_EQ(seen.buttons, std::set<int>{ IDOK });
        EXPECT_EQ(seen.icon, ::LoadIconW(nullptr, c.systemIcon)) << std::hex << c.iconFlag;
    }
}

TEST_F(AppMessageBoxTest, TakesItsTextFromTheStringTable)
{
    Seen seen;
    {
        DialogDriver driver({ ReadAndPressOk(seen) });
        AppMessageBox(IDS_PORT_EXISTS, MB_ICONWARNING);
    }
    EXPECT_EQ(seen.text, InTestLanguage(L"The port exists!", L"端口已经存在！"));
}

TEST(AppMessageBoxHook, ReceivesTheTextAndTheFullTypeInsteadOfTheScreen)
{
    MessageBoxRecorder recorder;
    EXPECT_EQ(AppMessageBox(IDS_INSTALL_FAILED, MB_ICONERROR), IDOK);
    ASSERT_EQ(recorder.Boxes().size(), 1u);
    EXPECT_EQ(recorder.Boxes()[0].text, InTestLanguage(L"Fail to install the port!", L"端口安装失败！"));
    EXPECT_EQ(recorder.Boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

}
