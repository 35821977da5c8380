#include "ProbeLog.h"

#include "TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

ProbeLog::ProbeLog(const std::wstring& folder) : m_path(folder + L"\\probe.log")
{
    ::SetEnvironmentVariableW(L"TAVRIN_PROBE_LOG", m_path.c_str());
}

ProbeLog::~ProbeLog()
{
    ::SetEnvironmentVariableW(L"TAVRIN_PROBE_LOG", nullptr);
    ::DeleteFileW(m_path.c_str());
}

std::vector<ProbeLog::Run> ProbeLog::Runs() const
{
    const std::string bytes = ReadBytes(m_path);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<Run> runs;
    for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        const std::wstring line = text.substr(start, end - start);
        const size_t first = line.find(L'|');
        const size_t second = line.find(L'|', first + 1);
        if (second == std::wstring::npos)
            continue;
        runs.push_back({ line.substr(0, first), line.substr(first + 1, second - first - 1), line.substr(second + 1) });
    }
    return runs;
}

std::wstring ProbeLog::Probe()
{
    return EnvironmentValue(L"TAVRIN_COMMAND_PROBE");
}

void PrintTo(const ProbeLog::Run& run, std::ostream* os)
{
    *os << testing::PrintToString(run.folder) << " " << testing::PrintToString(run.program) << " "
        << testing::PrintToString(run.commandLine);
}
