// The shared desktop of the suites (main.cpp) and what the tests know of its layout.
#pragma once

#include "driver.h"

namespace vqw {

constexpr const char* kDesktopOutputs =
    "output HEADLESS-1 mode 1024x768 position 0 0\n"
    "output HEADLESS-2 mode 800x600 position -800 0\n"
    "output HEADLESS-3 mode 960x720 position 1024 0 scale 1.5";
constexpr const char* kOrigin = "HEADLESS-1";
// The layout's left edge, HEADLESS-2's, from which the pointer is placed.
constexpr int kLayoutLeft = -800;

// Each output: its top-left corner in the layout, its scale, its device size, and where
// tests park the pointer over it (in the layout, clear of what the modes draw first).
struct DesktopOutput {
    const char* name;
    int left, top;
    double scale;
    int device_width, device_height;
    int park_x, park_y;
};
constexpr DesktopOutput kOutputs[] = {{"HEADLESS-1", 0, 0, 1, 1024, 768, 900, 700},
                                      {"HEADLESS-2", -800, 0, 1, 800, 600, -400, 300},
                                      {"HEADLESS-3", 1024, 0, 1.5, 960, 720, 1344, 240}};

Sway& desktop();

}  // namespace vqw
