// The right-click menu's lines for each state of the picture and the live
// video.
#include <gtest/gtest.h>

#include <vector>

#include "context_menu.h"
#include "resource.h"

namespace {

std::vector<unsigned> Commands(const ContextMenuFacts& facts) {
    std::vector<unsigned> commands;
    for (const ContextMenuItem& item : ContextMenuItems(facts)) {
        commands.push_back(item.command);
    }
    return commands;
}

struct MenuCase {
    const char* name;
    ContextMenuFacts facts;
    std::vector<unsigned> commands;  // 0: separator
};

TEST(ContextMenuTest, LinesFollowTheState) {
    const std::vector<MenuCase> cases{
        {"idle picture", {}, {ID_TOOL_SELECT, 0, ID_FILE_INFORMATION}},
        {"drawing", {.drawing = true}, {ID_CANCEL_DRAWING, ID_TOOL_SELECT, 0, ID_FILE_INFORMATION}},
        {"selection",
         {.hasSelection = true},
         {ID_TOOL_SELECT, ID_EDIT_CLEAR_SELECTION, ID_EDIT_DELETE_OBJECTS, 0, ID_FILE_INFORMATION}},
        {"document picture", {.fromDocument = true}, {ID_TOOL_SELECT}},
        {"region selection",
         {.hasSelection = true, .regionSelect = true},
         {ID_TOOL_SELECT, ID_EDIT_CLEAR_SELECTION, ID_EDIT_DELETE_OBJECTS, ID_EDIT_PASTE_PICTURE, 0,
          ID_FILE_INFORMATION}},
        {"live video", {.live = true}, {ID_TOOL_SELECT, ID_LIVE_MEASURE}},
        {"live, drawing, selection",
         {.drawing = true, .hasSelection = true, .live = true},
         {ID_CANCEL_DRAWING, ID_TOOL_SELECT, ID_EDIT_CLEAR_SELECTION, ID_EDIT_DELETE_OBJECTS, ID_LIVE_MEASURE}},
    };
    for (const MenuCase& c : cases) {
        EXPECT_EQ(Commands(c.facts), c.commands) << c.name;
    }
}

}  // namespace
