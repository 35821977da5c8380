#include "CaseRandom.h"

#include "TestFiles.h"

#include <cwchar>

CaseRandom::CaseRandom(const Case& c)
{
    std::seed_seq seeds{ c.seed, c.index };
    m_engine.seed(seeds);
}

std::vector<CaseRandom::Case> CaseRandom::Cases(std::initializer_list<uint32_t> seeds, uint32_t casesPerSeed)
{
    const std::wstring only = EnvironmentValue(L"TAVRIN_MODEL_CASE");
    unsigned long seed = 0;
    unsigned long index = 0;
    if (!only.empty() && std::swscanf(only.c_str(), L"%lu:%lu", &seed, &index) == 2)
        return { Case{ static_cast<uint32_t>(seed), static_cast<uint32_t>(index) } };
    std::vector<Case> cases;
    for (uint32_t s : seeds) {
        for (uint32_t i = 0; i < casesPerSeed; ++i)
            cases.push_back(Case{ s, i });
    }
    return cases;
}

uint32_t CaseRandom::Below(uint32_t n)
{
    return static_cast<uint32_t>(m_engine() % n);
}

int CaseRandom::Between(int low, int high)
{
    return low + static_cast<int>(Below(static_cast<uint32_t>(high - low) + 1));
}

bool CaseRandom::Chance(uint32_t percent)
{
    return Below(100) < percent;
}

std::ostream& operator<<(std::ostream& os, const CaseRandom::Case& c)
{
    return os << "seed " << c.seed << " case " << c.index << " (run it alone with TAVRIN_MODEL_CASE=" << c.seed
              << ":" << c.index << ")";
}
