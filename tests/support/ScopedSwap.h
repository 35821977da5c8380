// Puts a value in place of a variable's for one scope, such as a test's
// stand-in for an entry of a function table.
#pragma once

#include <utility>

template <typename T>
class ScopedSwap {
public:
    ScopedSwap(T& slot, T value) : m_slot(slot), m_saved(std::exchange(slot, value)) {}
    ~ScopedSwap() { m_slot = m_saved; }

    ScopedSwap(const ScopedSwap&) = delete;
    ScopedSwap& operator=(const ScopedSwap&) = delete;

private:
    T& m_slot;
    T m_saved;
};
