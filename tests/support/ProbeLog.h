// The runs of command_probe (the tests' stand-in for devcon), which the probe
// logs to the file that TAVRIN_PROBE_LOG names. That variable points into the
// given folder while the object lives; child processes inherit it.
#pragma once

#include <string>
#include <vector>

class ProbeLog {
public:
    struct Run {
        std::wstring folder;   // its current folder
        std::wstring program;  // its own path
        std::wstring commandLine;
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

    // The probe program, from TAVRIN_COMMAND_PROBE.
    static std::wstring Probe();

private:
    std::wstring m_path;
};

void PrintTo(const ProbeLog::Run& run, std::ostream* os);
