#include "core/window_placement.hpp"

#include <gtest/gtest.h>

namespace zvkob {
namespace {

// A 96-dpi monitor and, to its right, a 144-dpi one; positions are stored at
// the system DPI of 96.
const std::vector<Monitor> two_monitors{
    {.area = {0, 0, 1920, 1080}, .work_area = {0, 0, 1920, 1040}, .dpi = 96},
    {.area = {1920, 0, 4800, 1620}, .work_area = {1920, 0, 4800, 1560}, .dpi = 144}};
constexpr unsigned system_dpi = 96;

WindowFrame frame(float left, float top) {
    WindowFrame frame;
    frame.set_position(left, top);
    frame.set_size(4530, 2565);
    return frame;
}

// Closed anywhere, a window reopens on the same spot, at the size that
// monitor's DPI gives it.
TEST(WindowPlacement, AWindowReopensWhereItClosedOnEitherMonitor) {
    struct Case {
        int left;
        int top;
        int width;  // 4530 twips at the monitor's DPI
    };
    for (const Case c : {Case{200, 150, 302}, Case{2400, 300, 453}}) {
        const float left = pixels_to_twips(c.left, system_dpi);
        const float top = pixels_to_twips(c.top, system_dpi);
        const PixelRect reopened = opening_rect(frame(left, top), system_dpi, two_monitors);
        EXPECT_EQ(reopened.left, c.left);
        EXPECT_EQ(reopened.top, c.top);
        EXPECT_EQ(reopened.width(), c.width);
    }
    EXPECT_EQ(pixels_to_twips(2400, system_dpi), 36000.0F) << "not 24000 at the second's DPI";
}

TEST(WindowPlacement, AWindowOnNoMonitorIsMovedOntoTheNearestWorkArea) {
    const PixelRect lost = opening_rect(frame(-900000, 1000), system_dpi, two_monitors);
    EXPECT_EQ(lost, (PixelRect{0, 67, 302, 67 + 171}));
    const PixelRect beyond = opening_rect(frame(90000, 30000), system_dpi, two_monitors);
    EXPECT_EQ(beyond.right, 4800);
    EXPECT_EQ(beyond.bottom, 1560) << "above the taskbar of the 144-dpi monitor";
    EXPECT_EQ(beyond.width(), 453);

    WindowFrame huge = frame(0, 0);
    huge.set_size(900000, 900000);
    EXPECT_EQ(opening_rect(huge, system_dpi, two_monitors), (PixelRect{0, 0, 1920, 1040}))
        << "fitted to the work area";
}

}  // namespace
}  // namespace zvkob
