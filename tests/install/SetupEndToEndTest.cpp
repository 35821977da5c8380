// The real setup.exe (TAVRIN_SETUP) in a process of its own, driven through
// its windows as a user would.
#include "SetupSession.h"

#include "res/resource.h"

#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
class SetupEndToEndTest : public testing::Test {
protected:
    void SetUp() override { RemovePortDevices(); }
    void TearDown() override { RemovePortDevices(); }

    ScratchTempFolder m_temp;  // inherited by setup.exe
    SetupSession m_setup;
};

TEST_F(SetupEndToEndTest, InstallsListsAndUninstallsPorts)
{
    ASSERT_TRUE(m_setup.Ready()) << "cannot start TAVRIN_SETUP";
    EXPECT_EQ(m_setup.Rows(), ListRows());

    ASSERT_NO_FATAL_FAILURE(m_setup.Install(IDC_SERIAL_PORT));
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_INSTALL_OK, "after installing a serial port"));
    ASSERT_EQ(m_setup.RowsAtBox().size(), 1u);
    EXPECT_EQ(m_setup.RowsAtBox()[0].first.substr(0, 3), L"COM");
    EXPECT_EQ(m_setup.RowsAtBox()[0].second, L"USB");

    AppDriver::Click(m_setup.Main(), IDC_INSTALL);
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_PORT_EXISTS, "installing a second port"));

    AppDriver::Click(m_setup.Main(), IDC_UNINSTALL);
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_SELECT_PORT, "uninstalling without a selection"));
    EXPECT_EQ(m_setup.RowsAtBox().size(), 1u);

    ASSERT_NO_FATAL_FAILURE(m_setup.Uninstall());
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_UNINSTALL_OK, "uninstalling the serial port"));
    EXPECT_EQ(m_setup.RowsAtBox(), ListRows());

    ASSERT_NO_FATAL_FAILURE(m_setup.Install(IDC_PARALLEL_PORT));
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_INSTALL_OK, "after installing a parallel port"));
    ASSERT_EQ(m_setup.RowsAtBox().size(), 1u);
    EXPECT_EQ(m_setup.RowsAtBox()[0].first.substr(0, 3), L"LPT");

    ASSERT_NO_FATAL_FAILURE(m_setup.Uninstall());
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_UNINSTALL_OK, "uninstalling the parallel port"));
    EXPECT_EQ(m_setup.Rows(), ListRows());

    EXPECT_EQ(m_setup.App().Close(m_setup.Main()), 0u);
    // No work folder and no temporary cabinet left behind.
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
}

TEST_F(SetupEndToEndTest, RenamesAnInstalledSerialPort)
{
    ASSERT_TRUE(m_setup.Ready()) << "cannot start TAVRIN_SETUP";
    ASSERT_NO_FATAL_FAILURE(m_setup.Install(IDC_SERIAL_PORT));
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_INSTALL_OK, "after installing a serial port"));
    ASSERT_EQ(m_setup.RowsAtBox().size(), 1u);
    const std::wstring installedName = m_setup.RowsAtBox()[0].first;

    ASSERT_TRUE(m_setup.App().SelectItem(m_setup.List(), 0));
    AppDriver::Click(m_setup.Main(), IDC_CHG_PORT);
    HWND chgPort = m_setup.App().WaitForDialog(IDC_PORT_NAME);
    ASSERT_NE(chgPort, nullptr);
    HWND names = ::GetDlgItem(chgPort, IDC_PORT_NAME);
    ASSERT_GT(AppDriver::ComboCount(names), 2);
    // Not the preselected first item, so that the choice itself is tested.
    const std::wstring chosenName = AppDriver::ComboText(names, 2);
    EXPECT_EQ(chosenName.substr(0, 3), L"COM");
    ASSERT_NE(chosenName, installedName);
    ASSERT_TRUE(AppDriver::SelectComboItem(names, 2));
    AppDriver::Click(chgPort, IDOK);

    // Wine cannot restart a device; the rename reports it and goes on.
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(L"ChangeState fails: 120\n", "renaming the serial port"));
    EXPECT_EQ(m_setup.RowsAtBox(), ListRows({ { installedName, L"USB" } }));
    EXPECT_EQ(m_setup.Rows(), ListRows({ { chosenName, L"USB" } }));

    ASSERT_NO_FATAL_FAILURE(m_setup.Uninstall());
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_UNINSTALL_OK, "uninstalling the renamed port"));
    EXPECT_EQ(m_setup.Rows(), ListRows());

    EXPECT_EQ(m_setup.App().Close(m_setup.Main()), 0u);
}
// setup.exe under temporary directories that a user's environment may give it.
class SetupTemporaryDirectoryTest : public SetupEndToEndTest {
protected:
    // A serial port installed and uninstalled by a setup.exe started now; or,
    // unless it can, an install that fails.
    void InstallAndUninstall(bool can)
    {
        SetupSession setup;
        ASSERT_TRUE(setup.Ready()) << "cannot start TAVRIN_SETUP";
        ASSERT_NO_FATAL_FAILURE(setup.Install(IDC_SERIAL_PORT));
        if (!can) {
            ASSERT_NO_FATAL_FAILURE(setup.Expect(IDS_INSTALL_FAILED, "installing a serial port"));
        } else {
            ASSERT_NO_FATAL_FAILURE(setup.Expect(IDS_INSTALL_OK, "installing a serial port"));
            ASSERT_NO_FATAL_FAILURE(setup.Uninstall());
            ASSERT_NO_FATAL_FAILURE(setup.Expect(IDS_UNINSTALL_OK, "uninstalling the serial port"));
        }
        EXPECT_EQ(setup.Rows(), ListRows());
        EXPECT_EQ(setup.App().Close(setup.Main()), 0u);
    }

    // A folder in the scratch folder, which the variable then names.
    std::wstring Folder(const std::wstring& name)
    {
        const std::wstring folder = m_temp.Path() + L"\\" + name;
        EXPECT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
        return folder;
    }
};

TEST_F(SetupTemporaryDirectoryTest, HoldingCharactersOutsideTheAnsiCodePage)
{
    // Chinese, Cyrillic and Korean: none of the ANSI code pages holds all three.
    const std::wstring tmp = Folder(L"\u4e34\u65f6 \u0422\u0435\u043c\u043f \ud55c");
    ScratchTempFolder::SetTmp(tmp);
    ASSERT_NO_FATAL_FAILURE(InstallAndUninstall(true));
    EXPECT_EQ(FolderEntries(tmp), std::vector<std::wstring>());
}

TEST_F(SetupTemporaryDirectoryTest, OfChineseNamesUnderTheUtf8AnsiCodePage)
{
    // Wine takes the ANSI code page from the Unix locale of the process that
    // starts setup.exe: setup_end_to_end_tests_utf8 runs this case alone,
    // under LC_ALL=hi_IN.UTF-8 (65001). The emulated Windows of the 32-bit
    // build's runs has no such locale and runs its programs under C.UTF-8
    // instead: there, as in setup_end_to_end_tests, it is skipped.
    if (EnvironmentValue(L"LC_ALL") != L"hi_IN.UTF-8")
        GTEST_SKIP() << "runs in setup_end_to_end_tests_utf8 where the locale hi_IN.UTF-8 exists";
    ASSERT_EQ(::GetACP(), static_cast<UINT>(CP_UTF8)) << "scripts/deps.sh makes the locale hi_IN.UTF-8";
    const std::wstring tmp = Folder(L"\u4e34\u65f6\u6587\u4ef6");
    ScratchTempFolder::SetTmp(tmp);
    ASSERT_NO_FATAL_FAILURE(InstallAndUninstall(true));
    EXPECT_EQ(FolderEntries(tmp), std::vector<std::wstring>());
}

TEST_F(SetupTemporaryDirectoryTest, NamedByTempWhenTmpIsUnset)
{
    const std::wstring temp = Folder(L"temp");
    const std::wstring current = Folder(L"current");
    const std::wstring previousTemp = EnvironmentValue(L"TEMP");
    wchar_t previousCurrent[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previousCurrent);
    ::SetEnvironmentVariableW(L"TMP", nullptr);
    ::SetEnvironmentVariableW(L"TEMP", temp.c_str());
    ::SetCurrentDirectoryW(current.c_str());
    InstallAndUninstall(true);
    ::SetCurrentDirectoryW(previousCurrent);
    ::SetEnvironmentVariableW(L"TEMP", previousTemp.empty() ? nullptr : previousTemp.c_str());
    EXPECT_EQ(FolderEntries(temp), std::vector<std::wstring>());
    EXPECT_EQ(FolderEntries(current), std::vector<std::wstring>());
}

TEST_F(SetupTemporaryDirectoryTest, OnAShareServedByTheWindowsFolders)
{
    // Another machine would decide who may change the folders there.
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(::GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring windowsTemp = std::wstring(windows) + L"\\Temp";
    const auto ours = [&windowsTemp] {
        std::vector<std::wstring> made;
        for (const std::wstring& name : FolderEntries(windowsTemp)) {
            if (_wcsnicmp(name.c_str(), L"tq", 2) == 0 || _wcsnicmp(name.c_str(), L"myc", 3) == 0)
                made.push_back(name);
        }
        return made;
    };
    const std::vector<std::wstring> before = ours();
    ScratchTempFolder::SetTmp(L"\\\\tavrin-nowhere\\share");
    ASSERT_NO_FATAL_FAILURE(InstallAndUninstall(true));
    EXPECT_EQ(ours(), before);
}

TEST_F(SetupTemporaryDirectoryTest, WithoutRoomForTheWorkFolderOrItsArchitectureFolders)
{
    // 258: no room for the name; 245: the name fits, its subfolders would not.
    for (size_t length : { 258u, 245u }) {
        const std::wstring tmp = NestedFolders(Folder(std::to_wstring(length)), length);
        ASSERT_EQ(tmp.size(), length);
        ScratchTempFolder::SetTmp(tmp);
        ASSERT_NO_FATAL_FAILURE(InstallAndUninstall(false)) << length;
        EXPECT_EQ(FolderEntries(tmp), std::vector<std::wstring>()) << length;
    }
}
}  // namespace
