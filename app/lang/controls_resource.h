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
