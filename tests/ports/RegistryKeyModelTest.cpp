// The string read of RegistryKey against a model of its rules, over random
// values of the real registry: every type, terminated, unterminated and odd
// data, empty and missing values, capacities below, at and above the size.
#include "ports/RegistryKey.h"

#include "support/CaseRandom.h"
#include "support/RawBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

const uint32_t kCasesPerSeed = 2000;
const ULONG kLargestCapacity = 256;  // characters; the longest data drawn are shorter
const size_t kGuardChars = 8;        // after the capacity, where nothing may be written
const wchar_t kUnwritten = 0xBEEF;

const wchar_t* const kValueNames[] = { L"PortName", L"", L"Value", L"a longer value name, with blanks" };

struct ReadCase {
    std::wstring valueName;  // empty: the key's default value
    bool nullName;           // the default value asked for with a null name
    bool exists;
    DWORD type;
    std::string data;  // the bytes stored
    bool withBuffer;
    ULONG capacity;  // characters, as the caller passes it in
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << "value " << testing::PrintToString(c.valueName) << (c.nullName ? " (null name)" : "")
        << (c.exists ? "" : " missing") << ", type " << c.type << ", " << c.data.size() << " bytes "
        << testing::PrintToString(c.data) << ", " << (c.withBuffer ? "buffer" : "no buffer") << ", capacity "
        << c.capacity;
}

// What the caller gets back.
struct Outcome {
    LONG result;
    ULONG length;
    std::wstring text;  // the buffer's first characters after a read into a buffer

    bool operator==(const Outcome& o) const
    {
        return result == o.result && length == o.length && text == o.text;
    }
};

void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << "result " << o.result << ", length " << o.length << ", text " << testing::PrintToString(o.text);
}

// ---- the model --------------------------------------------------------------

// The rules a caller relies on, stated from the outside: the registry's own
// answer first (missing value, data larger than the buffer), then the type,
// then, for a read into a buffer, a whole number of characters ending in a
// terminator; an empty value reads as an empty string where the terminator fits.
Outcome Model(const ReadCase& c)
{
    auto fails = [](LONG result) { return Outcome{ result, 0, std::wstring() }; };
    if (!c.exists)
        return fails(ERROR_FILE_NOT_FOUND);
    const size_t bytes = c.data.size();
    const bool isString = c.type == REG_SZ || c.type == REG_EXPAND_SZ;
    if (!c.withBuffer)
        return isString ? Outcome{ ERROR_SUCCESS, static_cast<ULONG>(bytes / 2), std::wstring() }
                        : fails(ERROR_INVALID_DATA);
    if (bytes > 2 * static_cast<size_t>(c.capacity))
        return fails(ERROR_MORE_DATA);
    if (!isString)
        return fails(ERROR_INVALID_DATA);
    if (bytes == 0)
        return c.capacity == 0 ? fails(ERROR_MORE_DATA) : Outcome{ ERROR_SUCCESS, 0, std::wstring(1, L'\0') };
    if (bytes % 2 != 0 || c.data[bytes - 1] != 0 || c.data[bytes - 2] != 0)
        return fails(ERROR_INVALID_DATA);
    return { ERROR_SUCCESS, static_cast<ULONG>(bytes / 2), WideText(c.data) };
}

// ---- drawing cases ----------------------------------------------------------

std::wstring DrawText(CaseRandom& r, int longest)
{
    static const std::vector<wchar_t> alphabet = { L'C', L'O', L'M', L'L', L'P', L'T', L'1', L'9', L'%', L'\\',
                                                   0x00E9, 0x4E2D, 0xD800, 0xFFFF, L'\0' };
    std::wstring text;
    for (int n = r.Between(0, longest); n > 0; --n)
        text.push_back(r.Chance(70) ? r.Pick(alphabet) : static_cast<wchar_t>(r.Between(1, 0xFFFF)));
    return text;
}

std::string DrawData(CaseRandom& r)
{
    const std::wstring text = DrawText(r, r.Chance(10) ? 200 : 12);
    const std::string terminated = WideBytes(text + L'\0');
    switch (r.Below(6)) {
    case 0:
    case 1:
        return terminated;
    case 2:
        return WideBytes(text);
    case 3:
        return terminated + static_cast<char>(r.Below(256));
    case 4:
        return terminated.substr(0, terminated.size() - 1);
    default:
        if (r.Chance(30))
            return std::string();
        std::string raw(r.Below(40), '\0');
        for (char& b : raw)
            b = static_cast<char>(r.Below(256));
        return raw;
    }
}

ULONG DrawCapacity(CaseRandom& r, size_t bytes)
{
    const long chars = static_cast<long>(bytes / 2);
    const long drawn = static_cast<long>(r.Below(kLargestCapacity + 1));
    const long aroundSize[] = { 0, 1, 10, chars - 1, chars, chars + 1, static_cast<long>((bytes + 1) / 2), drawn };
    const long capacity = aroundSize[r.Below(sizeof(aroundSize) / sizeof(aroundSize[0]))];
    return static_cast<ULONG>(std::clamp<long>(capacity, 0, kLargestCapacity));
}

ReadCase Draw(CaseRandom& r)
{
    ReadCase c;
    c.valueName = kValueNames[r.Below(sizeof(kValueNames) / sizeof(kValueNames[0]))];
    c.nullName = c.valueName.empty() && r.Chance(50);
    c.exists = !r.Chance(8);
    c.type = r.Chance(65) ? r.Pick<DWORD>({ REG_SZ, REG_EXPAND_SZ })
                          : r.Pick<DWORD>({ REG_NONE, REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ,
                                            REG_RESOURCE_LIST, REG_QWORD, 0x7FFF });
    c.data = DrawData(r);
    c.withBuffer = !r.Chance(15);
    c.capacity = DrawCapacity(r, c.data.size());
    // Without a buffer the capacity is not looked at, even where twice it overflows.
    if (!c.withBuffer && r.Chance(25))
        c.capacity = r.Pick<ULONG>({ 0x7FFFFFFF, 0x80000000, 0x80000001, 0xFFFFFFFF });
    return c;
}

// ---- the test ---------------------------------------------------------------

// A volatile key of its own under HKEY_CURRENT_USER, gone with the object.
class ScratchKey {
public:
    ScratchKey() : m_path(L"Software\\TavrinModel " + std::to_wstring(::GetCurrentProcessId()))
    {
        EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &m_key, nullptr),
                  ERROR_SUCCESS);
    }
    ~ScratchKey()
    {
        ::RegCloseKey(m_key);
        EXPECT_EQ(::RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str()), ERROR_SUCCESS);
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const std::wstring& Path() const { return m_path; }

    // Leaves the key with just this value, stored as exactly these bytes, and
    // the value read back.
    std::string Store(const std::wstring& name, DWORD type, const std::string& data)
    {
        for (const wchar_t* other : kValueNames)
            ::RegDeleteValueW(m_key, other);
        // RegSetValueExW counts in a terminator that the size left out when
        // one follows in memory: what follows here is never one.
        const std::string padded = data + "\xFF\xFF";
        EXPECT_EQ(::RegSetValueExW(m_key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(padded.data()),
                                   static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
        std::string stored(1024, '\0');
        DWORD size = static_cast<DWORD>(stored.size());
        EXPECT_EQ(::RegQueryValueExW(m_key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&stored[0]),
                                     &size),
                  ERROR_SUCCESS);
        stored.resize(size);
        return stored;
    }

private:
    std::wstring m_path;
    HKEY m_key = nullptr;
};

TEST(RegistryKeyModel, StringReadsFollowTheModelOverRandomValues)
{
    ScratchKey scratch;
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, scratch.Path().c_str(), KEY_READ), ERROR_SUCCESS);

    const std::vector<CaseRandom::Case> cases = CaseRandom::Cases({ 1, 2, 3 }, kCasesPerSeed);
    int failures = 0;
    std::map<LONG, int> results;  // how often the model gave each result
    for (const CaseRandom::Case& id : cases) {
        CaseRandom r(id);
        const ReadCase c = Draw(r);
        // A missing value is asked for while another one exists.
        const std::wstring storedName = c.exists ? c.valueName : c.valueName + L" (other)";
        ASSERT_EQ(scratch.Store(storedName, c.type, c.data), c.data) << id << ": the registry altered the data";

        std::vector<wchar_t> buffer(kLargestCapacity + kGuardChars, kUnwritten);
        ULONG length = c.capacity;
        const LONG result = key.QueryStringValue(c.nullName ? nullptr : c.valueName.c_str(),
                                                 c.withBuffer ? buffer.data() : nullptr, &length);
        Outcome actual{ result, length, std::wstring() };
        const Outcome expected = Model(c);
        ++results[expected.result];
        // What a read into the buffer left there: its length, or the one
        // terminator of an empty string.
        if (c.withBuffer && result == ERROR_SUCCESS)
            actual.text.assign(buffer.data(), std::min<size_t>(buffer.size(), std::max<ULONG>(length, 1)));
        const bool guardKept = std::all_of(buffer.begin() + (c.withBuffer ? c.capacity : 0), buffer.end(),
                                           [](wchar_t ch) { return ch == kUnwritten; });
        if (!(actual == expected) || !guardKept) {
            ADD_FAILURE() << id << "\n  " << testing::PrintToString(c) << "\n  expected "
                          << testing::PrintToString(expected) << "\n  actual   " << testing::PrintToString(actual)
                          << (guardKept ? "" : "\n  written beyond the capacity");
            if (++failures == 10)
                FAIL() << "stopping after 10 failing cases";
        }
    }
    std::printf("%zu cases (%u per seed); results:", cases.size(), static_cast<unsigned>(kCasesPerSeed));
    for (const auto& result : results)
        std::printf(" %ld in %d", result.first, result.second);
    std::printf("\n");
    // The drawing reaches every rule.
    if (cases.size() > 1) {
        for (LONG result : { ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_INVALID_DATA, ERROR_MORE_DATA })
            EXPECT_GT(results[result], 0) << "no case gives " << result;
    }
}

}  // namespace
