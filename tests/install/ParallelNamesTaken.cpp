#include "ParallelNamesTaken.h"

#include "PortDevice.h"

#include <gtest/gtest.h>

namespace {
struct Taken {
    const wchar_t* value;  // an entry that belongs to no device
    const wchar_t* name;
};
const Taken kTaken[] = {
    { L"TavrinTest\\LPT1", L"LPT1" },
    { L"TavrinTest\\LPT2", L"LPT2" },
    { L"TavrinTest\\LPT3", L"LPT3" },
};
}

ParallelNamesTaken::ParallelNamesTaken()
{
    for (const Taken& taken : kTaken) {
        EXPECT_EQ(PortDevice::RecordPortName(PortDevice::Kind::Parallel, taken.value, taken.name),
                  static_cast<DWORD>(ERROR_SUCCESS));
    }
}

ParallelNamesTaken::~ParallelNamesTaken()
{
    for (const Taken& taken : kTaken)
        PortDevice::ForgetPortName(taken.value);
}
