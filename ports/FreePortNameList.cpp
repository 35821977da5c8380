#include "FreePortNameList.h"

#include <algorithm>
#include <cwchar>

std::vector<std::wstring> FreePortNameList(const std::vector<std::wstring>& valueData,
                                           const std::wstring& prefix, int highest)
{
    // The port map's data may carry a device path before the name (\DosDevices\LPT1).
    std::vector<std::wstring> inUse;
    inUse.reserve(valueData.size());
    for (const std::wstring& datum : valueData) {
        const wchar_t* name = std::wcsstr(datum.c_str(), prefix.c_str());
        inUse.emplace_back(name ? name : datum.c_str());
    }

    std::vector<std::wstring> freeNames;
    for (int number = 1; number <= highest; ++number) {
        std::wstring candidate = prefix + std::to_wstring(number);
        auto match = std::find(inUse.begin(), inUse.end(), candidate);
        if (match != inUse.end())
            inUse.erase(match);
        else
            freeNames.push_back(std::move(candidate));
    }
    return freeNames;
}
