#include "busy/SpinnerLayout.h"
#include "busy/WaitWin.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr Gdiplus::ARGB kBackground = 0xFFA9A9A9;
constexpr Gdiplus::ARGB kSpoke0 = 0xFF00FFF0;
constexpr Gdiplus::ARGB kSpoke2 = 0xFF3CFFF4;
constexpr Gdiplus::ARGB kSpoke4 = 0xFF78FFF8;
constexpr Gdiplus::ARGB kSpoke6 = 0xFFB4FFFC;
constexpr Gdiplus::ARGB kSpoke7 = 0xFFD2FFFE;

// The box drawn at phase into a bitmap of its own size.
class SpinnerPicture {
public:
    explicit SpinnerPicture(UINT32 phase)
        : m_bitmap(kBusyBoxWidth, kBusyBoxHeight, PixelFormat32bppARGB)
    {
        Gdiplus::Graphics graphics(&m_bitmap);
        CWaitWin::DrawSpinner(graphics, phase);
    }

    Gdiplus::ARGB At(int x, int y)
    {
        Gdiplus::Color colour;
        m_bitmap.GetPixel(x, y, &colour);
        return colour.GetValue();
    }

private:
    Gdiplus::Bitmap m_bitmap;
};

class SpinnerPaint : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&s_token, &input, nullptr), Gdiplus::Ok);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_token); }

    // Every pixel of the rectangle [left, right] x [top, bottom] has colour.
    static void ExpectArea(SpinnerPicture& picture, int left, int top, int right, int bottom,
                           Gdiplus::ARGB colour)
    {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                ASSERT_EQ(picture.At(x, y), colour) << "at (" << x << ", " << y << ")";
    }

    // Points 11 to 19 pixels from the centre along the direction of angle
    // degrees (clockwise from pointing right) have colour.
    static void ExpectSpokeAlong(SpinnerPicture& picture, double angle, Gdiplus::ARGB colour)
    {
        const double radians = angle * 3.14159265358979 / 180.0;
        for (int distance = 11; distance <= 19; ++distance) {
            const int x = static_cast<int>(std::lround(50.0 + distance * std::cos(radians)));
            const int y = static_cast<int>(std::lround(40.0 + distance * std::sin(radians)));
            ASSERT_EQ(picture.At(x, y), colour) << "at (" << x << ", " << y << ")";
        }
    }

private:
    static ULONG_PTR s_token;
};

ULONG_PTR SpinnerPaint::s_token = 0;

TEST_F(SpinnerPaint, BackgroundFillsTheBoxWhereNoSpokeReaches)
{
    SpinnerPicture picture(0);
    // Spokes lie between 10 and about 20.6 pixels from the centre, outline
    // included: nothing else but background inside 9 or beyond 22.
    for (int y = 0; y < kBusyBoxHeight; ++y) {
        for (int x = 0; x < kBusyBoxWidth; ++x) {
            const double distance = std::hypot(x - 50.0, y - 40.0);
            if (distance < 9.0 || distance > 22.0) {
                ASSERT_EQ(picture.At(x, y), kBackground) << "at (" << x << ", " << y << ")";
            }
        }
    }
}

TEST_F(SpinnerPaint, PhaseZeroPointsSpokeZeroRightAndSpokeTwoDown)
{
    SpinnerPicture picture(0);
    ExpectArea(picture, 61, 39, 69, 41, kSpoke0);
    ExpectArea(picture, 49, 51, 51, 59, kSpoke2);
    ExpectArea(picture, 31, 39, 39, 41, kSpoke4);
    ExpectArea(picture, 49, 21, 51, 29, kSpoke6);
    // Between two spokes lies background.
    EXPECT_EQ(picture.At(65, 45), kBackground);
}

TEST_F(SpinnerPaint, PhaseOneTurnsThePatternOnePlaceClockwise)
{
    SpinnerPicture picture(1);
    ExpectSpokeAlong(picture, 45.0, kSpoke0);
    ExpectArea(picture, 61, 39, 69, 41, kSpoke7);
    ExpectSpokeAlong(picture, 135.0, kSpoke2);
    ExpectSpokeAlong(picture, 315.0, kSpoke6);
}

TEST_F(SpinnerPaint, PhaseEightDrawsPhaseZeroPixelForPixel)
{
    SpinnerPicture zero(0);
    SpinnerPicture eight(8);
    for (int y = 0; y < kBusyBoxHeight; ++y)
        for (int x = 0; x < kBusyBoxWidth; ++x)
            ASSERT_EQ(eight.At(x, y), zero.At(x, y)) << "at (" << x << ", " << y << ")";
}

} // namespace
