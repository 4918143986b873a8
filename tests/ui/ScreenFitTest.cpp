#include "ui/ScreenFit.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// 1920 x 1080 less a taskbar of 72 pixels at the bottom, and a second
// monitor to the left of it whose taskbar is at the top.
constexpr TBounds kWork{0, 0, 1920, 1008};
constexpr TBounds kLeftWork{-1366, 40, 1366, 728};

struct PlacementCase {
    const char* what;
    TBounds window;
    TBounds work;
    TBounds expected;
};

TEST(ScreenFit, AWindowIsMovedInsideAsLittleAsItCan)
{
    const PlacementCase cases[] = {
        {"inside: kept exactly", {332, 296, 1000, 700}, kWork, {332, 296, 1000, 700}},
        {"touching every side: kept", {0, 0, 1920, 1008}, kWork, {0, 0, 1920, 1008}},
        {"below: up to the taskbar, left kept", {332, 296, 1482, 1094 - 296}, kWork, {332, 1008 - 798, 1482, 798}},
        {"right and below: into the corner", {1500, 900, 600, 300}, kWork, {1320, 708, 600, 300}},
        {"above and left: onto the corner", {-50, -20, 600, 300}, kWork, {0, 0, 600, 300}},
        {"taller than the work area: its top at the top", {332, 296, 800, 1100}, kWork, {332, 0, 800, 1100}},
        {"wider: its left at the left", {100, 100, 2000, 500}, kWork, {0, 100, 2000, 500}},
        {"on a monitor left of the primary", {-1000, 0, 900, 600}, kLeftWork, {-1000, 40, 900, 600}},
        {"beyond that monitor's left edge", {-1500, 500, 900, 600}, kLeftWork, {-1366, 168, 900, 600}},
    };
    for (const PlacementCase& c : cases)
        EXPECT_EQ(KeepInside(c.window, c.work), c.expected) << c.what;
}

TEST(ScreenFit, AnAlignedWindowIsCutToTheWorkAreaWhereItIsLarger)
{
    // The main window at 144 dpi: 1482 x 1094 from 332, 296.
    const PlacementCase cases[] = {
        {"fits: kept", {332, 296, 1482, 700}, kWork, {332, 296, 1482, 700}},
        {"taller: as tall as the work area", {332, 296, 1482, 1094}, kWork, {332, 0, 1482, 1008}},
        {"both larger: the work area itself", {-5, -5, 4000, 3000}, kWork, kWork},
        {"on a monitor with its taskbar on top", {-1366, 0, 1482, 1094}, kLeftWork, kLeftWork},
        {"an empty work area gives an empty window", {10, 10, 300, 200}, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const PlacementCase& c : cases)
        EXPECT_EQ(CutToFit(c.window, c.work), c.expected) << c.what;
}

TEST(ScreenFit, TheLargestFittingDensityIsTakenAndNoneBelowTheLowest)
{
    struct Case {
        const char* what;
        int density;
        int lowest;
        int firstFitting; // every density at or below it fits
        int expected;
        int asked; // how many were tried
    };
    const Case cases[] = {
        {"fits at the screen's density", 144, 99, 144, 144, 1},
        {"fits a little lower", 144, 99, 131, 131, 14},
        {"fits only below the lowest: the lowest", 144, 99, 80, 99, 45},
        {"fits exactly at the lowest", 96, 66, 66, 66, 30},
        {"a lowest above the density: the density", 96, 120, 0, 96, 0},
    };
    for (const Case& c : cases) {
        std::vector<int> tried;
        const int chosen = FittingPixelsPerInch(c.density, c.lowest, [&](int pixelsPerInch) {
            tried.push_back(pixelsPerInch);
            return pixelsPerInch <= c.firstFitting;
        });
        EXPECT_EQ(chosen, c.expected) << c.what;
        EXPECT_EQ(static_cast<int>(tried.size()), c.asked) << c.what;
        for (int pixelsPerInch : tried)
            EXPECT_TRUE(pixelsPerInch <= c.density && pixelsPerInch > c.lowest) << c.what << ": " << pixelsPerInch;
    }
}

} // namespace
