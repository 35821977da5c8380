#include "app/MainDlg.h"
#include "busy/BusyIndicator.h"
#include "busy/SpinnerLayout.h"
#include "busy/WaitThread.h"

#include "framework/UniqueResource.h"
#include "framework/WinThread.h"

#include "support/ProcessCounts.h"
#include "support/ScopedSwap.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

constexpr LONG kStyleBits = WS_POPUP | WS_VISIBLE | WS_DLGFRAME;

// A plain top-level window standing in for the main window.
class MainWindow {
public:
    explicit MainWindow(const RECT& rect)
    {
        m_wnd.Create(nullptr, L"main", WS_POPUP, rect, nullptr, 0);
    }
    ~MainWindow() { m_wnd.DestroyWindow(); }
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    CWnd* Wnd() { return &m_wnd; }
    HWND Hwnd() const { return m_wnd.m_hWnd; }

private:
    CWnd m_wnd;
};

// The indicator window once the indicator thread has made it: the thread
// sets its main window as the last step of InitInstance, when the window is
// complete.
HWND WaitForIndicatorWindow()
{
    CWnd* window = nullptr;
    while (!(window = g_pWaitThread->GetMainWnd()))
        ::Sleep(10);
    return window->m_hWnd;
}

RECT WindowRect(HWND hWnd)
{
    RECT rect = {};
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

void ExpectRect(const RECT& actual, const RECT& expected)
{
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

// A pixel of the window's client area as the screen shows it.
COLORREF ClientPixel(HWND hWnd, int x, int y)
{
    HDC dc = ::GetDC(hWnd);
    const COLORREF pixel = ::GetPixel(dc, x, y);
    ::ReleaseDC(hWnd, dc);
    return pixel;
}

// An ARGB colour of the spinner as GDI gives it back.
COLORREF GdiColour(UINT32 argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// A pixel of a box that its thread paints on its own: a window just shown can
// still read as unpainted black for a moment on a loaded machine, until its
// thread has dealt with the display's events and repainted it; a slow machine
// (an emulated 32-bit run) can show it half painted, the background filled
// and the spokes not yet drawn. A message sent to the box returns only once
// its thread has finished the paint it was in.
COLORREF PaintedClientPixel(HWND hWnd, int x, int y)
{
    const COLORREF background = GdiColour(kBusyBackground);
    COLORREF pixel = ClientPixel(hWnd, x, y);
    for (int attempt = 0; attempt < 100 && (pixel == RGB(0, 0, 0) || pixel == background); ++attempt) {
        ::Sleep(20);
        ::UpdateWindow(hWnd);
        ::SendMessageW(hWnd, WM_NULL, 0, 0);
        pixel = ClientPixel(hWnd, x, y);
    }
    return pixel;
}

// The colour of spoke i as GDI gives it back.
COLORREF SpokeColour(UINT32 i)
{
    return GdiColour(SpokeLayout(0)[i].argb);
}

// The spoke that points right at phase, where spoke 0 points at phase 0.
UINT32 SpokePointingRight(UINT32 phase)
{
    return (kSpokeCount - phase % kSpokeCount) % kSpokeCount;
}

// The three calls the indicator starts and ends with.
struct Calls {
    decltype(g_gdiplusStartup) gdiplusStartup;
    decltype(g_gdiplusShutdown) gdiplusShutdown;
    decltype(g_beginThread) beginThread;
};

// Replaces the start-up and shut-down calls for the life of the object; what
// the replacements saw is kept in the static members.
class ScopedCalls {
public:
    explicit ScopedCalls(const Calls& calls)
        : m_startup(g_gdiplusStartup, calls.gdiplusStartup),
          m_shutdown(g_gdiplusShutdown, calls.gdiplusShutdown),
          m_beginThread(g_beginThread, calls.beginThread)
    {
        s_startups = 0;
        s_shutdownTokens.clear();
        s_threadStarts.clear();
        s_startupResult = Gdiplus::Ok;
        s_indicatorEndedAtShutdown = true;
    }
    ScopedCalls(const ScopedCalls&) = delete;
    ScopedCalls& operator=(const ScopedCalls&) = delete;

    struct ThreadStart {
        const CRuntimeClass* threadClass;
        int priority;
        UINT stackSize;
        DWORD createFlags;
        LPSECURITY_ATTRIBUTES security;
    };

    static constexpr ULONG_PTR kFakeToken = 0x5EED;

    static Gdiplus::Status WINAPI FakeStartup(ULONG_PTR* token, const Gdiplus::GdiplusStartupInput*,
                                              Gdiplus::GdiplusStartupOutput*)
    {
        ++s_startups;
        if (s_startupResult == Gdiplus::Ok)
            *token = kFakeToken;
        return s_startupResult;
    }
    static VOID WINAPI RecordShutdown(ULONG_PTR token) { s_shutdownTokens.push_back(token); }
    static CWinThread* FailThreadStart(const CRuntimeClass* threadClass, int priority,
                                       UINT stackSize, DWORD createFlags,
                                       LPSECURITY_ATTRIBUTES security)
    {
        s_threadStarts.push_back({ threadClass, priority, stackSize, createFlags, security });
        return nullptr;
    }

    // The real thread start, but suspended: the thread has neither a message
    // queue nor a window until the test resumes it.
    static CWinThread* StartSuspended(const CRuntimeClass* threadClass, int priority,
                                      UINT stackSize, DWORD createFlags,
                                      LPSECURITY_ATTRIBUTES security)
    {
        return AfxBeginThread(threadClass, priority, stackSize, createFlags | CREATE_SUSPENDED,
                              security);
    }

    // The real calls, counted; the shut-down also notes whether the thread
    // whose handle the test keeps in s_indicator had ended by then.
    static Gdiplus::Status WINAPI CountStartup(ULONG_PTR* token,
                                               const Gdiplus::GdiplusStartupInput* input,
                                               Gdiplus::GdiplusStartupOutput* output)
    {
        ++s_startups;
        return Gdiplus::GdiplusStartup(token, input, output);
    }
    static VOID WINAPI CheckShutdown(ULONG_PTR token)
    {
        s_shutdownTokens.push_back(token);
        if (s_indicator && ::WaitForSingleObject(s_indicator, 0) != WAIT_OBJECT_0)
            s_indicatorEndedAtShutdown = false;
        Gdiplus::GdiplusShutdown(token);
    }

    static inline int s_startups = 0;
    static inline std::vector<ULONG_PTR> s_shutdownTokens;
    static inline std::vector<ThreadStart> s_threadStarts;
    static inline Gdiplus::Status s_startupResult = Gdiplus::Ok;
    static inline HANDLE s_indicator = nullptr;
    static inline bool s_indicatorEndedAtShutdown = true;

private:
    ScopedSwap<decltype(g_gdiplusStartup)> m_startup;
    ScopedSwap<decltype(g_gdiplusShutdown)> m_shutdown;
    ScopedSwap<decltype(g_beginThread)> m_beginThread;
};

const Calls kCountedRealCalls = { &ScopedCalls::CountStartup, &ScopedCalls::CheckShutdown, &AfxBeginThread };

class BusyIndicator : public testing::Test {
protected:
    // Every test starts from the state of a fresh process.
    void SetUp() override { ResetToNotStarted(); }

    static void ResetToNotStarted()
    {
        g_gdiplusToken = 0;
        g_pMainWnd = nullptr;
        g_pWaitThread = nullptr;
    }
};

TEST_F(BusyIndicator, WithAMainWindowMakesAHiddenOwnedBoxCentredOverIt)
{
    MainWindow main({ 200, 100, 600, 400 });
    BusyIndicatorStart(main.Wnd());
    ASSERT_NE(g_pWaitThread, nullptr);
    EXPECT_EQ(g_pMainWnd, main.Wnd());
    EXPECT_EQ(g_pWaitThread->GetRuntimeClass(), RUNTIME_CLASS(CWaitThread));
    const UniqueHandle thread = DuplicateOwnHandle(g_pWaitThread->m_hThread.Get());

    HWND indicator = WaitForIndicatorWindow();
    ExpectRect(WindowRect(indicator), { 350, 210, 450, 290 });
    EXPECT_EQ(::GetWindowLongW(indicator, GWL_STYLE) & kStyleBits, WS_POPUP | WS_DLGFRAME);
    EXPECT_FALSE(::IsWindowVisible(indicator));
    EXPECT_EQ(::GetParent(indicator), main.Hwnd());
    EXPECT_EQ(::GetWindow(indicator, GW_OWNER), main.Hwnd());

    BusyIndicatorStop();
    ASSERT_EQ(::WaitForSingleObject(thread.Get(), 0), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeThread(thread.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(::IsWindow(indicator));
    EXPECT_TRUE(::IsWindow(main.Hwnd()));
}

TEST_F(BusyIndicator, WithoutAMainWindowHandleShowsTheBoxAtTheTopLeftCorner)
{
    CWnd noHandle;
    CWnd* const mainWindows[] = { nullptr, &noHandle };
    for (CWnd* mainWnd : mainWindows) {
        SCOPED_TRACE(mainWnd ? "main window object without a handle" : "no main window");
        BusyIndicatorStart(mainWnd);
        ASSERT_NE(g_pWaitThread, nullptr);
        HWND indicator = WaitForIndicatorWindow();
        ExpectRect(WindowRect(indicator), { 0, 0, 100, 80 });
        EXPECT_EQ(::GetWindowLongW(indicator, GWL_STYLE) & kStyleBits, kStyleBits);
        EXPECT_TRUE(::IsWindowVisible(indicator));
        EXPECT_EQ(::GetParent(indicator), nullptr);
        EXPECT_EQ(::GetWindow(indicator, GW_OWNER), nullptr);
        // Painted at phase 0, spoke 0 pointing right, once the pending paint
        // has been asked for.
        ::UpdateWindow(indicator);
        EXPECT_EQ(PaintedClientPixel(indicator, 65, 40), SpokeColour(0));

        BusyIndicatorStop();
        EXPECT_FALSE(::IsWindow(indicator));
    }
}

TEST_F(BusyIndicator, GdiplusStartedBeforeTheThreadAndShutDownOnceAfterItEnded)
{
    ScopedCalls calls(kCountedRealCalls);
    MainWindow main({ 200, 100, 600, 400 });
    BusyIndicatorStart(main.Wnd());
    ASSERT_NE(g_pWaitThread, nullptr);
    const UniqueHandle thread = DuplicateOwnHandle(g_pWaitThread->m_hThread.Get());
    ScopedCalls::s_indicator = thread.Get();
    EXPECT_EQ(ScopedCalls::s_startups, 1);
    EXPECT_NE(g_gdiplusToken, 0u);

    BusyIndicatorStop();
    ScopedCalls::s_indicator = nullptr;
    ASSERT_EQ(ScopedCalls::s_shutdownTokens.size(), 1u);
    EXPECT_EQ(ScopedCalls::s_shutdownTokens[0], g_gdiplusToken);
    EXPECT_TRUE(ScopedCalls::s_indicatorEndedAtShutdown);
}

struct FailedStartCase {
    const char* what;
    Gdiplus::Status startup;
    size_t threadStarts;
    bool mainWndStored;
    ULONG_PTR shutdownToken;
};

const FailedStartCase kFailedStarts[] = {
    { "GDI+ does not start", Gdiplus::GenericError, 0, false, 0 },
    { "the thread does not start", Gdiplus::Ok, 1, true, ScopedCalls::kFakeToken },
};

TEST_F(BusyIndicator, AfterAFailedStartStopOnlyShutsGdiplusDown)
{
    MainWindow main({ 200, 100, 600, 400 });
    for (const FailedStartCase& c : kFailedStarts) {
        SCOPED_TRACE(c.what);
        ResetToNotStarted();
        ScopedCalls calls({ &ScopedCalls::FakeStartup, &ScopedCalls::RecordShutdown,
                            &ScopedCalls::FailThreadStart });
        ScopedCalls::s_startupResult = c.startup;

        BusyIndicatorStart(main.Wnd());
        EXPECT_EQ(ScopedCalls::s_startups, 1);
        ASSERT_EQ(ScopedCalls::s_threadStarts.size(), c.threadStarts);
        for (const ScopedCalls::ThreadStart& start : ScopedCalls::s_threadStarts) {
            EXPECT_EQ(start.threadClass, RUNTIME_CLASS(CWaitThread));
            EXPECT_EQ(start.priority, THREAD_PRIORITY_NORMAL);
            EXPECT_EQ(start.stackSize, 0u);
            EXPECT_EQ(start.createFlags, 0u);
            EXPECT_EQ(start.security, nullptr);
        }
        EXPECT_EQ(g_pMainWnd, c.mainWndStored ? main.Wnd() : nullptr);
        EXPECT_EQ(g_pWaitThread, nullptr);

        BusyIndicatorStop();
        ASSERT_EQ(ScopedCalls::s_shutdownTokens.size(), 1u);
        EXPECT_EQ(ScopedCalls::s_shutdownTokens[0], c.shutdownToken);
        EXPECT_TRUE(::IsWindow(main.Hwnd()));
    }
}

TEST_F(BusyIndicator, StopRightAfterStartEndsTheThreadAndLeavesTheMainWindow)
{
    MainWindow main({ 200, 100, 600, 400 });
    // Repeated, so that Stop also comes before the thread has its message
    // queue or its window.
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        BusyIndicatorStart(main.Wnd());
        ASSERT_NE(g_pWaitThread, nullptr);
        const UniqueHandle thread = DuplicateOwnHandle(g_pWaitThread->m_hThread.Get());
        BusyIndicatorStop();
        EXPECT_EQ(::WaitForSingleObject(thread.Get(), 0), WAIT_OBJECT_0);
        EXPECT_TRUE(::IsWindow(main.Hwnd()));
    }
}

TEST_F(BusyIndicator, StopBeforeTheThreadHasAQueueWaitsForItAndLeavesTheMainWindow)
{
    ScopedCalls calls({ &ScopedCalls::CountStartup, &ScopedCalls::CheckShutdown,
                        &ScopedCalls::StartSuspended });
    MainWindow main({ 200, 100, 600, 400 });
    BusyIndicatorStart(main.Wnd());
    ASSERT_NE(g_pWaitThread, nullptr);
    const UniqueHandle thread = DuplicateOwnHandle(g_pWaitThread->m_hThread.Get());
    ScopedCalls::s_indicator = thread.Get();
    // WM_QUIT posted now would be lost; the thread runs only once Stop is
    // under way.
    std::thread resume([&thread] {
        ::Sleep(200);
        ::ResumeThread(thread.Get());
    });
    BusyIndicatorStop();
    resume.join();
    ScopedCalls::s_indicator = nullptr;

    EXPECT_TRUE(ScopedCalls::s_indicatorEndedAtShutdown);
    DWORD exitCode = 1;
    ::GetExitCodeThread(thread.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(::IsWindow(main.Hwnd()));
}

TEST_F(BusyIndicator, MainDialogCyclesLeaveNoThreadOrHandleBehind)
{
    ScopedCalls calls(kCountedRealCalls);
    auto cycle = [] {
        CMainDlg dlg;
        ASSERT_TRUE(dlg.Create());
        EXPECT_EQ(g_pMainWnd, &dlg);
        EXPECT_NE(g_pWaitThread, nullptr);
        dlg.DestroyWindow();
    };
    // The first run makes what the process keeps for good (window classes,
    // the list control's and the platform's own helpers).
    cycle();
    const int threadsBefore = CountProcessThreads();
    const size_t handlesBefore = CountProcessHandles();
    ASSERT_GT(handlesBefore, 0u);
    const int startupsBefore = ScopedCalls::s_startups;

    constexpr int kCycles = 25;
    for (int i = 0; i < kCycles; ++i)
        cycle();

    EXPECT_EQ(CountProcessThreads(), threadsBefore);
    EXPECT_EQ(CountProcessHandles(), handlesBefore);
    EXPECT_EQ(ScopedCalls::s_startups - startupsBefore, kCycles);
    EXPECT_EQ(ScopedCalls::s_shutdownTokens.size(), static_cast<size_t>(kCycles + 1));
}

struct TickCase {
    UINT_PTR timerId;
    RECT mainRect;
};

const TickCase kTicks[] = {
    { 1, { 50, 60, 451, 121 } },
    { 0, { 300, 200, 700, 500 } },
    { 0xFFFF, { 10, 400, 71, 441 } },
    { 42, { 300, 200, 700, 500 } },
    { 7, { 0, 0, 1024, 768 } },
    { 7, { 600, 100, 1000, 400 } },
    { 3, { 200, 300, 300, 380 } },
    { 9, { 400, 400, 500, 480 } },
    { 1, { 50, 60, 451, 121 } },
};

TEST_F(BusyIndicator, EveryTickFollowsTheMovedMainWindowAndPaintsTheNextPhase)
{
    MainWindow main({ 200, 100, 600, 400 });
    BusyIndicatorStart(main.Wnd());
    ASSERT_NE(g_pWaitThread, nullptr);
    HWND indicator = WaitForIndicatorWindow();
    // Nothing in the tool shows the box; the test does, to see it painted.
    ::ShowWindow(indicator, SW_SHOWNOACTIVATE);

    UINT32 phase = 0;
    for (const TickCase& tick : kTicks) {
        ++phase;
        SCOPED_TRACE(testing::Message() << "phase " << phase);
        const RECT& to = tick.mainRect;
        ::SetWindowPos(main.Hwnd(), nullptr, to.left, to.top, to.right - to.left,
                       to.bottom - to.top, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(indicator, WM_TIMER, tick.timerId, 0);

        const RECT box = CentredBusyBox(to);
        ExpectRect(WindowRect(indicator), { box.left, box.top, box.left + 100, box.top + 80 });
        EXPECT_EQ(ClientPixel(indicator, 65, 40), SpokeColour(SpokePointingRight(phase)));
    }
    BusyIndicatorStop();
}

TEST_F(BusyIndicator, ATickWithoutAMainWindowStaysInPlaceAndPaintsTheNextPhase)
{
    BusyIndicatorStart(nullptr);
    ASSERT_NE(g_pWaitThread, nullptr);
    HWND indicator = WaitForIndicatorWindow();
    ::SendMessageW(indicator, WM_TIMER, 1, 0);

    ExpectRect(WindowRect(indicator), { 0, 0, 100, 80 });
    EXPECT_EQ(ClientPixel(indicator, 65, 40), SpokeColour(7));
    BusyIndicatorStop();
}

} // namespace
