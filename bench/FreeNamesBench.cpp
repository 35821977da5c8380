#include "FreeNamesBench.h"

#include "Stopwatch.h"

#include "ports/FreePortNameList.h"

#include <string>
#include <vector>

namespace {
const int kHighest = 256;
// One call takes microseconds: each sample times this many and is divided.
const int kCallsPerSample = 200;

Figure Measure(const std::string& name, const std::vector<std::wstring>& valueData, size_t expectedFree, int runs)
{
    Figure figure;
    figure.name = name;
    figure.unit = "us";
    for (int run = -1; run < runs; ++run) {
        size_t freeNames = 0;
        Stopwatch watch;
        for (int call = 0; call < kCallsPerSample; ++call)
            freeNames += FreePortNameList(valueData, L"COM", kHighest).size();
        const double us = watch.ElapsedMs() * 1000.0 / kCallsPerSample;
        if (freeNames != expectedFree * kCallsPerSample) {
            figure.error = "wrong number of free names";
            return figure;
        }
        if (run >= 0)
            figure.samples.push_back(us);
    }
    return figure;
}
}

Figure MeasureFreeNamesFullMap(int runs)
{
    // Highest first: each candidate is found only at the end of what is left,
    // the search's longest path.
    std::vector<std::wstring> valueData;
    for (int number = kHighest; number >= 1; --number)
        valueData.push_back(L"COM" + std::to_wstring(number));
    return Measure("free names, full COM map (256 in use)", valueData, 0, runs);
}

Figure MeasureFreeNamesEmptyMap(int runs)
{
    return Measure("free names, empty COM map", {}, kHighest, runs);
}
