#include "StartupBench.h"

#include "BenchDevices.h"
#include "Stopwatch.h"

#include "res/resource.h"
#include "support/AppDriver.h"

namespace {
const DWORD kTimeoutMs = 30000;
// The window search is cheap; a coarse poll would round every figure up.
const DWORD kPollMs = 1;

// Starts the program and waits until its dialog is shown and the program idle;
// false, with the reason, when it did not come up or end as expected.
bool TimeOneStart(const std::wstring& program, const std::string& name, int expectedRows, double& ms,
                  std::string& error)
{
    Stopwatch watch;
    AppDriver app(program, kTimeoutMs, kPollMs);
    const HWND dialog = app.Started() ? app.WaitForDialog(IDC_PORT_LIST) : nullptr;
    ms = watch.ElapsedMs();
    if (!dialog) {
        error = name + (app.Started() ? ": no dialog came up" : ": did not start");
        return false;
    }
    const int rows = AppDriver::ItemCount(::GetDlgItem(dialog, IDC_PORT_LIST));
    if (app.Close(dialog) == STILL_ACTIVE) {
        error = name + ": did not end when closed";
        return false;
    }
    if (rows != expectedRows) {
        error = name + ": the list held " + std::to_string(rows) + " rows instead of " + std::to_string(expectedRows);
        return false;
    }
    return true;
}
}

Figure MeasureStartup(const std::wstring& setup, const std::wstring& minimalDialog, int runs)
{
    Figure figure;
    figure.name = "start-up to main list filled (setup.exe)";
    figure.unit = "ms";
    figure.peerName = "minimal dialog program";
    figure.goal = 1.3;

    BenchDevices devices(1);
    if (devices.Error() != ERROR_SUCCESS) {
        figure.error = "cannot make a port device: error " + std::to_string(devices.Error());
        return figure;
    }
    // The first start of each loads its files from disk; it is not counted.
    // Each run the other program starts first.
    for (int run = -1; run < runs; ++run) {
        double ours = 0;
        double peer = 0;
        for (bool oursNow : { run % 2 == 0, run % 2 != 0 }) {
            const bool started = oursNow ? TimeOneStart(setup, "setup.exe", 1, ours, figure.error)
                                         : TimeOneStart(minimalDialog, "minimal dialog", 0, peer, figure.error);
            if (!started)
                return figure;
        }
        if (run >= 0) {
            figure.samples.push_back(ours);
            figure.peerSamples.push_back(peer);
        }
    }
    return figure;
}
