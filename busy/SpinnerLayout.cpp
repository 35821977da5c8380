#include "SpinnerLayout.h"

namespace {
constexpr double kSpokeStepDegrees = 45.0;

// Cyan for spoke 0, paling in steps toward spoke 7.
UINT32 SpokeColour(UINT32 index)
{
    const UINT32 red = 30 * index;
    const UINT32 green = 255;
    const UINT32 blue = 240 + 2 * index;
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}
}

RECT CentredBusyBox(const RECT& reference)
{
    const LONG dx = (reference.right - reference.left - kBusyBoxWidth) / 2;
    const LONG dy = (reference.bottom - reference.top - kBusyBoxHeight) / 2;
    RECT box = reference;
    ::InflateRect(&box, -dx, -dy);
    return box;
}

std::array<Spoke, kSpokeCount> SpokeLayout(UINT32 phase)
{
    std::array<Spoke, kSpokeCount> spokes = {};
    for (UINT32 i = 0; i < kSpokeCount; ++i) {
        const UINT32 place = phase % kSpokeCount + i;
        spokes[i] = { static_cast<float>(place * kSpokeStepDegrees), SpokeColour(i) };
    }
    return spokes;
}
