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
    ::SetEnvironmentVariableW(L"TAVRIN_PROBE_EXIT", nullptr);
    ::DeleteFileW(m_path.c_str());
}

std::vector<ProbeLog::Run> ProbeLog::Runs() const
{
    const std::string bytes = ReadBytes(m_path);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<Run> runs;
    for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        // folder|program|TMP|TEMP|PATH|command line
        const std::wstring line = text.substr(start, end - start);
        std::vector<std::wstring> fields;
        size_t from = 0;
        for (size_t bar; fields.size() < 5 && (bar = line.find(L'|', from)) != std::wstring::npos; from = bar + 1)
            fields.push_back(line.substr(from, bar - from));
        if (fields.size() < 5)
            continue;
        runs.emplace_back(fields[0], fields[1], line.substr(from), fields[2], fields[3], fields[4]);
    }
    return runs;
}

void ProbeLog::SetExitCode(DWORD code)
{
    ::SetEnvironmentVariableW(L"TAVRIN_PROBE_EXIT", std::to_wstring(code).c_str());
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
