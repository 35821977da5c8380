// Message maps as a window class of the tool uses them: commands by id (button
// clicks only), messages with their arguments and result, and the chain to
// the base class's map.
#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT WM_PING = WM_APP + 1;
const UINT WM_BASE_ONLY = WM_APP + 2;
const UINT WM_UNMAPPED = WM_APP + 3;

class BaseWindow : public CWnd {
public:
    std::vector<std::string> m_calls;

protected:
    void OnShared() { m_calls.push_back("base shared"); }
    void OnBaseCommand() { m_calls.push_back("base command"); }
    LRESULT OnBaseMessage(WPARAM, LPARAM) { m_calls.push_back("base message"); return 11; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
    ON_COMMAND(1001, &BaseWindow::OnShared)
    ON_COMMAND(1002, &BaseWindow::OnBaseCommand)
    ON_MESSAGE(WM_BASE_ONLY, &BaseWindow::OnBaseMessage)
END_MESSAGE_MAP()

class DerivedWindow : public BaseWindow {
protected:
    void OnShared() { m_calls.push_back("derived shared"); }
    LRESULT OnPing(WPARAM wParam, LPARAM lParam)
    {
        m_calls.push_back("ping");
        return static_cast<LRESULT>(wParam + lParam);
    }
    void OnTimer(UINT_PTR id) { m_calls.push_back("timer " + std::to_string(id)); }
    void OnDestroy() { m_calls.push_back("destroy"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWindow, BaseWindow)
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_COMMAND(1001, &DerivedWindow::OnShared)
    ON_MESSAGE(WM_PING, &DerivedWindow::OnPing)
END_MESSAGE_MAP()

struct DispatchCase {
    const char* what;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::vector<std::string> calls;
    LRESULT result;
};

TEST(MessageMap, DispatchesByMessageAndButtonIdThroughTheChain)
{
    const DispatchCase cases[] = {
        { "click handled by the derived map first", WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0,
          { "derived shared" }, 0 },
        { "click handled by the base map", WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0, { "base command" }, 0 },
        { "other notification of a mapped button", WM_COMMAND, MAKEWPARAM(1001, BN_SETFOCUS), 0, {}, 0 },
        { "edit notification with a mapped id", WM_COMMAND, MAKEWPARAM(1002, EN_CHANGE), 0, {}, 0 },
        { "click of an unmapped id", WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0, {}, 0 },
        { "message with arguments and result", WM_PING, 2, 3, { "ping" }, 5 },
        { "message of the base map", WM_BASE_ONLY, 0, 0, { "base message" }, 11 },
        { "timer with its id", WM_TIMER, 7, 0, { "timer 7" }, 0 },
        { "unmapped message goes to the default procedure", WM_UNMAPPED, 0, 0, {}, 0 },
    };
    for (const DispatchCase& c : cases) {
        DerivedWindow window;
        ASSERT_TRUE(window.Create(nullptr, L"", WS_POPUP, RECT{ 0, 0, 10, 10 }, nullptr, 0));
        EXPECT_EQ(window.SendMessage(c.message, c.wParam, c.lParam), c.result) << c.what;
        EXPECT_EQ(window.m_calls, c.calls) << c.what;
        window.DestroyWindow();
    }
}

TEST(MessageMap, DestroyReachesItsHandlerAndReleasesTheHandle)
{
    DerivedWindow window;
    ASSERT_TRUE(window.Create(nullptr, L"", WS_POPUP, RECT{ 0, 0, 10, 10 }, nullptr, 0));
    HWND hWnd = window.m_hWnd;
    EXPECT_TRUE(window.DestroyWindow());
    EXPECT_EQ(window.m_calls, std::vector<std::string>{ "destroy" });
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(hWnd));
}

}
