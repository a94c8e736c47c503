// The controller's mode cursor and its Ctrl-key filter, with the cursors of
// the English language library.
#include "tools_fixture.h"

#include "control_cursors.h"
#include "controls_resource.h"
#include "language_library.h"
#include "resource.h"

namespace {

using namespace tools_testing;

// Holds Ctrl down in this thread's key state, as a real Ctrl press would.
class CtrlHeld {
public:
    explicit CtrlHeld(bool down) {
        ::GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        state[VK_CONTROL] = down ? 0x80 : 0;
        ::SetKeyboardState(state);
    }
    ~CtrlHeld() { ::SetKeyboardState(saved_); }
    CtrlHeld(const CtrlHeld&) = delete;
    CtrlHeld& operator=(const CtrlHeld&) = delete;

private:
    BYTE saved_[256] = {};
};

class ControllerInputTest : public ToolsTest {
protected:
    LanguageLibrary english_{0};
};

TEST_F(ControllerInputTest, CursorFollowsSelectionHoverAndTool) {
    ASSERT_TRUE(english_.Loaded());
    // Each mode has a cursor of its own in the library.
    const HCURSOR arrow = ControlCursor(IDC_CURSOR_ARROW);
    const HCURSOR select = ControlCursor(IDC_CURSOR_SELECT);
    const HCURSOR selectHit = ControlCursor(IDC_CURSOR_SELECT_HIT);
    ASSERT_NE(arrow, select);
    ASSERT_NE(select, selectHit);
    ASSERT_NE(arrow, selectHit);

    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    DrawLine(20, 60, 180, 60);
    EXPECT_EQ(ctl.SetModeCursor(), 1);
    EXPECT_EQ(::GetCursor(), arrow) << "drawing";

    ctl.SetSelectMode();
    MoveTo(100, 120);
    ctl.SetModeCursor();
    EXPECT_EQ(::GetCursor(), select) << "selecting, nothing under the mouse";

    // Hovering a handle (hit state 1), then the body (hit state 3).
    MoveTo(20, 60);
    ASSERT_EQ(ctl.GetInteraction().hoveredPart, CCLObject::kHandleActive);
    ctl.SetModeCursor();
    EXPECT_EQ(::GetCursor(), selectHit);
    MoveTo(100, 60);
    ASSERT_EQ(ctl.GetInteraction().hoveredPart, CCLObject::kBodyActive);
    ctl.SetModeCursor();
    EXPECT_EQ(::GetCursor(), ControlCursor(IDC_CURSOR_MOVE));
}

TEST_F(ControllerInputTest, CtrlKeyDownGoesToTheKeyHandlerOnlyWhileCtrlIsHeld) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    DrawLine(20, 20, 60, 20);
    DrawLine(20, 60, 60, 60);
    ctl.SetSelectMode();
    Click(40, 20);
    ASSERT_EQ(ctl.GetSelection().size(), 1u);

    const MSG deleteDown{hwnd_, WM_KEYDOWN, VK_DELETE, 0, 0, {}};
    {
        const CtrlHeld ctrl(false);
        EXPECT_EQ(ctl.FilterKey(deleteDown), 0);
        EXPECT_EQ(ctl.IsCtrlHeld(), 0);
        EXPECT_EQ(ctl.GetObjectList()->size(), 2u) << "without Ctrl the key is left to the window";
    }
    {
        const CtrlHeld ctrl(true);
        const MSG deleteUp{hwnd_, WM_KEYUP, VK_DELETE, 0, 0, {}};
        EXPECT_EQ(ctl.FilterKey(deleteUp), 0);
        EXPECT_EQ(ctl.GetObjectList()->size(), 2u);
        EXPECT_EQ(ctl.FilterKey(deleteDown), 1);
        EXPECT_EQ(ctl.IsCtrlHeld(), 1);
        EXPECT_EQ(ctl.GetObjectList()->size(), 1u) << "handled by the key handler";
    }
    // Released again: the flag follows the next key.
    const CtrlHeld released(false);
    const MSG escapeDown{hwnd_, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_EQ(ctl.FilterKey(escapeDown), 0);
    EXPECT_EQ(ctl.IsCtrlHeld(), 0);
}

}  // namespace
