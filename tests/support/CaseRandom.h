// Reproducible random cases for model tests. Case k of seed s is drawn from a
// generator of its own, seeded with both, so that one failing case can be run
// again alone: TAVRIN_MODEL_CASE=s:k in the environment runs just that case.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <random>
#include <vector>

class CaseRandom {
public:
    struct Case {
        uint32_t seed;
        uint32_t index;
    };

    explicit CaseRandom(const Case& c);

    // The cases of a test: indexes 0 .. casesPerSeed - 1 of every seed, or
    // only the case that TAVRIN_MODEL_CASE names.
    static std::vector<Case> Cases(std::initializer_list<uint32_t> seeds, uint32_t casesPerSeed);

    // A number from 0 to n - 1; n must not be 0.
    uint32_t Below(uint32_t n);
    // A number from low to high, both included.
    int Between(int low, int high);
    // True percent times in a hundred.
    bool Chance(uint32_t percent);

    template <typename T>
    T Pick(std::initializer_list<T> choices)
    {
        return choices.begin()[Below(static_cast<uint32_t>(choices.size()))];
    }
    template <typename T>
    const T& Pick(const std::vector<T>& choices)
    {
        return choices[Below(static_cast<uint32_t>(choices.size()))];
    }

private:
    // Fully specified by the standard: the same numbers on every platform.
    std::mt19937 m_engine;
};

// "seed S case K (run it alone with TAVRIN_MODEL_CASE=S:K)".
std::ostream& operator<<(std::ostream& os, const CaseRandom::Case& c);
