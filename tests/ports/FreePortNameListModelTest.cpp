// The free-name rules against an independent model, over random port map
// data: names of the kind and of others, device paths, odd numbers, repeats.
#include "FreeNamesModel.h"

#include "ports/FreePortNameList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

namespace {

const uint32_t kCasesPerSeed = 3000;

struct Kind {
    std::wstring prefix;
    int highest;
};

Kind DrawKind(CaseRandom& r)
{
    switch (r.Below(6)) {
    case 0:
    case 1:
        return { L"COM", 256 };
    case 2:
    case 3:
        return { L"LPT", 3 };
    default:
        return { r.Pick<const wchar_t*>({ L"", L"C", L"C1", L"1", L"AUX", L"\x00C9\x4E2D" }), r.Between(-2, 300) };
    }
}

std::vector<std::wstring> DrawData(CaseRandom& r, const Kind& kind)
{
    std::vector<std::wstring> data;
    // Now and then a map that holds most names of the kind, in any order.
    if (r.Chance(5)) {
        for (int n = 1; n <= kind.highest; ++n) {
            if (!r.Chance(3))
                data.push_back(kind.prefix + std::to_wstring(n));
        }
        for (size_t i = data.size(); i > 1; --i)
            std::swap(data[i - 1], data[r.Below(static_cast<uint32_t>(i))]);
    }
    for (int n = r.Between(0, 20); n > 0; --n)
        data.push_back(DrawPortMapDatum(r, kind.prefix, kind.highest, data));
    return data;
}

TEST(FreePortNameListModel, FreeNamesFollowTheModelOverRandomPortMaps)
{
    int failures = 0;
    int someTaken = 0;  // cases in which the data take at least one name, and all of them
    int allTaken = 0;
    const std::vector<CaseRandom::Case> cases = CaseRandom::Cases({ 1, 2, 3 }, kCasesPerSeed);
    for (const CaseRandom::Case& id : cases) {
        CaseRandom r(id);
        const Kind kind = DrawKind(r);
        const std::vector<std::wstring> data = DrawData(r, kind);
        const std::vector<std::wstring> expected = ModelFreeNames(data, kind.prefix, kind.highest);
        const std::vector<std::wstring> actual = FreePortNameList(data, kind.prefix, kind.highest);
        someTaken += kind.highest > 0 && expected.size() < static_cast<size_t>(kind.highest);
        allTaken += kind.highest > 0 && expected.empty();
        if (actual != expected) {
            ADD_FAILURE() << id << "\n  prefix " << testing::PrintToString(kind.prefix) << ", highest "
                          << kind.highest << ", data " << testing::PrintToString(data) << "\n  "
                          << NameListDifference(expected, actual);
            if (++failures == 10)
                FAIL() << "stopping after 10 failing cases";
        }
    }
    std::printf("%zu cases (%u per seed); some names taken in %d, all in %d\n", cases.size(),
                static_cast<unsigned>(kCasesPerSeed), someTaken, allTaken);
    if (cases.size() > 1) {
        EXPECT_GT(someTaken, 0);
        EXPECT_GT(allTaken, 0);
    }
}

}  // namespace
