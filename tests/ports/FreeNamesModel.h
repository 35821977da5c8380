// A reference model of the free port names, for randomized tests, and the
// random port map data it is checked on.
#pragma once

#include "support/CaseRandom.h"

#include <string>
#include <vector>

// The free names worked out another way than the product does: each datum,
// cut at its first NUL and taken from the first occurrence of the prefix on,
// is parsed as prefix and number; the numbers it names are taken, and every
// other number from 1 to highest is offered, written in decimal.
std::vector<std::wstring> ModelFreeNames(const std::vector<std::wstring>& data, const std::wstring& prefix,
                                         int highest);

// One datum as a port map might hold it: mostly a name of the kind, with or
// without a device path before it, but also other kinds, other letter cases,
// leading zeros, numbers out of range, text after the number, embedded NULs
// and repeats of earlier data.
std::wstring DrawPortMapDatum(CaseRandom& r, const std::wstring& prefix, int highest,
                              const std::vector<std::wstring>& earlier);

// How two lists of names differ: the names only the first holds, those only
// the second holds, or that they hold the same names in another order.
std::string NameListDifference(const std::vector<std::wstring>& expected, const std::vector<std::wstring>& actual);
