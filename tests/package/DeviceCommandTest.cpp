#include "package/DeviceCommand.h"

#include "support/DebugOutputCapture.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
// The probe's record: the folder it ran in and its own path.
struct Record {
    std::wstring folder;
    std::wstring program;
};

Record ReadRecord(const std::wstring& path)
{
    const std::string bytes = ReadBytes(path);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    const size_t newline = text.find(L'\n');
    if (newline == std::wstring::npos)
        return Record();
    return { text.substr(0, newline), text.substr(newline + 1, text.find(L'\n', newline + 1) - newline - 1) };
}

class DeviceCommandTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(IsFile(probe_)) << "TAVRIN_COMMAND_PROBE names no program"; }

    // Probe arguments: the exit code and the record file.
    std::wstring ProbeArguments(unsigned exitCode) const
    {
        return std::to_wstring(exitCode) + L" \"" + record_ + L"\"";
    }

    ScratchTempFolder temp_{ L"tavrin command" };
    const std::wstring probe_ = EnvironmentValue(L"TAVRIN_COMMAND_PROBE");
    const std::wstring record_ = temp_.Path() + L"\\record.txt";
};

TEST_F(DeviceCommandTest, RunsInTheGivenFolderAndYieldsTheExitCode)
{
    for (unsigned expected : { 0u, 1u, 4u, 42u }) {
        DebugOutputCapture traces;
        DWORD exitCode = 12345;
        EXPECT_TRUE(RunDeviceCommand(L"\"" + probe_ + L"\" " + ProbeArguments(expected), temp_.Path().c_str(),
                                     L"start to test\n", exitCode));
        EXPECT_EQ(exitCode, expected);
        EXPECT_EQ(ReadRecord(record_).folder, temp_.Path());
        EXPECT_EQ(traces.Lines(), std::vector<std::wstring>{ L"start to test\n" });
    }
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
        { L"\"" + probe_ + L"\" " + ProbeArguments(0), temp_.Path() + L"\\missing",
          L"CreateProcess fail![267]\n" },  // ERROR_DIRECTORY
    };
    for (const Case& c : cases) {
        DebugOutputCapture traces;
        DWORD exitCode = 12345;
        EXPECT_FALSE(RunDeviceCommand(c.commandLine, c.folder.c_str(), L"start to test\n", exitCode));
        EXPECT_EQ(traces.Lines(), std::vector<std::wstring>{ c.trace });
    }
    EXPECT_FALSE(IsFile(record_));
}

TEST_F(DeviceCommandTest, StartsTheToolEvenWhenItsPathHoldsBlanks)
{
    // "<temp>\tools dir\devcon" unquoted would start "<temp>\tools.exe".
    const std::wstring tools = temp_.Path() + L"\\tools dir";
    ASSERT_TRUE(::CreateDirectoryW(tools.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(probe_.c_str(), (tools + L"\\devcon.exe").c_str(), TRUE));
    ASSERT_TRUE(::CopyFileW(probe_.c_str(), (temp_.Path() + L"\\tools.exe").c_str(), TRUE));

    DWORD exitCode = 12345;
    EXPECT_TRUE(RunDeviceCommand(DeviceCommandLine(tools, ProbeArguments(5)), tools.c_str(), L"start\n", exitCode));
    EXPECT_EQ(exitCode, 5u);
    EXPECT_EQ(ReadRecord(record_).program, tools + L"\\devcon.exe");
}
}  // namespace
