// The free-name rules on their own: value data in, ordered names out.
#include "ports/FreePortNameList.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Case {
    const char* what;
    std::vector<std::wstring> data;
    const wchar_t* prefix;
    int highest;
    std::set<int> inUse;  // the numbers that must not be offered
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.what;
}

// Every name of the kind but the ones in use, in numeric order.
std::vector<std::wstring> AllBut(const Case& c)
{
    std::vector<std::wstring> names;
    for (int n = 1; n <= c.highest; ++n) {
        if (!c.inUse.count(n))
            names.push_back(c.prefix + std::to_wstring(n));
    }
    return names;
}

std::set<int> Range(int first, int last)
{
    std::set<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.insert(n);
    return numbers;
}

std::vector<std::wstring> EveryComName()
{
    std::vector<std::wstring> data;
    for (int n = 256; n >= 1; --n)
        data.push_back(L"COM" + std::to_wstring(n));
    return data;
}

const Case kCases[] = {
    { "nothing in use", {}, L"COM", 256, {} },
    { "COM1 and COM5 in use", { L"COM1", L"COM5" }, L"COM", 256, { 1, 5 } },
    { "text before the prefix counts from the prefix on", { L"\\DosDevices\\LPT1" }, L"LPT", 3, { 1 } },
    { "text after the number", { L"COM3:" }, L"COM", 256, {} },
    { "leading zeros", { L"COM03" }, L"COM", 256, {} },
    { "the prefix twice keeps the first occurrence", { L"COMCOM3" }, L"COM", 256, {} },
    { "a device path and a name with the prefix twice", { L"\\Device\\COM2\\COM4" }, L"COM", 256, {} },
    { "a name listed twice", { L"COM2", L"COM4", L"COM2" }, L"COM", 256, { 2, 4 } },
    { "names above the highest number", { L"COM300", L"COM257" }, L"COM", 256, {} },
    { "LPT4 is above the parallel range", { L"LPT4" }, L"LPT", 3, {} },
    { "every name in use", EveryComName(), L"COM", 256, Range(1, 256) },
    { "LPT1 to LPT3 in use", { L"LPT3", L"LPT1", L"LPT2" }, L"LPT", 3, Range(1, 3) },
    { "LPT2 in use", { L"LPT2" }, L"LPT", 3, { 2 } },
    { "other letter case", { L"com2", L"Com3" }, L"COM", 256, {} },
    { "the other kind's names", { L"LPT1", L"COM2" }, L"COM", 256, { 2 } },
    { "data without the prefix are compared whole", { L"", L"2", L"COM" }, L"COM", 256, {} },
};

class FreePortNameListTest : public testing::TestWithParam<Case> {};

TEST_P(FreePortNameListTest, OffersTheNamesNotInUseInNumericOrder)
{
    const Case& c = GetParam();
    EXPECT_EQ(FreePortNameList(c.data, c.prefix, c.highest), AllBut(c));
}

INSTANTIATE_TEST_SUITE_P(PortMapData, FreePortNameListTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return "Case" + std::to_string(info.index); });

}
