// Many install and uninstall rounds through the real setup.exe
// (TAVRIN_SETUP), all in one process of it: what the process holds and what
// the temporary folder keeps must not grow with the number of rounds.
// TAVRIN_LONG_RUN_CYCLES sets the number of rounds (200 when unset).
#include "SetupSession.h"

#include "res/resource.h"

#include "support/ProcessCounts.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {
const int kDefaultCycles = 200;
const int kSampleEvery = 50;
// Handles that the first round may add for good: the system libraries open
// some on first use and keep them for the life of the process. Measured: 38
// handles after the first round, three registry keys, an object directory and
// a mutex more than the 33 at the start (32 in one run of seven), and not one
// more after 200 rounds.
const size_t kLazyHandles = 6;

int Cycles()
{
    const std::wstring value = EnvironmentValue(L"TAVRIN_LONG_RUN_CYCLES");
    return value.empty() ? kDefaultCycles : static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
}

struct Sample {
    int cycle;
    size_t handles;
    int threads;
    size_t tempEntries;
};

class SetupLongRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        RemovePortDevices();
        m_setup.emplace();
    }
    // setup.exe goes first, so that nothing installs behind the clean-up.
    void TearDown() override
    {
        m_setup.reset();
        RemovePortDevices();
    }

    // One round: install a port of this kind, see it listed, uninstall it.
    void Cycle(int portButton, const wchar_t* prefix)
    {
        ASSERT_NO_FATAL_FAILURE(m_setup->Install(portButton));
        ASSERT_NO_FATAL_FAILURE(m_setup->Expect(IDS_INSTALL_OK, "after installing"));
        ASSERT_EQ(m_setup->RowsAtBox().size(), 1u);
        ASSERT_EQ(m_setup->RowsAtBox()[0].first.substr(0, 3), prefix);
        ASSERT_NO_FATAL_FAILURE(m_setup->Uninstall());
        ASSERT_NO_FATAL_FAILURE(m_setup->Expect(IDS_UNINSTALL_OK, "after uninstalling"));
        ASSERT_EQ(m_setup->RowsAtBox(), ListRows());
    }

    Sample Take(int cycle)
    {
        EXPECT_TRUE(m_setup->Settle()) << "setup.exe does not come back to its main window after cycle " << cycle;
        const DWORD processId = m_setup->App().ProcessId();
        return { cycle, CountProcessHandles(processId), CountProcessThreads(processId), m_temp.Entries().size() };
    }

    ScratchTempFolder m_temp;  // inherited by setup.exe
    std::optional<SetupSession> m_setup;
};

TEST_F(SetupLongRunTest, RepeatedInstallAndUninstallLeaveNoHandleThreadOrFileBehind)
{
    ASSERT_TRUE(m_setup->Ready()) << "cannot start TAVRIN_SETUP";
    const int cycles = Cycles();
    ASSERT_GT(cycles, 0);

    std::printf("%10s %10s %10s %10s %14s\n", "cycle", "seconds", "handles", "threads", "temp entries");
    const auto began = std::chrono::steady_clock::now();
    std::vector<Sample> samples;
    auto take = [&](int cycle) {
        samples.push_back(Take(cycle));
        const Sample& s = samples.back();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        std::printf("%10d %10.1f %10zu %10d %14zu\n", s.cycle, seconds, s.handles, s.threads, s.tempEntries);
        std::fflush(stdout);
    };
    take(0);
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        // Serial and parallel ports in turn.
        const bool serial = cycle % 2 == 1;
        ASSERT_NO_FATAL_FAILURE(Cycle(serial ? IDC_SERIAL_PORT : IDC_PARALLEL_PORT, serial ? L"COM" : L"LPT"))
            << "cycle " << cycle;
        if (cycle == 1 || cycle % kSampleEvery == 0 || cycle == cycles)
            take(cycle);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("long run: %d cycles in %.1f s, %.2f s per cycle\n", cycles, seconds, seconds / cycles);

    const Sample& start = samples[0];
    const Sample& firstRound = samples[1];
    EXPECT_LE(firstRound.handles, start.handles + kLazyHandles);
    for (const Sample& s : samples) {
        if (s.cycle > firstRound.cycle) {
            EXPECT_EQ(s.handles, firstRound.handles) << "after cycle " << s.cycle;
        }
        EXPECT_EQ(s.threads, start.threads) << "after cycle " << s.cycle;
        EXPECT_EQ(s.tempEntries, 0u) << "after cycle " << s.cycle;
    }
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());

    EXPECT_EQ(m_setup->App().Close(m_setup->Main()), 0u);
}
}  // namespace
