// The change-port-name dialog against the port maps of the Wine prefix: what
// it offers, what it selects and what it hands back.
#include "PortMapOverride.h"

#include "ports/ChgPortDlg.h"
#include "res/resource.h"

#include "support/DialogDriver.h"
#include "support/ImportPatch.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const wchar_t kSerialMap[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
const wchar_t kParallelMap[] = L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS";

// What the dialog's value enumeration saw.
PortMapOverride* g_map = nullptr;
decltype(&::RegEnumValueW) g_realEnumValue = nullptr;
DWORD g_growAt = MAXDWORD;
std::vector<LONG> g_results;

// Reads like RegEnumValueW; at index g_growAt it first makes that value's
// data larger than the buffers the dialog measured the key for.
LONG WINAPI EnumValue(HKEY key, DWORD index, LPWSTR name, LPDWORD nameChars, LPDWORD reserved, LPDWORD type,
                      LPBYTE data, LPDWORD dataBytes)
{
    if (index == g_growAt) {
        wchar_t grown[64];
        DWORD grownChars = sizeof(grown) / sizeof(grown[0]);
        const std::wstring large(500, L'X');
        EXPECT_EQ(g_realEnumValue(key, index, grown, &grownChars, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        EXPECT_EQ(g_map->SetRaw(grown, REG_SZ, large.c_str(), static_cast<DWORD>((large.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    const LONG result = g_realEnumValue(key, index, name, nameChars, reserved, type, data, dataBytes);
    g_results.push_back(result);
    return result;
}

std::vector<std::wstring> Names(const wchar_t* prefix, int highest, const std::set<int>& inUse)
{
    std::vector<std::wstring> names;
    for (int n = 1; n <= highest; ++n) {
        if (!inUse.count(n))
            names.push_back(prefix + std::to_wstring(n));
    }
    return names;
}

class ChgPortDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_map = &m_serial;
        g_growAt = MAXDWORD;
        g_results.clear();
        ASSERT_EQ(m_serial.SetNames({ L"COM1", L"COM5" }), ERROR_SUCCESS);
    }
    void TearDown() override { g_map = nullptr; }

    // Opens the dialog (modeless) for a port of this name.
    void Open(LPCWSTR currentName)
    {
        m_dlg.SetCurrentName(currentName);
        {
            // The dialog reads the port map as it opens.
            ImportPatch enumeration("advapi32.dll", "RegEnumValueW", reinterpret_cast<void*>(&EnumValue),
                                    reinterpret_cast<void**>(&g_realEnumValue));
            ASSERT_TRUE(m_dlg.Create());
        }
        m_combo = m_dlg.GetDlgItem(IDC_PORT_NAME);
        ASSERT_NE(m_combo, nullptr);
    }
    std::vector<std::wstring> Offered() const
    {
        std::vector<std::wstring> names;
        const int count = static_cast<int>(::SendMessageW(m_combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[16] = {};
            ::SendMessageW(m_combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            names.push_back(text);
        }
        return names;
    }
    int Selected() const { return static_cast<int>(::SendMessageW(m_combo, CB_GETCURSEL, 0, 0)); }
    void Select(int index) { ::SendMessageW(m_combo, CB_SETCURSEL, index, 0); }
    void Press(int id)
    {
        ::SendMessageW(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_dlg.GetDlgItem(id)));
    }

    PortMapOverride m_serial{ kSerialMap };
    PortMapOverride m_parallel{ kParallelMap };
    CChgPortDlg m_dlg;
    HWND m_combo = nullptr;
};

// What is offered for a port named COM5 when the serial port map holds these.
TEST_F(ChgPortDlgTest, OffersFreeSerialNamesAndSelectsTheLowest)
{
    Open(L"COM5");
    const std::vector<std::wstring> offered = Offered();
    EXPECT_EQ(offered, Names(L"COM", 256, { 1, 5 }));
    EXPECT_EQ(offered.size(), 254u);
    EXPECT_EQ(Selected(), 0);
}

TEST_F(ChgPortDlgTest, OffersFreeParallelNamesFromTheParallelMap)
{
    ASSERT_EQ(m_parallel.SetNames({ L"\\DosDevices\\LPT1" }), ERROR_SUCCESS);
    Open(L"LPT1");
    EXPECT_EQ(Offered(), (std::vector<std::wstring>{ L"LPT2", L"LPT3" }));
    EXPECT_EQ(Selected(), 0);
}

TEST_F(ChgPortDlgTest, MissingPortMapOffersNothing)
{
    ASSERT_EQ(m_serial.Remove(), ERROR_SUCCESS);
    Open(L"COM5");
    EXPECT_TRUE(Offered().empty());
    EXPECT_EQ(Selected(), CB_ERR);
}

TEST_F(ChgPortDlgTest, UnterminatedDataEndInTheSpareBytes)
{
    // Raw bytes, so that nothing adds a terminator on the way in. The longest
    // datum is one of them: only the spare room after it ends it.
    const wchar_t longest[] = L"COM123";
    const wchar_t odd[] = L"COM7";
    ASSERT_EQ(m_serial.SetRaw(L"Longest", REG_BINARY, longest, 6 * sizeof(wchar_t)), ERROR_SUCCESS);
    ASSERT_EQ(m_serial.SetRaw(L"Odd", REG_BINARY, odd, 4 * sizeof(wchar_t) - 1), ERROR_SUCCESS);
    Open(L"COM5");
    EXPECT_EQ(Offered(), Names(L"COM", 256, { 1, 5, 7, 123 }));
}

TEST_F(ChgPortDlgTest, LongNamesAndDataFitTheMeasuredBuffers)
{
    const std::wstring name(2000, L'N');
    const std::wstring data = L"\\??\\" + std::wstring(3000, L'D') + L"COM9";
    ASSERT_EQ(m_serial.SetRaw(name.c_str(), REG_SZ, data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    Open(L"COM5");
    EXPECT_EQ(Offered(), Names(L"COM", 256, { 1, 5, 9 }));
}

// A value that no longer fits the buffers stops the enumeration there: the
// values before it count as in use, it and the ones after it do not.
class ChgPortDlgGrownValueTest : public ChgPortDlgTest, public testing::WithParamInterface<int> {};

TEST_P(ChgPortDlgGrownValueTest, StopsTheEnumerationAtAValueTooLargeForTheBuffers)
{
    const int failing = GetParam();
    ASSERT_EQ(m_serial.SetNames({ L"COM2", L"COM3", L"COM4", L"COM5", L"COM6" }), ERROR_SUCCESS);
    g_growAt = static_cast<DWORD>(failing);
    Open(L"COM5");

    std::vector<LONG> expectedResults(static_cast<size_t>(failing), ERROR_SUCCESS);
    expectedResults.push_back(ERROR_MORE_DATA);
    EXPECT_EQ(g_results, expectedResults);
    std::set<int> inUse;
    for (int i = 0; i < failing; ++i)
        inUse.insert(2 + i);
    EXPECT_EQ(Offered(), Names(L"COM", 256, inUse));
    EXPECT_EQ(Selected(), 0);
}

INSTANTIATE_TEST_SUITE_P(FailingIndex, ChgPortDlgGrownValueTest, testing::Values(0, 2, 4));

TEST_F(ChgPortDlgTest, EmptyCurrentNameReadsNoPortMap)
{
    Open(L"");
    EXPECT_TRUE(Offered().empty());
    EXPECT_EQ(Selected(), CB_ERR);
    EXPECT_TRUE(g_results.empty());
}

TEST_F(ChgPortDlgTest, LowerCaseNameIsNeitherKind)
{
    Open(L"com5");
    EXPECT_TRUE(Offered().empty());
    EXPECT_EQ(Selected(), CB_ERR);
    EXPECT_TRUE(g_results.empty());
}

TEST_F(ChgPortDlgTest, JustComIsASerialPort)
{
    Open(L"COM");
    EXPECT_EQ(Offered(), Names(L"COM", 256, { 1, 5 }));
    EXPECT_EQ(Selected(), 0);
}

// How the dialog ends for the button pressed, and the name it hands back.
struct Ending {
    const wchar_t* currentName;
    int select;  // the item picked before the button; -1 keeps the dialog's choice
    int button;
    INT_PTR result;
    const wchar_t* chosenName;
};

void PrintTo(const Ending& e, std::ostream* os)
{
    *os << testing::PrintToString(std::wstring(e.currentName)) << ", item " << e.select << ", button " << e.button;
}

class ChgPortDlgEndingTest : public ChgPortDlgTest, public testing::WithParamInterface<Ending> {};

TEST_P(ChgPortDlgEndingTest, HandsBackThePickedNameOnlyAfterOk)
{
    const Ending& e = GetParam();
    Open(e.currentName);
    if (e.select >= 0)
        Select(e.select);
    Press(e.button);
    EXPECT_EQ(m_dlg.ModelessResult(), e.result);
    EXPECT_STREQ(m_dlg.GetChosenName(), e.chosenName);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ChgPortDlgEndingTest,
                         testing::Values(Ending{ L"COM5", -1, IDOK, IDOK, L"COM2" },
                                         Ending{ L"COM5", 3, IDOK, IDOK, L"COM6" },
                                         Ending{ L"COM5", 3, IDCANCEL, IDCANCEL, L"" },
                                         // Nothing offered: OK ends the dialog as cancelled.
                                         Ending{ L"com5", -1, IDOK, IDCANCEL, L"" }));

TEST_F(ChgPortDlgTest, RunsModallyAndHandsBackTheLowestFreeName)
{
    m_dlg.SetCurrentName(L"COM5");
    DialogDriver driver({ DialogDriver::ExpectControlThenClick(IDC_PORT_NAME, IDOK) });
    EXPECT_EQ(m_dlg.DoModal(), IDOK);
    EXPECT_STREQ(m_dlg.GetChosenName(), L"COM2");
}

}
