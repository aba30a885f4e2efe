#pragma once
// Checks that a real control stands where its window's table puts it.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/control_table.hpp"
#include "driver.hpp"

namespace zvkob::e2e {

// Visible as designed and, when visible, at the designed rectangle (a line
// of no thickness is drawn one pixel thick).
inline void expect_at_designed_place(HWND item, const ControlSpec& design, UINT dpi) {
    SCOPED_TRACE(std::string(design.name));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(visible(item), design.visible);
    if (!design.visible) {
        return;
    }
    const RECT rect = rect_in_parent(item);
    EXPECT_EQ(rect.left, pixels(design.rect.left, dpi));
    EXPECT_EQ(rect.top, pixels(design.rect.top, dpi));
    EXPECT_EQ(rect.right - rect.left, std::max(1, pixels(design.rect.width, dpi)));
    EXPECT_EQ(rect.bottom - rect.top, std::max(1, pixels(design.rect.height, dpi)));
}

}  // namespace zvkob::e2e
