// A window is moved the least way that brings it inside an area, at negative coordinates too;
// one larger than the area keeps its left and top edges in it, where its caption is.
#include <gtest/gtest.h>

#include "win/ScreenPlace.h"

TEST(ScreenPlace, AWindowMovesTheLeastWayInsideTheArea) {
    const RECT second = {-800, 0, 0, 600};  // a monitor left of the first
    const struct {
        const char* what;
        RECT window, expected;
    } cases[] = {
        {"inside: stays", {-700, 100, -400, 300}, {-700, 100, -400, 300}},
        {"past the right edge", {-100, 100, 200, 300}, {-300, 100, 0, 300}},
        {"past the bottom edge", {-700, 500, -400, 700}, {-700, 400, -400, 600}},
        {"past the left and top edges", {-900, -50, -600, 150}, {-800, 0, -500, 200}},
        {"far away", {3000, 2000, 3300, 2200}, {-300, 400, 0, 600}},
        {"larger than the area", {-900, -100, 100, 800}, {-800, 0, 200, 900}},
    };
    for (const auto& c : cases) {
        const RECT moved = win::MovedInside(c.window, second);
        EXPECT_TRUE(EqualRect(&moved, &c.expected))
            << c.what << ": " << moved.left << "," << moved.top << "-" << moved.right << ","
            << moved.bottom;
    }
}
