// The image controller's cursor for each of its modes.
#include <gtest/gtest.h>

#include "controls_resource.h"
#include "mode_cursor.h"
#include "resource.h"

namespace {

TEST(ModeCursorId, FollowsTheControllersMode) {
    struct Case {
        const char* what;
        CursorModes modes;
        std::optional<int> expected;
    };
    const auto region = [](int style, bool kind) {
        CursorModes m;
        m.regionOrCrop = true;
        m.cursorStyle = style;
        m.regionKind = kind;
        return m;
    };
    const auto selecting = [](int hit) {
        CursorModes m;
        m.selecting = true;
        m.hitState = hit;
        return m;
    };
    const auto counting = [](int mode, int tool) {
        CursorModes m;
        m.countingMode = mode;
        m.countingTool = tool;
        return m;
    };
    const Case cases[] = {
        {"region, arrow style, region kind", region(0, true), IDC_CURSOR_REGION},
        {"region, arrow style", region(0, false), IDC_CURSOR_ARROW},
        {"region, cross style", region(1, true), IDC_CURSOR_ARROW},
        {"region, other style", region(2, false), IDC_CURSOR_CROSS},
        {"selection, nothing hovered", selecting(0), IDC_CURSOR_SELECT},
        {"selection, body hovered", selecting(1), IDC_CURSOR_SELECT_HIT},
        {"selection, handle hovered", selecting(2), IDC_CURSOR_MOVE},
        {"counting mode 4, tool 0", counting(4, 0), IDC_CURSOR_COUNTING_CIRCLE},
        {"counting mode 5, tool 3", counting(5, 3), IDC_CURSOR_COUNTING_SQUARE},
        {"counting mode 4, tool 5", counting(4, 5), IDC_CURSOR_COUNTING_DIAMOND},
        {"counting mode 4, another tool keeps the cursor", counting(4, 1), std::nullopt},
        {"counting mode 6", counting(6, 0), IDC_CURSOR_CROSS},
        {"drawing", CursorModes{}, IDC_CURSOR_ARROW},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModeCursorId(c.modes, [](int) { return true; }), c.expected) << c.what;
    }
}

TEST(ModeCursorId, RegionSelectionFallsBackToTheCrossWhenItsCursorIsMissing) {
    CursorModes modes;
    modes.regionOrCrop = true;
    modes.regionKind = true;
    EXPECT_EQ(ModeCursorId(modes, [](int id) { return id != IDC_CURSOR_REGION; }), IDC_CURSOR_CROSS);
    // The other modes never ask.
    modes.regionOrCrop = false;
    modes.selecting = true;
    EXPECT_EQ(ModeCursorId(modes, [](int) { return false; }), IDC_CURSOR_SELECT);
}

}  // namespace
