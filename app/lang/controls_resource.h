// Resource identifiers of the shared controls: the thumbnail grid, the
// zoomable preview, the floating picture window and the busy dialog.
#pragma once

// Cursors: arrow, move, and the resize directions.
#define IDC_CURSOR_ARROW 170
#define IDC_CURSOR_MOVE 171
#define IDC_CURSOR_SIZE_NESW 172
#define IDC_CURSOR_SIZE_NWSE 173
#define IDC_CURSOR_SIZE_WE 174
#define IDC_CURSOR_SIZE_NS 175

// The floating picture window's right-button menu.
#define IDS_POPUP_COPY 47100
#define IDS_POPUP_CUT 47101

// The busy dialog laid over the window while an engine works.
#define IDD_WAIT_PROGRESS 205

// The splitter bars' cursors, in the program file (the same in every
// language): four-way arrows, left-right and up-down.
#define IDC_SPLIT_MOVE 30979
#define IDC_SPLIT_WE 30980
#define IDC_SPLIT_NS 30981
