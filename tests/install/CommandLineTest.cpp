// The install and uninstall commands with a package whose devcon is the probe,
// which logs each command line and the folder it runs in.
#include "InstallTestSupport.h"
#include "MainWindowTest.h"

#include "res/resource.h"

#include "support/NativeArchOverride.h"
#include "support/ProbeLog.h"
#include "support/WindowsArch.h"

#include <gtest/gtest.h>

namespace {
using Runs = std::vector<ProbeLog::Run>;

class CommandLineTest : public MainWindowTest {
protected:
    // Whatever ports other tests have made meanwhile do not count here.
    void SetUp() override
    {
        MainWindowTest::SetUp();
        List().DeleteAllItems();
    }

    // The work folder the commands ran in: a new one in the temporary directory.
    std::wstring WorkFolderOf(const Runs& runs) const
    {
        if (runs.empty())
            return std::wstring();
        const std::wstring folder = runs[0].folder;
        const std::wstring prefix = m_blankTemp.Path() + L"\\tq";
        EXPECT_EQ(folder.substr(0, prefix.size()), prefix);
        EXPECT_EQ(folder.substr(folder.size() - 4), L".tmp");
        return folder;
    }

    // The temporary directory holds blanks, as it does on Windows XP.
    ScratchTempFolder m_blankTemp{ L"Local Settings Temp" };
};

TEST_F(CommandLineTest, InstallRunsDevconOfTheArchitectureInTheWorkFolder)
{
    struct Case {
        PortKind kind;
        const wchar_t* arguments;
    };
    const Case cases[] = {
        { PortKindSerial, L" install Tavrin.inf RUD\\VSerPort" },
        { PortKindParallel, L" install Tavrin.inf RUD\\VParPort" },
    };
    for (const Case& c : cases) {
        ProbeLog log(m_blankTemp.Path());
        MessageBoxRecorder boxes;
        {
            DialogDriver driver({ ChoosePortKind(c.kind) });
            m_main->OnInstall();
        }
        EXPECT_EQ(boxes.Boxes(), Boxes{ Box(IDS_INSTALL_OK, MB_ICONINFORMATION, true) });
        const Runs runs = log.Runs();
        const std::wstring work = WorkFolderOf(runs);
        const std::wstring arch = work + L"\\" + WindowsArch();
        EXPECT_EQ(runs, (Runs{ { work, arch + L"\\devcon.exe", L"\"" + arch + L"\\devcon\"" + c.arguments } }));
        // Its temporary files go where only administrators can write.
        for (const ProbeLog::Run& run : runs)
            EXPECT_EQ(run.tmp + L"|" + run.temp, work + L"|" + work);
        List().DeleteAllItems();
    }
}

TEST_F(CommandLineTest, UninstallRunsThreeRemoveCommandsWhicheverRowIsSelected)
{
    for (int selected : { 0, 1 }) {
        List().DeleteAllItems();
        AddSentinelRow(selected == 0);
        AddSentinelRow(selected == 1);
        ProbeLog log(m_blankTemp.Path());
        MessageBoxRecorder boxes;
        m_main->OnUninstall();
        EXPECT_EQ(boxes.Boxes(), Boxes{ Box(IDS_UNINSTALL_OK, MB_ICONINFORMATION, true) });
        const Runs runs = log.Runs();
        const std::wstring work = WorkFolderOf(runs);
        const std::wstring arch = work + L"\\" + WindowsArch();
        const std::wstring devcon = arch + L"\\devcon.exe";
        const std::wstring tool = L"\"" + arch + L"\\devcon\"";
        EXPECT_EQ(runs, (Runs{ { work, devcon, tool + L" remove RUD\\VSerPort" },
                               { arch, devcon, tool + L" remove RUD\\VParPort" },
                               { arch, devcon, tool + L" remove RUD\\Tavrin" } }))
            << selected;
    }
}
// Where 64-bit Windows refuses the in-process restart to the 32-bit tool, the
// package's native devcon restarts the device; elsewhere nothing else runs.
TEST_F(CommandLineTest, RestartRefusedUnderWow64GoesThroughDevconRestart)
{
    struct Case {
        DWORD exitCode;
        bool starts;  // the architecture's devcon is in the package
    };
    const Case cases[] = { { 0, true }, { 2, true }, { 0, false } };
    const bool wow64 = TestRunsUnderWow64();
    for (const Case& c : cases) {
        ProbeLog log(m_blankTemp.Path());
        log.SetExitCode(c.exitCode);
        std::unique_ptr<NativeArchOverride> itanium;
        if (!c.starts)
            itanium = std::make_unique<NativeArchOverride>(PROCESSOR_ARCHITECTURE_IA64);
        MessageBoxRecorder boxes;

        const std::wstring id = RenameWithRestartRefusedAsUnderWow64(*m_main);

        const bool restarted = wow64 && c.starts && c.exitCode == 0;
        EXPECT_EQ(boxes.Boxes(), restarted ? Boxes() : Boxes{ RestartFailedBox(ERROR_IN_WOW64) }) << c.exitCode;
        const Runs runs = log.Runs();
        if (wow64 && c.starts) {
            const std::wstring work = WorkFolderOf(runs);
            const std::wstring arch = work + L"\\" + WindowsArch();
            EXPECT_EQ(runs, (Runs{ { work, arch + L"\\devcon.exe",
                                     L"\"" + arch + L"\\devcon\" restart \"@" + id + L"\"" } }));
        } else {
            EXPECT_EQ(runs, Runs());
        }
    }
}
}  // namespace
