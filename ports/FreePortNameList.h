// The free port names of one kind, worked out from the data of the port map's
// values alone, so that the rules can be checked without a registry.
#pragma once

#include <string>
#include <vector>

// The names prefix1 .. prefix<highest>, in numeric order, that the data do not
// mark as in use. A datum marks one name: its text from the first occurrence
// of the prefix on (all of it when the prefix does not occur), compared
// exactly with each candidate; each datum stands for one name only.
std::vector<std::wstring> FreePortNameList(const std::vector<std::wstring>& valueData,
                                           const std::wstring& prefix, int highest);
