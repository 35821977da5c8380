#include "CabBench.h"

#include "Stopwatch.h"

#include "framework/UniqueResource.h"
#include "package/CabFile.h"
#include "package/WorkFolder.h"

#include <cstdio>

namespace {
bool ReadWholeFile(const std::wstring& path, std::vector<BYTE>& bytes)
{
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > MAXDWORD)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
           read == bytes.size();
}

// One extraction into a new work folder, as the install and uninstall flows
// make it; the folder goes again afterwards, untimed.
bool TimeOneExtraction(const std::vector<BYTE>& cabinet, double& ms)
{
    ProtectedFolder folder = CreateWorkFolder();
    if (folder.Path().empty())
        return false;
    bool extracted = false;
    {
        CCabFile cab(TRUE);
        Stopwatch watch;
        extracted = cab.ExtractFromMemory(cabinet.data(), static_cast<DWORD>(cabinet.size()), folder.Path().c_str());
        ms = watch.ElapsedMs();
        extracted = extracted &&
                    ::GetFileAttributesW((folder.Path() + L"\\Tavrin.inf").c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    DeleteWorkFolder(folder);
    return extracted;
}
}

Figure MeasureCabExtract(const std::wstring& cabinet, int runs, const std::vector<double>& cabextractMs)
{
    Figure figure;
    figure.unit = "ms";
    figure.name = "CCabFile::ExtractFromMemory";
    figure.peerName = "cabextract (native)";
    figure.peerSamples = cabextractMs;

    std::vector<BYTE> bytes;
    if (!ReadWholeFile(cabinet, bytes)) {
        figure.error = "cannot read the cabinet";
        return figure;
    }
    figure.megabytes = static_cast<double>(bytes.size()) / 1e6;
    char size[32] = {};
    snprintf(size, sizeof(size), ", %.1f MB cabinet", figure.megabytes);
    figure.name += size;
    if (cabextractMs.size() != static_cast<size_t>(runs)) {
        figure.error = "cabextract was timed " + std::to_string(cabextractMs.size()) + " times for " +
                       std::to_string(runs) + " runs";
        return figure;
    }
    // The first extraction is not counted, as cabextract's is not.
    for (int run = -1; run < runs; ++run) {
        double ms = 0;
        if (!TimeOneExtraction(bytes, ms)) {
            figure.error = "the extraction failed";
            return figure;
        }
        if (run >= 0)
            figure.samples.push_back(ms);
    }
    return figure;
}
