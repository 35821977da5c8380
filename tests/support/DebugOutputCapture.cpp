#include "DebugOutputCapture.h"

namespace {
DebugOutputCapture* g_capture = nullptr;
const DWORD kPrintException = 0x40010006;      // DBG_PRINTEXCEPTION_C
const DWORD kPrintExceptionWide = 0x4001000A;  // DBG_PRINTEXCEPTION_WIDE_C
}

DebugOutputCapture::DebugOutputCapture()
{
    ::InitializeCriticalSection(&m_lock);
    g_capture = this;
    m_handler = ::AddVectoredExceptionHandler(1, &DebugOutputCapture::Handler);
}

DebugOutputCapture::~DebugOutputCapture()
{
    ::RemoveVectoredExceptionHandler(m_handler);
    g_capture = nullptr;
    ::DeleteCriticalSection(&m_lock);
}

std::vector<std::wstring> DebugOutputCapture::Lines() const
{
    ::EnterCriticalSection(&m_lock);
    std::vector<std::wstring> lines = m_lines;
    ::LeaveCriticalSection(&m_lock);
    return lines;
}

void DebugOutputCapture::Add(std::wstring text, bool wide)
{
    ::EnterCriticalSection(&m_lock);
    // A wide output that nobody handles is raised again in its narrow form.
    if (wide || !m_lastWasWide)
        m_lines.push_back(std::move(text));
    m_lastWasWide = wide;
    ::LeaveCriticalSection(&m_lock);
}

LONG CALLBACK DebugOutputCapture::Handler(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (!g_capture || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
    if (record->ExceptionCode == kPrintExceptionWide) {
        const wchar_t* text = reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]);
        g_capture->Add(std::wstring(text, length ? length - 1 : 0), true);
    } else if (record->ExceptionCode == kPrintException) {
        const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        std::string narrow(text, length ? length - 1 : 0);
        std::wstring wide(narrow.size(), L'\0');
        int chars = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()),
                                          &wide[0], static_cast<int>(wide.size()));
        wide.resize(chars > 0 ? static_cast<size_t>(chars) : 0);
        g_capture->Add(std::move(wide), false);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}
