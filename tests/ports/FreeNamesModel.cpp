#include "FreeNamesModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <set>

namespace {

// Where needle first occurs in text; an empty needle occurs at 0.
size_t FirstOccurrence(const std::wstring& text, const std::wstring& needle)
{
    for (size_t at = 0; at + needle.size() <= text.size(); ++at) {
        size_t matched = 0;
        while (matched < needle.size() && text[at + matched] == needle[matched])
            ++matched;
        if (matched == needle.size())
            return at;
    }
    return std::wstring::npos;
}

// The number that a name of the form prefix + decimal digits, without sign,
// blanks or leading zeros, stands for; 0 for any other text.
long long NumberNamed(const std::wstring& name, const std::wstring& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const std::wstring digits = name.substr(prefix.size());
    if (digits.size() > 12 || digits[0] == L'0')
        return 0;
    long long number = 0;
    for (wchar_t digit : digits) {
        if (digit < L'0' || digit > L'9')
            return 0;
        number = number * 10 + (digit - L'0');
    }
    return number;
}

std::wstring Decimal(long long number)
{
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + number % 10));
        number /= 10;
    } while (number > 0);
    return digits;
}

std::wstring LowerCase(std::wstring text)
{
    for (wchar_t& ch : text)
        ch = static_cast<wchar_t>(std::towlower(ch));
    return text;
}

}  // namespace

std::vector<std::wstring> ModelFreeNames(const std::vector<std::wstring>& data, const std::wstring& prefix,
                                         int highest)
{
    std::vector<bool> taken(highest > 0 ? static_cast<size_t>(highest) + 1 : 1, false);
    for (const std::wstring& datum : data) {
        const std::wstring text = datum.substr(0, datum.find(L'\0'));
        const size_t at = FirstOccurrence(text, prefix);
        const long long number = NumberNamed(at == std::wstring::npos ? text : text.substr(at), prefix);
        if (number >= 1 && number <= highest)
            taken[static_cast<size_t>(number)] = true;
    }
    std::vector<std::wstring> names;
    for (int number = 1; number <= highest; ++number) {
        if (!taken[static_cast<size_t>(number)])
            names.push_back(prefix + Decimal(number));
    }
    return names;
}

std::wstring DrawPortMapDatum(CaseRandom& r, const std::wstring& prefix, int highest,
                              const std::vector<std::wstring>& earlier)
{
    if (!earlier.empty() && r.Chance(10))
        return r.Pick(earlier);
    const int inRange = highest >= 1 ? r.Between(1, highest) : 1;

    std::wstring datum;
    switch (r.Below(8)) {
    case 0:
        datum = L"\\DosDevices\\";
        break;
    case 1:
        datum = L"\\Device\\Serial" + Decimal(r.Below(10));
        break;
    case 2:
        // The prefix twice: the first occurrence is what counts.
        datum = L"\\Device\\" + prefix + Decimal(inRange) + L"\\";
        break;
    default:
        break;
    }

    switch (r.Below(10)) {
    case 0:
        datum += LowerCase(prefix);
        break;
    case 1:
        datum += r.Pick<const wchar_t*>({ L"COM", L"LPT", L"CO", L"X" });
        break;
    case 2:
        datum += prefix.substr(0, prefix.empty() ? 0 : prefix.size() - 1);
        break;
    case 3:
        break;
    default:
        datum += prefix;
        break;
    }

    switch (r.Below(12)) {
    case 0:
        datum += L"0";
        break;
    case 1:
        datum += L"0" + Decimal(inRange);
        break;
    case 2:
        datum += Decimal(static_cast<long long>(highest > 0 ? highest : 0) + r.Between(1, 100));
        break;
    case 3:
        datum += L"99999999999999999999";
        break;
    case 4:
        datum += r.Pick<const wchar_t*>({ L"+", L"-", L" ", L"\xFF11" }) + Decimal(inRange);
        break;
    case 5:
        break;
    default:
        datum += Decimal(inRange);
        break;
    }

    switch (r.Below(10)) {
    case 0:
        datum += L":";
        break;
    case 1:
        datum += std::wstring(1, L'\0') + prefix + Decimal(inRange);
        break;
    case 2:
        datum += static_cast<wchar_t>(r.Between(1, 0xFFFF));
        break;
    default:
        break;
    }
    return datum;
}

std::string NameListDifference(const std::vector<std::wstring>& expected, const std::vector<std::wstring>& actual)
{
    const std::set<std::wstring> expectedSet(expected.begin(), expected.end());
    const std::set<std::wstring> actualSet(actual.begin(), actual.end());
    std::vector<std::wstring> missing;
    std::vector<std::wstring> extra;
    std::set_difference(expectedSet.begin(), expectedSet.end(), actualSet.begin(), actualSet.end(),
                        std::back_inserter(missing));
    std::set_difference(actualSet.begin(), actualSet.end(), expectedSet.begin(), expectedSet.end(),
                        std::back_inserter(extra));
    if (missing.empty() && extra.empty())
        return expected.size() == actual.size() ? "the same names in another order" : "names repeated";
    return "missing " + testing::PrintToString(missing) + ", not expected " + testing::PrintToString(extra);
}
