#include "ports/RegistryKey.h"

#include "framework/OleException.h"
#include "support/RawBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

const wchar_t kTestKey[] = L"Software\\TavrinTest";
const wchar_t kChildKey[] = L"Software\\TavrinTest\\Child";

// Whether a raw key handle is still open.
bool IsOpen(HKEY key)
{
    return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// HKCU\Software\TavrinTest with a subkey "Child", both removed afterwards.
class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kChildKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
        ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_ALL_ACCESS, &m_raw), ERROR_SUCCESS);
    }

    void TearDown() override
    {
        ::RegCloseKey(m_raw);
        EXPECT_EQ(::RegDeleteKeyW(HKEY_CURRENT_USER, kChildKey), ERROR_SUCCESS);
        EXPECT_EQ(::RegDeleteKeyW(HKEY_CURRENT_USER, kTestKey), ERROR_SUCCESS);
    }

    // Stores exactly these bytes. RegSetValueExW counts in a string's
    // terminator that the size left out when one follows in memory; the
    // bytes after the data are therefore not one.
    void Write(const wchar_t* name, DWORD type, const std::string& data)
    {
        const std::string padded = data + "\xFF\xFF";
        ASSERT_EQ(::RegSetValueExW(m_raw, name, 0, type, reinterpret_cast<const BYTE*>(padded.data()),
                                   static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }

    // Type and bytes of a value as stored.
    std::pair<DWORD, std::string> Stored(const wchar_t* name)
    {
        BYTE data[256] = {};
        DWORD size = sizeof(data);
        DWORD type = REG_NONE;
        EXPECT_EQ(::RegQueryValueExW(m_raw, name, nullptr, &type, data, &size), ERROR_SUCCESS);
        return { type, std::string(reinterpret_cast<const char*>(data), size) };
    }

    HKEY m_raw = nullptr;
};

// ---- QueryStringValue -------------------------------------------------------

struct QueryCase {
    const char* what;
    bool exists;
    DWORD type;
    std::string data;
    bool withBuffer;
    ULONG capacity;       // characters, as the caller passes it in
    LONG result;
    ULONG length;         // what the caller gets back
    const wchar_t* text;  // the buffer's text on success
};

void PrintTo(const QueryCase& c, std::ostream* os)
{
    *os << c.what;
}

class QueryStringValueTest : public RegistryKeyTest, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(QueryStringValueTest, ChecksTypeSizeAndTermination)
{
    const QueryCase& c = GetParam();
    if (c.exists)
        Write(L"Value", c.type, c.data);
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ), ERROR_SUCCESS);

    wchar_t buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), L'x');
    ULONG length = c.capacity;
    EXPECT_EQ(key.QueryStringValue(L"Value", c.withBuffer ? buffer : nullptr, &length), c.result);
    EXPECT_EQ(length, c.length);
    if (c.withBuffer && c.result == ERROR_SUCCESS) {
        EXPECT_STREQ(buffer, c.text);
    }
}

const wchar_t kCom5[] = L"COM5";
const size_t kCom5Bytes = sizeof(kCom5);  // terminator included
const std::string kCom5Unterminated = RawBytes(kCom5, kCom5Bytes - sizeof(wchar_t));

INSTANTIATE_TEST_SUITE_P(
    Values, QueryStringValueTest,
    ::testing::Values(
        QueryCase{ "REG_SZ", true, REG_SZ, RawBytes(kCom5, kCom5Bytes), true, 10, ERROR_SUCCESS, 5, kCom5 },
        QueryCase{ "REG_EXPAND_SZ_read_unexpanded", true, REG_EXPAND_SZ,
                   RawBytes(L"%TEMP%\\a", sizeof(L"%TEMP%\\a")), true, 10, ERROR_SUCCESS, 9, L"%TEMP%\\a" },
        QueryCase{ "REG_DWORD", true, REG_DWORD, RawBytes(L"\x0005", sizeof(DWORD)), true, 10, ERROR_INVALID_DATA, 0,
                   nullptr },
        QueryCase{ "REG_BINARY_holding_a_string", true, REG_BINARY, RawBytes(kCom5, kCom5Bytes), true, 10,
                   ERROR_INVALID_DATA, 0, nullptr },
        QueryCase{ "REG_MULTI_SZ", true, REG_MULTI_SZ, RawBytes(L"COM5\0", sizeof(L"COM5\0")), true, 10,
                   ERROR_INVALID_DATA, 0, nullptr },
        QueryCase{ "odd_byte_size", true, REG_SZ, RawBytes(L"COM5\0A", kCom5Bytes + 1), true, 10, ERROR_INVALID_DATA,
                   0, nullptr },
        QueryCase{ "missing_terminator", true, REG_SZ, kCom5Unterminated, true, 10,
                   ERROR_INVALID_DATA, 0, nullptr },
        QueryCase{ "empty_value_gives_empty_string", true, REG_SZ, std::string(), true, 10, ERROR_SUCCESS, 0, L"" },
        QueryCase{ "empty_value_without_room_for_the_terminator", true, REG_SZ, std::string(), true, 0,
                   ERROR_MORE_DATA, 0, nullptr },
        QueryCase{ "exactly_fits", true, REG_SZ, RawBytes(L"COM123456", sizeof(L"COM123456")), true, 10,
                   ERROR_SUCCESS, 10, L"COM123456" },
        QueryCase{ "one_character_too_long", true, REG_SZ, RawBytes(L"COM1234567", sizeof(L"COM1234567")), true, 10,
                   ERROR_MORE_DATA, 0, nullptr },
        QueryCase{ "too_long_comes_before_the_type_check", true, REG_BINARY, std::string(64, 'b'), true, 10,
                   ERROR_MORE_DATA, 0, nullptr },
        QueryCase{ "missing_value", false, REG_NONE, std::string(), true, 10, ERROR_FILE_NOT_FOUND, 0, nullptr },
        QueryCase{ "null_buffer_asks_for_the_length", true, REG_SZ, RawBytes(kCom5, kCom5Bytes), false, 0,
                   ERROR_SUCCESS, 5, nullptr },
        QueryCase{ "null_buffer_skips_the_termination_check", true, REG_SZ, kCom5Unterminated, false, 0,
                   ERROR_SUCCESS, 4, nullptr },
        QueryCase{ "null_buffer_still_checks_the_type", true, REG_DWORD, RawBytes(L"\x0005", sizeof(DWORD)), false, 0,
                   ERROR_INVALID_DATA, 0, nullptr }),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return std::string(info.param.what); });

// ---- SetStringValue ---------------------------------------------------------

struct SetCase {
    const wchar_t* text;
    DWORD type;
    std::string stored;  // bytes as stored, terminator included
};

TEST_F(RegistryKeyTest, SetStringValueStoresTheTerminatorAndTheGivenType)
{
    const SetCase cases[] = {
        { L"COM7", REG_SZ, RawBytes(L"COM7", sizeof(L"COM7")) },
        { L"%SystemRoot%", REG_EXPAND_SZ, RawBytes(L"%SystemRoot%", sizeof(L"%SystemRoot%")) },
        { L"", REG_SZ, RawBytes(L"", sizeof(L"")) },
    };
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_SET_VALUE), ERROR_SUCCESS);
    for (const SetCase& c : cases) {
        EXPECT_EQ(key.SetStringValue(L"Value", c.text, c.type), ERROR_SUCCESS);
        EXPECT_EQ(Stored(L"Value"), std::make_pair(c.type, c.stored)) << testing::PrintToString(std::wstring(c.text));
    }
    EXPECT_EQ(key.SetStringValue(L"Default", L"LPT1"), ERROR_SUCCESS);
    EXPECT_EQ(Stored(L"Default").first, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryKeyTest, SetStringValueWithNullTextRaisesOleExceptionAndWritesNothing)
{
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_SET_VALUE), ERROR_SUCCESS);
    try {
        key.SetStringValue(L"Value", nullptr, REG_SZ);
        ADD_FAILURE() << "no exception";
    } catch (const COleException& e) {
        EXPECT_EQ(e.m_sc, E_FAIL);
    }
    EXPECT_EQ(::RegQueryValueExW(m_raw, L"Value", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeyTest, SetStringValueNeedsTheAccessTheKeyWasOpenedWith)
{
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(key.SetStringValue(L"Value", L"COM7", REG_SZ), ERROR_ACCESS_DENIED);
}

// ---- Open, Close, attach and move -------------------------------------------

TEST_F(RegistryKeyTest, FailedOpenReturnsTheErrorAndKeepsTheKeyHeld)
{
    Write(L"Value", REG_SZ, RawBytes(kCom5, kCom5Bytes));
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ), ERROR_SUCCESS);
    const HKEY held = key.Handle();

    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, L"Software\\TavrinTest\\Missing", KEY_READ), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.Handle(), held);
    wchar_t text[10];
    ULONG length = 10;
    EXPECT_EQ(key.QueryStringValue(L"Value", text, &length), ERROR_SUCCESS);
    EXPECT_STREQ(text, kCom5);
}

TEST_F(RegistryKeyTest, OpenOverAHeldKeyClosesTheOldOne)
{
    RegistryKey key;
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ), ERROR_SUCCESS);
    const HKEY old = key.Handle();
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, kChildKey, KEY_READ), ERROR_SUCCESS);
    EXPECT_NE(key.Handle(), old);
    EXPECT_TRUE(IsOpen(key.Handle()));
    EXPECT_FALSE(IsOpen(old));
}

TEST_F(RegistryKeyTest, CloseReleasesTheKeyOnceAndSucceedsWhenNothingIsHeld)
{
    RegistryKey key;
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ), ERROR_SUCCESS);
    const HKEY held = key.Handle();
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
    EXPECT_EQ(key.Handle(), nullptr);
    EXPECT_FALSE(IsOpen(held));
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
}

TEST_F(RegistryKeyTest, AttachedKeyIsClosedWithTheWrapper)
{
    HKEY raw = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &raw), ERROR_SUCCESS);
    {
        RegistryKey key(raw);
        EXPECT_EQ(key.Handle(), raw);
    }
    EXPECT_FALSE(IsOpen(raw));
}

TEST_F(RegistryKeyTest, AttachedInvalidHandleIsKeptAsGivenAndNotClosed)
{
    // What SetupDiOpenDevRegKey hands over when it fails.
    RegistryKey key(static_cast<HKEY>(INVALID_HANDLE_VALUE));
    EXPECT_EQ(key.Handle(), static_cast<HKEY>(INVALID_HANDLE_VALUE));
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
    EXPECT_EQ(key.Handle(), nullptr);
}

TEST_F(RegistryKeyTest, MovingHandsTheKeyOverAndClosesTheTargetsOldKey)
{
    RegistryKey source;
    ASSERT_EQ(source.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ), ERROR_SUCCESS);
    const HKEY moved = source.Handle();

    RegistryKey constructed(std::move(source));
    EXPECT_EQ(source.Handle(), nullptr);
    EXPECT_EQ(constructed.Handle(), moved);

    RegistryKey assigned;
    ASSERT_EQ(assigned.Open(HKEY_CURRENT_USER, kChildKey, KEY_READ), ERROR_SUCCESS);
    const HKEY replaced = assigned.Handle();
    assigned = std::move(constructed);
    EXPECT_EQ(assigned.Handle(), moved);
    EXPECT_EQ(constructed.Handle(), nullptr);
    EXPECT_FALSE(IsOpen(replaced));
    EXPECT_TRUE(IsOpen(moved));
}

}
