#include "package/DeviceCommand.h"

#include "support/DebugOutputCapture.h"
#include "support/ProbeLog.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
class DeviceCommandTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(IsFile(probe_)) << "TAVRIN_COMMAND_PROBE names no program"; }

    std::wstring ProbeCommand(const std::wstring& arguments) const { return L"\"" + probe_ + L"\" " + arguments; }

    ScratchTempFolder temp_{ L"tavrin command" };
    ProbeLog log_{ temp_.Path() };
    const std::wstring probe_ = ProbeLog::Probe();
};

TEST_F(DeviceCommandTest, RunsTheCommandLineInTheGivenFolderAndYieldsTheExitCode)
{
    const std::wstring toolTemp = temp_.Path() + L"\\tool temp";
    std::vector<ProbeLog::Run> expected;
    for (unsigned code : { 0u, 1u, 4u, 42u }) {
        const std::wstring commandLine = ProbeCommand(std::to_wstring(code) + L" remove RUD\\VSerPort");
        DebugOutputCapture traces;
        DWORD exitCode = 12345;
        EXPECT_TRUE(RunDeviceCommand(commandLine, temp_.Path().c_str(), toolTemp, L"start to test\n", exitCode));
        EXPECT_EQ(exitCode, code);
        EXPECT_EQ(traces.Lines(), std::vector<std::wstring>{ L"start to test\n" });
        expected.push_back({ temp_.Path(), probe_, commandLine });
    }
    const std::vector<ProbeLog::Run> runs = log_.Runs();
    EXPECT_EQ(runs, expected);
    // Nothing of the user's temporary directory or search path reaches the tool.
    for (const ProbeLog::Run& run : runs) {
        const std::wstring tool = run.tmp + L"|" + run.temp + L"|" + run.path;
        EXPECT_EQ(tool, toolTemp + L"|" + toolTemp + L"|" + SystemPath());
    }
}

TEST(DeviceCommandEnvironmentTest, ReplacesTemporaryDirectoryAndSearchPathAndKeepsTheBlockSorted)
{
    using namespace std::string_literals;
    const std::wstring inherited = L"=C:=C:\\work\0A=1\0Path=C:\\users\\me\\bin\0temp=C:\\users\\me\0"
                                   L"TMP=C:\\users\\me\0ZZ=2\0_X=3\0\0"s;
    const std::wstring expected = L"=C:=C:\\work\0A=1\0PATH=C:\\Windows\\system32\0"
                                  L"TEMP=C:\\admin\0TMP=C:\\admin\0ZZ=2\0_X=3\0\0"s;
    EXPECT_EQ(DeviceCommandEnvironment(inherited.c_str(), L"C:\\admin", L"C:\\Windows\\system32"), expected);
}

TEST_F(DeviceCommandTest, ReportsAToolThatDoesNotStartWithTheWindowsError)
{
    struct Case {
        std::wstring commandLine;
        std::wstring folder;
        const wchar_t* trace;
    };
    const Case cases[] = {
        { DeviceCommandLine(temp_.Path(), L"remove RUD\\VSerPort"), temp_.Path(),
          L"CreateProcess fail![2]\n" },  // ERROR_FILE_NOT_FOUND
        { ProbeCommand(L"0"), temp_.Path() + L"\\missing", L"CreateProcess fail![267]\n" },  // ERROR_DIRECTORY
    };
    for (const Case& c : cases) {
        DebugOutputCapture traces;
        DWORD exitCode = 12345;
        EXPECT_FALSE(RunDeviceCommand(c.commandLine, c.folder.c_str(), temp_.Path(), L"start to test\n", exitCode));
        EXPECT_EQ(traces.Lines(), std::vector<std::wstring>{ c.trace });
    }
    EXPECT_EQ(log_.Runs(), std::vector<ProbeLog::Run>());
}

TEST_F(DeviceCommandTest, StartsTheToolItNamesEvenWhenItsPathHoldsBlanks)
{
    // Unquoted, "<temp>\tools dir\devcon" would start "<temp>\tools.exe".
    const std::wstring tools = temp_.Path() + L"\\tools dir";
    ASSERT_TRUE(::CreateDirectoryW(tools.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(probe_.c_str(), (tools + L"\\devcon.exe").c_str(), TRUE));
    ASSERT_TRUE(::CopyFileW(probe_.c_str(), (temp_.Path() + L"\\tools.exe").c_str(), TRUE));

    const std::wstring commandLine = DeviceCommandLine(tools, L"5 remove RUD\\VSerPort");
    EXPECT_EQ(commandLine, L"\"" + tools + L"\\devcon\" 5 remove RUD\\VSerPort");
    DWORD exitCode = 12345;
    EXPECT_TRUE(RunDeviceCommand(commandLine, tools.c_str(), temp_.Path(), L"start\n", exitCode));
    EXPECT_EQ(exitCode, 5u);
    EXPECT_EQ(log_.Runs(), (std::vector<ProbeLog::Run>{ { tools, tools + L"\\devcon.exe", commandLine } }));
}
}  // namespace
