// CCabFile::ExtractFromMemory of a driver-package-sized cabinet into a fresh
// work folder, against cabextract unpacking the same file natively on Linux.
#pragma once

#include "Figure.h"

#include <string>
#include <vector>

// The cabextract figures are taken by the caller, one per run, in
// milliseconds; they are put beside ours as they are.
Figure MeasureCabExtract(const std::wstring& cabinet, int runs, const std::vector<double>& cabextractMs);
