#include "AppDriver.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
const int kMessageBoxText = 0xFFFF;
const UINT kSendTimeoutMs = 10000;
const size_t kItemTextChars = 256;

struct Search {
    DWORD processId;
    const wchar_t* className;
    bool usableOnly;  // visible and enabled
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindows(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, sizeof(className) / sizeof(className[0]));
    if (processId == search->processId && lstrcmpW(className, search->className) == 0 &&
        (!search->usableOnly || (::IsWindowVisible(window) && ::IsWindowEnabled(window))))
        search->windows.push_back(window);
    return TRUE;
}

// A message to the program under test: a program that hangs fails the test
// with what it returns then, instead of hanging the test too.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT failed = 0)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result)
               ? static_cast<LRESULT>(result)
               : failed;
}

// The stacks of the threads of a hung program, on this process's output:
// what a hang seen only on another machine leaves to go on. Wine's debugger
// writes every process's threads into a file; the blocks of this one are kept.
// Nothing where there is no winedbg.
void PrintStacks(DWORD processId)
{
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), nullptr, TRUE };
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!::CreatePipe(&read, &write, &inherit, 0))
        return;
    UniqueHandle input(read);
    UniqueHandle commands(write);
    ::SetHandleInformation(commands.Get(), HANDLE_FLAG_INHERIT, 0);
    char script[64];
    const int length = wsprintfA(script, "attach 0x%lx\nbt all\ndetach\nquit\n", processId);
    DWORD written = 0;
    ::WriteFile(commands.Get(), script, static_cast<DWORD>(length), &written, nullptr);
    commands.Reset();

    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    if (!::GetTempPathW(MAX_PATH, folder) || !::GetTempFileNameW(folder, L"stk", 0, path))
        return;
    UniqueHandle output(::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                      CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!output)
        return;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.Get();
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
    PROCESS_INFORMATION process = {};
    wchar_t commandLine[] = L"winedbg.exe";
    if (!::CreateProcessW(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return;
    UniqueHandle debugger(process.hProcess);
    ::CloseHandle(process.hThread);
    if (::WaitForSingleObject(debugger.Get(), 60000) != WAIT_OBJECT_0)
        ::TerminateProcess(debugger.Get(), 1);

    std::string text;
    char chunk[4096];
    DWORD got = 0;
    ::SetFilePointer(output.Get(), 0, nullptr, FILE_BEGIN);
    while (::ReadFile(output.Get(), chunk, sizeof(chunk), &got, nullptr) && got != 0)
        text.append(chunk, got);
    char owner[32];
    wsprintfA(owner, " in process %04lx ", processId);
    std::printf("stacks of the program (process %04lx) that did not answer:\n", processId);
    const std::string start = "Backtracing for thread ";
    bool found = false;
    for (size_t at = text.find(start); at != std::string::npos;) {
        const size_t next = text.find(start, at + 1);
        const std::string block = text.substr(at, next == std::string::npos ? std::string::npos : next - at);
        if (block.find(owner) < block.find('\n')) {
            std::printf("%s", block.c_str());
            found = true;
        }
        at = next;
    }
    // Such as that it could not attach: a program held by a debugger already.
    if (!found)
        std::printf("%s\n", text.substr(0, 2000).c_str());
    std::fflush(stdout);
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    Send(window, WM_GETTEXT, sizeof(text) / sizeof(text[0]), reinterpret_cast<LPARAM>(text));
    return text;
}
}

AppDriver::AppDriver(const std::wstring& program, DWORD timeoutMs, DWORD pollMs)
    : m_timeoutMs(timeoutMs), m_pollMs(pollMs)
{
    const size_t slash = program.find_last_of(L"\\/");
    m_name = program.substr(slash == std::wstring::npos ? 0 : slash + 1);
    m_name = m_name.substr(0, m_name.rfind(L'.'));

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = L"\"" + program + L"\"";
    if (::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
        ::CloseHandle(process.hThread);
        m_process.Reset(process.hProcess);
        m_processId = process.dwProcessId;
        ::WaitForInputIdle(process.hProcess, timeoutMs);
        m_remote.emplace(process.hProcess, sizeof(LVITEMW) + kItemTextChars * sizeof(wchar_t), timeoutMs);
    }
}

AppDriver::~AppDriver()
{
    if (m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
        if (m_timedOut || (m_remote && m_remote->Stuck()))
            PrintStacks(m_processId);
        ::TerminateProcess(m_process.Get(), 1);
        ::WaitForSingleObject(m_process.Get(), m_timeoutMs);
    }
}

template <typename Predicate>
HWND AppDriver::WaitForWindow(Predicate matches) const
{
    const DWORD start = ::GetTickCount();
    do {
        Search search = { m_processId, L"#32770", true, {} };
        ::EnumWindows(&CollectWindows, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.windows) {
            if (matches(window))
                return window;
        }
        ::Sleep(m_pollMs);
    } while (::GetTickCount() - start < m_timeoutMs);
    m_timedOut = true;
    return nullptr;
}

HWND AppDriver::FindWindowOfClass(const wchar_t* className) const
{
    Search search = { m_processId, className, false, {} };
    ::EnumWindows(&CollectWindows, reinterpret_cast<LPARAM>(&search));
    return search.windows.empty() ? nullptr : search.windows.front();
}

HWND AppDriver::WaitForDialog(int controlId) const
{
    return WaitForWindow([controlId](HWND window) { return ::GetDlgItem(window, controlId) != nullptr; });
}

AppDriver::MessageBoxWindow AppDriver::WaitForMessageBox() const
{
    MessageBoxWindow box;
    box.window = WaitForWindow([this](HWND window) {
        return Caption(window) == m_name && ::GetDlgItem(window, kMessageBoxText) != nullptr;
    });
    if (box.window) {
        box.caption = Caption(box.window);
        box.text = WindowText(::GetDlgItem(box.window, kMessageBoxText));
    }
    return box;
}

bool AppDriver::CloseMessageBox(const MessageBoxWindow& box) const
{
    Click(box.window, IDOK);
    const DWORD start = ::GetTickCount();
    while (::IsWindow(box.window)) {
        if (::GetTickCount() - start >= m_timeoutMs) {
            m_timedOut = true;
            return false;
        }
        ::Sleep(50);
    }
    return true;
}

std::wstring AppDriver::Caption(HWND window)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, sizeof(text) / sizeof(text[0]));
    return text;
}

void AppDriver::Click(HWND dialog, int controlId)
{
    ::PostMessageW(::GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

bool AppDriver::IsChecked(HWND dialog, int controlId)
{
    return Send(::GetDlgItem(dialog, controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int AppDriver::ItemCount(HWND list)
{
    return static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring AppDriver::ItemText(HWND list, int item, int subItem) const
{
    wchar_t text[kItemTextChars] = {};
    if (!m_remote)
        return std::wstring();
    LVITEMW request = {};
    request.iSubItem = subItem;
    request.pszText = reinterpret_cast<LPWSTR>(m_remote->Address() + sizeof(LVITEMW));
    request.cchTextMax = kItemTextChars;
    if (!m_remote->Write(0, &request, sizeof(request)))
        return std::wstring();
    if (!Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(m_remote->Address())) ||
        !m_remote->Read(sizeof(LVITEMW), text, sizeof(text) - sizeof(text[0])))
        return std::wstring();
    return text;
}

bool AppDriver::SelectItem(HWND list, int item) const
{
    if (!m_remote)
        return false;
    LVITEMW request = {};
    request.state = LVIS_SELECTED | LVIS_FOCUSED;
    request.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    return m_remote->Write(0, &request, sizeof(request)) &&
           Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(m_remote->Address())) != 0;
}

int AppDriver::ComboCount(HWND combo)
{
    return static_cast<int>(Send(combo, CB_GETCOUNT, 0, 0));
}

std::wstring AppDriver::ComboText(HWND combo, int item)
{
    const LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0, CB_ERR);
    if (length == CB_ERR)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&text[0]), CB_ERR);
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

bool AppDriver::SelectComboItem(HWND combo, int item)
{
    return Send(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0, CB_ERR) == item;
}

DWORD AppDriver::Close(HWND mainWindow)
{
    ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    DWORD exitCode = STILL_ACTIVE;
    if (::WaitForSingleObject(m_process.Get(), m_timeoutMs) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_process.Get(), &exitCode);
    else
        m_timedOut = true;
    return exitCode;
}
