#include "BenchDevices.h"

#include "PortDevice.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {
const wchar_t kHardwareId[] = L"TavrinBench\\Port";
const wchar_t kDescription[] = L"Tavrin Benchmark Port";
}

BenchDevices::BenchDevices(int count)
{
    RemoveAll();
    for (int number = 1; number <= count && m_error == ERROR_SUCCESS; ++number) {
        std::wstring instanceId;
        const std::wstring name = L"COM" + std::to_wstring(number);
        m_error = PortDevice::Create(kHardwareId, kDescription, name.c_str(), instanceId);
    }
}

BenchDevices::~BenchDevices()
{
    RemoveAll();
}

void BenchDevices::RemoveAll()
{
    std::vector<PortDevice::Removed> removed;
    const DWORD error = PortDevice::RemoveByHardwareId(kHardwareId, removed);
    if (error != ERROR_SUCCESS)
        fprintf(stderr, "Benchmark port devices may be left behind: error %lu\n", error);
}
