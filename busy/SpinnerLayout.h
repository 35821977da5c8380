// Where the busy indicator stands and how its spokes lie: pure computations
// shared by window creation, the tick and the paint.
#pragma once

#include <windows.h>

#include <array>

// The box, in client pixels from the window's client origin.
constexpr int kBusyBoxWidth = 100;
constexpr int kBusyBoxHeight = 80;
constexpr UINT32 kBusyBackground = 0xFFA9A9A9;

// The spokes turn about this point.
constexpr float kSpinnerCentreX = 50.0f;
constexpr float kSpinnerCentreY = 40.0f;

// A spoke before its rotation: 10 to 20 along its axis, 2 to either side.
constexpr int kSpokeLeft = 10;
constexpr int kSpokeTop = -2;
constexpr int kSpokeLength = 10;
constexpr int kSpokeThickness = 4;

constexpr UINT32 kSpokeCount = 8;

struct Spoke {
    // Degrees, clockwise on the screen.
    float angle;
    // Opaque, packed alpha-red-green-blue.
    UINT32 argb;
};

// The box centred on reference (screen coordinates): reference shrunk on each
// side by half its excess over the box, truncated toward zero. A reference
// smaller than the box gives negative margins, so the box reaches beyond it.
RECT CentredBusyBox(const RECT& reference);

// Spoke i at phase turns ((phase mod 8) + i) * 45 degrees, so each phase
// moves the pattern one place clockwise and phases 8 apart look alike.
std::array<Spoke, kSpokeCount> SpokeLayout(UINT32 phase);
