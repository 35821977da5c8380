#include "SetupSession.h"

#include "res/resource.h"

#include "framework/ResourceString.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
const DWORD kTimeoutMs = 30000;
}

SetupSession::SetupSession()
    : m_app(EnvironmentValue(L"TAVRIN_SETUP"), kTimeoutMs),
      m_main(m_app.WaitForDialog(IDC_PORT_LIST)),
      m_list(::GetDlgItem(m_main, IDC_PORT_LIST))
{
}

void SetupSession::Install(int portButton)
{
    AppDriver::Click(m_main, IDC_INSTALL);
    HWND portType = m_app.WaitForDialog(IDC_SERIAL_PORT);
    ASSERT_NE(portType, nullptr);
    EXPECT_TRUE(AppDriver::IsChecked(portType, IDC_SERIAL_PORT));
    if (portButton != IDC_SERIAL_PORT)
        AppDriver::Click(portType, portButton);
    AppDriver::Click(portType, IDOK);
}

void SetupSession::Uninstall()
{
    ASSERT_TRUE(m_app.SelectItem(m_list, 0));
    AppDriver::Click(m_main, IDC_UNINSTALL);
}

void SetupSession::Expect(UINT stringId, const char* when)
{
    Expect(LoadResourceString(stringId), when);
}

void SetupSession::Expect(const std::wstring& text, const char* when)
{
    const AppDriver::MessageBoxWindow box = m_app.WaitForMessageBox();
    ASSERT_NE(box.window, nullptr) << "no message box " << when;
    EXPECT_EQ(box.caption, L"setup") << when;
    EXPECT_EQ(box.text, text) << when;
    m_rowsAtBox = Rows();
    ASSERT_TRUE(m_app.CloseMessageBox(box)) << when;
}

ListRows SetupSession::Rows() const
{
    ListRows rows;
    for (int row = 0; row < AppDriver::ItemCount(m_list); ++row)
        rows.emplace_back(m_app.ItemText(m_list, row, 0), m_app.ItemText(m_list, row, 1));
    return rows;
}

bool SetupSession::Settle()
{
    // A sent message is handled only where the thread reads its queue: with no
    // message box or dialog open any more, that is the main dialog's loop.
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(m_main, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &result) != 0;
}
