// Runs the benchmarks and prints their figures as a table. Timings are only
// reported, never judged: the exit code says whether every figure was taken.
#include "CabBench.h"
#include "FigureTable.h"
#include "FreeNamesBench.h"
#include "PortListBench.h"
#include "StartupBench.h"
#include "Stopwatch.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {
const wchar_t kUsage[] =
    L"usage: tavrin_bench --setup <setup.exe> --minimal-dialog <minimal_dialog.exe> --cabinet <file.cab>\n"
    L"                    --cabextract-ms <ms,ms,...> [--runs <n>]\n"
    L"The cabextract times are those of the native tool on the same cabinet, one per run.\n";

struct Options {
    int runs = 15;
    std::wstring setup;
    std::wstring minimalDialog;
    std::wstring cabinet;
    std::vector<double> cabextractMs;
};

std::vector<double> ParseList(const wchar_t* text)
{
    std::vector<double> values;
    while (*text) {
        wchar_t* end = nullptr;
        values.push_back(std::wcstod(text, &end));
        if (end == text)
            return {};
        text = *end == L',' ? end + 1 : end;
    }
    return values;
}

bool Parse(int argc, wchar_t** argv, Options& options)
{
    for (int index = 1; index + 1 < argc; index += 2) {
        const std::wstring name = argv[index];
        const wchar_t* value = argv[index + 1];
        if (name == L"--runs")
            options.runs = _wtoi(value);
        else if (name == L"--setup")
            options.setup = value;
        else if (name == L"--minimal-dialog")
            options.minimalDialog = value;
        else if (name == L"--cabinet")
            options.cabinet = value;
        else if (name == L"--cabextract-ms")
            options.cabextractMs = ParseList(value);
        else
            return false;
    }
    return argc % 2 == 1 && options.runs > 0 && !options.setup.empty() && !options.minimalDialog.empty() &&
           !options.cabinet.empty() && !options.cabextractMs.empty();
}
}

int wmain(int argc, wchar_t** argv)
{
    Options options;
    if (!Parse(argc, argv, options)) {
        fwprintf(stderr, L"%ls", kUsage);
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    ::InitCommonControlsEx(&controls);

    printf("Median of %d runs of each figure. Where a peer is timed here, each run times both, the two in\n"
           "alternating order; cabextract is timed natively by the calling script, as many times.\n"
           "One more run of each comes first and is not counted. The ratio is the median of the\n"
           "runs' own ratios (ours over the peer's of the same run), and the middle half of\n"
           "those ratios lies in the range beside it.\n\n",
           options.runs);
    fflush(stdout);
    FigureTable table;
    // Progress on the error stream, since the devices take a while to make and remove.
    const Stopwatch total;
    auto add = [&table, &total](Figure figure) {
        fprintf(stderr, "%.0f s: %s\n", total.ElapsedMs() / 1000, figure.name.c_str());
        table.Add(std::move(figure));
    };
    add(MeasureStartup(options.setup, options.minimalDialog, options.runs));
    for (int devices : { 1, 16, 256 })
        add(MeasurePortListRefresh(devices, options.runs));
    add(MeasureListFill(256, options.runs));
    add(MeasureCabExtract(options.cabinet, options.runs, options.cabextractMs));
    add(MeasureFreeNamesFullMap(options.runs));
    add(MeasureFreeNamesEmptyMap(options.runs));
    fprintf(stderr, "\n");
    table.Print(stdout);
    return table.AllTaken() ? 0 : 1;
}
