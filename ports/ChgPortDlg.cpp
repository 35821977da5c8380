#include "ChgPortDlg.h"

#include "FreePortNameList.h"
#include "RegistryKey.h"

#include "res/resource.h"

#include <algorithm>
#include <cwchar>
#include <vector>

BEGIN_MESSAGE_MAP(CChgPortDlg, CDialog)
END_MESSAGE_MAP()

CChgPortDlg::CChgPortDlg() : CDialog(IDD_CHG_PORT)
{
}

void CChgPortDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PORT_NAME, m_portNames);
}

BOOL CChgPortDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateData(FALSE);

    if (CurrentName.empty())
        return TRUE;
    if (std::wcsncmp(CurrentName.c_str(), L"COM", 3) == 0)
        FreePortNames(L"HARDWARE\\DEVICEMAP\\SERIALCOMM", L"COM", 256);
    else if (std::wcsncmp(CurrentName.c_str(), L"LPT", 3) == 0)
        FreePortNames(L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS", L"LPT", 3);

    if (m_portNames.GetCount() > 0)
        m_portNames.SetCurSel(0);
    return TRUE;
}

void CChgPortDlg::FreePortNames(LPCWSTR path, LPCWSTR prefix, int highest)
{
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ) != ERROR_SUCCESS)
        return;

    DWORD valueCount = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    // A port map that cannot be measured offers nothing, as a missing one does.
    if (::RegQueryInfoKeyW(key.Handle(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                           &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;

    std::vector<std::wstring> valueData;
    {
        std::vector<wchar_t> name(longestName + 1);
        // Room for one terminator after the longest data; whole characters, so
        // that data of an odd size still end in one.
        const DWORD dataCapacity = longestData + sizeof(wchar_t);
        std::vector<wchar_t> data(dataCapacity / sizeof(wchar_t) + 1);
        for (DWORD index = 0; index < valueCount; ++index) {
            DWORD nameChars = static_cast<DWORD>(name.size());
            DWORD dataBytes = dataCapacity;
            // Data stored without a terminator end in the zeros after them.
            std::fill(data.begin(), data.end(), L'\0');
            if (::RegEnumValueW(key.Handle(), index, name.data(), &nameChars, nullptr, nullptr,
                                reinterpret_cast<LPBYTE>(data.data()), &dataBytes) != ERROR_SUCCESS)
                break;
            valueData.emplace_back(data.data());
        }
    }

    for (const std::wstring& freeName : FreePortNameList(valueData, prefix, highest))
        m_portNames.AddString(freeName.c_str());
}

void CChgPortDlg::OnOK()
{
    m_portNames.GetLBText(m_portNames.GetCurSel(), ChosenName);
    // Nothing offered or picked: end as if cancelled, so that no empty name is ever stored.
    if (ChosenName.empty()) {
        OnCancel();
        return;
    }
    CDialog::OnOK();
}
