// The runs of command_probe (the tests' stand-in for devcon), which the probe
// logs to the file that TAVRIN_PROBE_LOG names. That variable points into the
// given folder while the object lives; child processes inherit it, as they
// inherit TAVRIN_PROBE_EXIT.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class ProbeLog {
public:
    struct Run {
        Run(std::wstring folder, std::wstring program, std::wstring commandLine, std::wstring tmp = {},
            std::wstring temp = {}, std::wstring path = {})
            : folder(std::move(folder)), program(std::move(program)), commandLine(std::move(commandLine)),
              tmp(std::move(tmp)), temp(std::move(temp)), path(std::move(path))
        {
        }
        std::wstring folder;   // its current folder
        std::wstring program;  // its own path
        std::wstring commandLine;
        // Its TMP, TEMP and PATH, which only the tests that look at them compare.
        std::wstring tmp;
        std::wstring temp;
        std::wstring path;
        bool operator==(const Run& other) const
        {
            return folder == other.folder && program == other.program && commandLine == other.commandLine;
        }
    };

    explicit ProbeLog(const std::wstring& folder);
    ~ProbeLog();
    ProbeLog(const ProbeLog&) = delete;
    ProbeLog& operator=(const ProbeLog&) = delete;

    // In the order they ran.
    std::vector<Run> Runs() const;

    // The probe exits with this code, whatever its arguments, until the object goes.
    void SetExitCode(DWORD code);

    // The probe program, from TAVRIN_COMMAND_PROBE.
    static std::wstring Probe();

private:
    std::wstring m_path;
};

void PrintTo(const ProbeLog::Run& run, std::ostream* os);
