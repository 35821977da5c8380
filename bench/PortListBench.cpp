#include "PortListBench.h"

#include "BenchDevices.h"
#include "Stopwatch.h"

#include "framework/ListCtrl.h"
#include "framework/SetupApi.h"
#include "ports/PortInterface.h"
#include "ports/PortList.h"

#include <setupapi.h>

namespace {
// The least that lists the port names: the device set, its members, each
// one's hardware key and "PortName". Returns how many names it read.
int ReadPortNamesBare()
{
    int names = 0;
    DeviceInfoSet devices(::SetupDiGetClassDevsW(&PORT_INTERFACE_GUID, nullptr, nullptr,
                                                 DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; devices && ::SetupDiEnumDeviceInfo(devices.Get(), index, &device); ++index) {
        UniqueRegKey key(::SetupDiOpenDevRegKey(devices.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ));
        wchar_t name[10] = {};
        DWORD size = sizeof(name);
        DWORD type = REG_NONE;
        if (key && ::RegQueryValueExW(key.Get(), L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name),
                                      &size) == ERROR_SUCCESS && type == REG_SZ)
            ++names;
    }
    return names;
}

// A list as the main dialog's: a visible report-view child with two columns,
// in a window not shown, as the main dialog is not while its list is filled
// the first time.
class BenchList {
public:
    BenchList()
    {
        const RECT rect = { 0, 0, 300, 200 };
        if (m_parent.Create(nullptr, L"", WS_POPUP, rect, nullptr, 0) &&
            m_list.Create(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, rect, &m_parent, 1)) {
            m_list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100, -1);
            m_list.InsertColumn(1, L"Type", LVCFMT_LEFT, 100, -1);
        }
    }
    ~BenchList() { m_parent.DestroyWindow(); }
    BenchList(const BenchList&) = delete;
    BenchList& operator=(const BenchList&) = delete;

    bool Made() const { return m_list.m_hWnd != nullptr; }
    CListCtrl& List() { return m_list; }

private:
    CWnd m_parent;
    CListCtrl m_list;
};
}

Figure MeasurePortListRefresh(int count, int runs)
{
    Figure figure;
    figure.name = "PortListRefresh, " + std::to_string(count) + (count == 1 ? " device" : " devices");
    figure.unit = "ms";
    figure.peerName = "bare setup-call loop";
    if (count == 256)
        figure.goal = 1.2;

    BenchDevices devices(count);
    if (devices.Error() != ERROR_SUCCESS) {
        figure.error = "cannot make the port devices: error " + std::to_string(devices.Error());
        return figure;
    }
    BenchList bench;
    if (!bench.Made()) {
        figure.error = "cannot make a list control";
        return figure;
    }
    CListCtrl& list = bench.List();

    // One run of each first, not counted: the registry and the devices are
    // then read from memory by both. Each run the other one goes first, so
    // that neither gains from what the other left in the caches.
    for (int run = -1; run < runs && figure.error.empty(); ++run) {
        double oursMs = 0;
        double peerMs = 0;
        int names = 0;
        for (bool oursNow : { run % 2 == 0, run % 2 != 0 }) {
            Stopwatch watch;
            if (oursNow)
                PortListRefresh(nullptr, list);
            else
                names = ReadPortNamesBare();
            (oursNow ? oursMs : peerMs) = watch.ElapsedMs();
        }
        if (list.GetItemCount() != count || names != count) {
            figure.error = "listed " + std::to_string(list.GetItemCount()) + " and read " + std::to_string(names) +
                           " names of " + std::to_string(count) + " devices";
        } else if (run >= 0) {
            figure.samples.push_back(oursMs);
            figure.peerSamples.push_back(peerMs);
        }
    }
    return figure;
}

Figure MeasureListFill(int rows, int runs)
{
    Figure figure;
    figure.name = "of which list rows alone, " + std::to_string(rows) + " rows";
    figure.unit = "ms";
    BenchList bench;
    if (!bench.Made()) {
        figure.error = "cannot make a list control";
        return figure;
    }
    CListCtrl& list = bench.List();
    // Filled as the refresh fills it: painting off, then one repaint.
    for (int run = -1; run < runs && figure.error.empty(); ++run) {
        Stopwatch watch;
        list.SetRedraw(FALSE);
        list.DeleteAllItems();
        for (int number = 1; number <= rows; ++number) {
            const int row = list.InsertItem(list.GetItemCount(), (L"COM" + std::to_wstring(number)).c_str());
            list.SetItemText(row, 1, L"USB");
        }
        list.SetRedraw(TRUE);
        list.Invalidate();
        const double ms = watch.ElapsedMs();
        if (list.GetItemCount() != rows)
            figure.error = "the list holds " + std::to_string(list.GetItemCount()) + " rows";
        else if (run >= 0)
            figure.samples.push_back(ms);
    }
    return figure;
}
