#include "busy/SpinnerLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct CentringCase {
    const char* what;
    RECT reference;
    RECT expected;
};

const CentringCase kCentringCases[] = {
    { "400x300 at (200, 100)", { 200, 100, 600, 400 }, { 350, 210, 450, 290 } },
    { "401 wide: margins of 150, 101 wide", { 0, 0, 401, 300 }, { 150, 110, 251, 190 } },
    { "61 wide: margins of -19, 99 wide", { 100, 0, 161, 80 }, { 81, 0, 180, 80 } },
    { "301 high: margins of 110, 81 high", { 0, 0, 300, 301 }, { 100, 110, 200, 191 } },
    { "41 high: margins of -19, 79 high", { 0, 100, 100, 141 }, { 0, 81, 100, 160 } },
    { "smaller both ways: negative margins", { 500, 500, 510, 520 }, { 455, 470, 555, 550 } },
    { "exactly the box", { 7, 9, 107, 89 }, { 7, 9, 107, 89 } },
    { "partly off the screen", { -300, -200, 100, 100 }, { -150, -90, -50, -10 } },
};

TEST(CentredBusyBox, PlacesTheBoxByTheHalfExcessTruncatedTowardZero)
{
    for (const CentringCase& c : kCentringCases) {
        SCOPED_TRACE(c.what);
        const RECT box = CentredBusyBox(c.reference);
        EXPECT_EQ(box.left, c.expected.left);
        EXPECT_EQ(box.top, c.expected.top);
        EXPECT_EQ(box.right, c.expected.right);
        EXPECT_EQ(box.bottom, c.expected.bottom);
    }
}

const UINT32 kSpokeColours[kSpokeCount] = {
    0xFF00FFF0, 0xFF1EFFF2, 0xFF3CFFF4, 0xFF5AFFF6,
    0xFF78FFF8, 0xFF96FFFA, 0xFFB4FFFC, 0xFFD2FFFE,
};

struct LayoutCase {
    UINT32 phase;
    float firstAngle;
};

const LayoutCase kLayoutCases[] = {
    { 0, 0.0f },
    { 1, 45.0f },
    { 7, 315.0f },
    { 8, 0.0f },
    { 9, 45.0f },
    { 0xFFFFFFFFu, 315.0f },
};

TEST(SpokeLayout, SpokesStand45DegreesApartFromThePhasesPlaceInTheirOwnColours)
{
    for (const LayoutCase& c : kLayoutCases) {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase);
        const auto spokes = SpokeLayout(c.phase);
        for (UINT32 i = 0; i < kSpokeCount; ++i) {
            EXPECT_EQ(spokes[i].angle, c.firstAngle + 45.0f * static_cast<float>(i)) << "spoke " << i;
            EXPECT_EQ(spokes[i].argb, kSpokeColours[i]) << "spoke " << i;
        }
    }
}

TEST(SpokeLayout, EveryTickTurnsEachSpokeOnePlaceClockwiseAcrossTheWrap)
{
    // The last phases before the counter wraps to 0 at 2^32, and the first after.
    for (UINT32 phase = 0xFFFFFFF6u; phase != 3; ++phase) {
        SCOPED_TRACE(testing::Message() << "phase " << phase);
        const auto before = SpokeLayout(phase);
        const auto after = SpokeLayout(phase + 1);
        for (UINT32 i = 0; i < kSpokeCount; ++i)
            EXPECT_EQ(std::fmod(after[i].angle - before[i].angle + 360.0f, 360.0f), 45.0f);
    }
}

} // namespace
