#include "ports/PortList.h"

#include "framework/ListCtrl.h"
#include "framework/SetupApi.h"
#include "support/RawBytes.h"
#include "support/ScopedSwap.h"
#include "support/TestPortDevices.h"
#include "support/WindowInfo.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace {

// How a test device carries its "PortName": written by the device library as
// REG_SZ, left out, or raw data of any type.
struct DeviceCase {
    const wchar_t* portName;  // written as REG_SZ; null: see raw
    DWORD rawType;            // REG_NONE: no "PortName" at all
    std::string rawData;      // bytes of the raw value
    const wchar_t* listedAs;  // the row's name, null when the device gets no row
};

DeviceCase Named(const wchar_t* name, bool listed)
{
    return { name, REG_NONE, {}, listed ? name : nullptr };
}

DeviceCase Nameless()
{
    return { nullptr, REG_NONE, {}, nullptr };
}

DeviceCase Raw(DWORD type, std::string bytes, const wchar_t* listedAs)
{
    return { nullptr, type, std::move(bytes), listedAs };
}

struct RefreshCase {
    const char* what;
    std::vector<DeviceCase> devices;
};

void PrintTo(const RefreshCase& c, std::ostream* os)
{
    *os << c.what;
}

class PortListRefreshTest : public ::testing::TestWithParam<RefreshCase> {
protected:
    void SetUp() override
    {
        const RECT rect = { 0, 0, 300, 200 };
        ASSERT_TRUE(m_list.Create(WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, rect, nullptr, 0));
        m_list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100, -1);
        m_list.InsertColumn(1, L"Type", LVCFMT_LEFT, 100, -1);
    }

    void TearDown() override { m_list.DestroyWindow(); }

    // Rows left from before, which a refresh must not keep.
    void FillWithStaleRows()
    {
        for (int item = 0; item < 2; ++item) {
            m_list.InsertItem(item, L"COM99");
            m_list.SetItemText(item, 1, L"stale");
        }
    }

    CListCtrl m_list;
    TestPortDevices m_devices;
};

TEST_P(PortListRefreshTest, ListsEachReadablePortOnceInEnumerationOrder)
{
    std::vector<std::wstring> created;
    std::vector<ListRow> expected;
    for (const DeviceCase& device : GetParam().devices) {
        const std::wstring id = m_devices.Add(device.portName);
        ASSERT_FALSE(id.empty());
        created.push_back(id);
        if (device.rawType != REG_NONE) {
            const DWORD size = static_cast<DWORD>(device.rawData.size());
            ASSERT_EQ(TestPortDevices::WritePortName(id, device.rawType, device.rawData.data(), size), ERROR_SUCCESS);
        }
        if (device.listedAs)
            expected.emplace_back(device.listedAs, L"USB");
    }
    // The cases place devices by the order they are made in, which is the
    // order Windows enumerates them in a prefix with no other port device.
    ASSERT_EQ(TestPortDevices::Enumerated(), created);

    FillWithStaleRows();
    PortListRefresh(nullptr, m_list);
    EXPECT_EQ(Rows(m_list), expected);
    // A second refresh rebuilds the same rows rather than adding to them.
    PortListRefresh(nullptr, m_list);
    EXPECT_EQ(Rows(m_list), expected);
}

const wchar_t kCom8[] = L"COM8";
const size_t kCom8Bytes = sizeof(kCom8);  // terminator included
const wchar_t kCom8AndMore[] = L"COM8\0A";

INSTANTIATE_TEST_SUITE_P(
    Devices, PortListRefreshTest,
    ::testing::Values(
        RefreshCase{ "no device", {} },
        RefreshCase{ "one", { Named(L"COM5", true) } },
        RefreshCase{ "several", { Named(L"COM7", true), Named(L"LPT2", true), Named(L"COM3", true) } },
        RefreshCase{ "one without PortName between two",
                     { Named(L"COM7", true), Nameless(), Named(L"LPT2", true) } },
        RefreshCase{ "nine characters fit, ten do not",
                     { Named(L"COM123456", true), Named(L"COM1234567", false) } },
        RefreshCase{ "string types and malformed values",
                     { Raw(REG_EXPAND_SZ, RawBytes(kCom8, kCom8Bytes), kCom8),
                       Raw(REG_DWORD, RawBytes(L"\x0005", sizeof(DWORD)), nullptr),
                       Raw(REG_BINARY, RawBytes(kCom8, kCom8Bytes), nullptr),
                       Raw(REG_MULTI_SZ, RawBytes(L"COM8\0", sizeof(L"COM8\0")), nullptr),
                       Raw(REG_SZ, RawBytes(kCom8AndMore, kCom8Bytes + 1), nullptr),
                       Raw(REG_SZ, RawBytes(kCom8, kCom8Bytes - sizeof(wchar_t)), nullptr),
                       Raw(REG_SZ, std::string(), L"") } }),
    [](const ::testing::TestParamInfo<RefreshCase>& info) {
        std::string name;
        for (const char* c = info.param.what; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

// The rows go in with painting off. Whatever the refresh finds, a list that
// was shown is shown afterwards with a repaint pending, and a hidden one,
// which turning painting on would show, stays hidden.
HDEVINFO WINAPI NoDeviceSet(const GUID*, PCWSTR, HWND, DWORD)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

// Windows' list view passes WM_SETREDRAW on to DefWindowProc, which sets or
// clears WS_VISIBLE; Wine's keeps it, so the test's list passes it on too.
LRESULT CALLBACK ForwardSetRedraw(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    const LRESULT result = ::DefSubclassProc(hWnd, message, wParam, lParam);
    if (message == WM_SETREDRAW)
        ::DefWindowProcW(hWnd, message, wParam, lParam);
    return result;
}

TEST(PortListRefreshPainting, LeavesAListShownOrHiddenAsItWas)
{
    TestPortDevices devices;
    ASSERT_FALSE(devices.Add(L"COM5").empty());
    const RECT rect = { 0, 0, 300, 200 };
    for (const bool shown : { true, false }) {
        for (const bool deviceSet : { true, false }) {
            SCOPED_TRACE(std::string(shown ? "shown list" : "hidden list") +
                         (deviceSet ? ", one device" : ", no device set"));
            // As in the main dialog: a child control. Its window is shown, as
            // only a window on the screen collects what is to be repainted.
            CWnd parent;
            ASSERT_TRUE(parent.Create(nullptr, L"", WS_POPUP, rect, nullptr, 0));
            ::ShowWindow(parent.m_hWnd, SW_SHOWNA);
            CListCtrl list;
            ASSERT_TRUE(list.Create(WC_LISTVIEWW, L"", WS_CHILD | (shown ? WS_VISIBLE : 0) | LVS_REPORT, rect,
                                    &parent, 1));
            ASSERT_TRUE(::SetWindowSubclass(list.m_hWnd, &ForwardSetRedraw, 1, 0));
            list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100, -1);
            list.InsertColumn(1, L"Type", LVCFMT_LEFT, 100, -1);
            ::UpdateWindow(parent.m_hWnd);
            ::ValidateRect(list.m_hWnd, nullptr);
            {
                std::optional<ScopedSwap<decltype(SetupApi::Get().SetupDiGetClassDevsW)>> failing;
                if (!deviceSet)
                    failing.emplace(SetupApi::Get().SetupDiGetClassDevsW, &NoDeviceSet);
                PortListRefresh(nullptr, list);
            }
            EXPECT_EQ(Rows(list).size(), deviceSet ? 1u : 0u);
            EXPECT_EQ((list.GetStyle() & WS_VISIBLE) != 0, shown);
            EXPECT_EQ(::GetUpdateRect(list.m_hWnd, nullptr, FALSE) != FALSE, shown);
            ::RemoveWindowSubclass(list.m_hWnd, &ForwardSetRedraw, 1);
            parent.DestroyWindow();
        }
    }
}

}
