// What the change-port-name dialog offers against an independent model, over
// random port maps of the Wine prefix: values of any type and name, with
// terminated, unterminated, odd-sized and empty data.
#include "FreeNamesModel.h"
#include "PortMapOverride.h"

#include "ports/ChgPortDlg.h"
#include "res/resource.h"

#include "support/AppDriver.h"
#include "support/RawBytes.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const uint32_t kCasesPerSeed = 40;

struct MapValue {
    std::wstring name;
    DWORD type;
    std::string data;  // the bytes stored
};

struct MapCase {
    bool serial;
    bool mapMissing;
    std::wstring currentName;
    std::vector<MapValue> values;
};

void PrintTo(const MapValue& v, std::ostream* os)
{
    *os << testing::PrintToString(v.name) << " type " << v.type << " " << testing::PrintToString(v.data);
}

void PrintTo(const MapCase& c, std::ostream* os)
{
    *os << "current name " << testing::PrintToString(c.currentName)
        << (c.mapMissing ? ", no port map" : ", values " + testing::PrintToString(c.values));
}

// The text the data stand for: their characters up to the first NUL.
std::wstring Datum(const std::string& data)
{
    const std::wstring text = WideText(data);
    return text.substr(0, text.find(L'\0'));
}

std::string DrawData(CaseRandom& r, const std::wstring& datum)
{
    const std::string terminated = WideBytes(datum + L'\0');
    switch (r.Below(8)) {
    case 0:
        return WideBytes(datum);
    case 1:
        return terminated.substr(0, terminated.size() - 1);
    case 2:
        return WideBytes(datum) + static_cast<char>(r.Between(1, 255));
    case 3:
        return terminated + WideBytes(L"COM1") + terminated;
    case 4:
        return r.Chance(50) ? std::string() : terminated;
    default:
        return terminated;
    }
}

std::wstring DrawValueName(CaseRandom& r, size_t index)
{
    // The index keeps names apart; the registry compares them without case.
    std::wstring name = L"V" + std::to_wstring(index) + L" ";
    const int length = r.Chance(5) ? r.Between(100, 400) : r.Between(0, 12);
    for (int i = 0; i < length; ++i)
        name.push_back(static_cast<wchar_t>(r.Pick<int>({ L'a', L'Z', L'\\', L' ', 0x4E2D })));
    return name;
}

MapCase Draw(CaseRandom& r)
{
    MapCase c;
    c.serial = r.Chance(60);
    const std::wstring prefix = c.serial ? L"COM" : L"LPT";
    const int highest = c.serial ? 256 : 3;
    c.currentName = prefix + r.Pick<const wchar_t*>({ L"", L"1", L"5", L"256", L"77" });
    c.mapMissing = r.Chance(3);
    std::vector<std::wstring> data;
    const int count = r.Chance(4) ? highest : r.Between(0, 24);
    for (int i = 0; i < count; ++i)
        data.push_back(DrawPortMapDatum(r, prefix, highest, data));
    for (const std::wstring& datum : data) {
        const DWORD type = r.Chance(70) ? REG_SZ
                                        : r.Pick<DWORD>({ REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY, REG_DWORD, REG_NONE });
        c.values.push_back({ DrawValueName(r, c.values.size()), type, DrawData(r, datum) });
    }
    return c;
}

std::vector<std::wstring> Expected(const MapCase& c)
{
    if (c.mapMissing)
        return {};
    std::vector<std::wstring> data;
    for (const MapValue& value : c.values)
        data.push_back(Datum(value.data));
    return ModelFreeNames(data, c.serial ? L"COM" : L"LPT", c.serial ? 256 : 3);
}

class ChgPortDlgModelTest : public testing::Test {
protected:
    // Leaves the map with exactly these values, or without its key.
    void Store(const MapCase& c)
    {
        PortMapOverride& map = c.serial ? m_serial : m_parallel;
        if (c.mapMissing) {
            ASSERT_EQ(map.Remove(), ERROR_SUCCESS);
            return;
        }
        ASSERT_EQ(map.SetNames({}), ERROR_SUCCESS);
        for (const MapValue& value : c.values) {
            // RegSetValueExW counts in a terminator that the size left out
            // when one follows in memory: what follows here is never one.
            const std::string padded = value.data + "\xFF\xFF";
            ASSERT_EQ(map.SetRaw(value.name.c_str(), value.type, padded.data(), static_cast<DWORD>(value.data.size())),
                      ERROR_SUCCESS);
        }
    }

    PortMapOverride m_serial{ L"HARDWARE\\DEVICEMAP\\SERIALCOMM" };
    PortMapOverride m_parallel{ L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS" };
};

TEST_F(ChgPortDlgModelTest, OffersWhatTheModelWorksOutFromRandomPortMaps)
{
    int failures = 0;
    const std::vector<CaseRandom::Case> cases = CaseRandom::Cases({ 1, 2, 3 }, kCasesPerSeed);
    for (const CaseRandom::Case& id : cases) {
        CaseRandom r(id);
        const MapCase c = Draw(r);
        ASSERT_NO_FATAL_FAILURE(Store(c)) << id;

        CChgPortDlg dlg;
        dlg.SetCurrentName(c.currentName.c_str());
        ASSERT_TRUE(dlg.Create()) << id;
        HWND combo = dlg.GetDlgItem(IDC_PORT_NAME);
        std::vector<std::wstring> offered;
        for (int i = 0; i < AppDriver::ComboCount(combo); ++i)
            offered.push_back(AppDriver::ComboText(combo, i));
        const int selected = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));

        const std::vector<std::wstring> expected = Expected(c);
        if (offered != expected || selected != (expected.empty() ? CB_ERR : 0)) {
            ADD_FAILURE() << id << "\n  " << testing::PrintToString(c) << "\n  "
                          << NameListDifference(expected, offered) << ", item " << selected << " selected";
            if (++failures == 10)
                FAIL() << "stopping after 10 failing cases";
        }
    }
    std::printf("%zu cases (%u per seed)\n", cases.size(), static_cast<unsigned>(kCasesPerSeed));
}

}  // namespace
