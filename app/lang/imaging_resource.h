// Resource identifiers of the image fusion and stitching dialogs.
#pragma once

// Fusion dialog: the picture list on the left, the result on the right, a
// toolbar over both.
#define IDD_FUSION 217
#define IDC_FUSION_LIST_FRAME 1125
#define IDC_FUSION_RESULT_FRAME 1126
#define IDR_TOOLBAR_FUSION 222
#define IDB_TOOLBAR_FUSION 223
#define IDB_TOOLBAR_FUSION_HOT 228
#define ID_FUSION_OPEN 40001
#define ID_FUSION_DELETE 40002
#define ID_FUSION_START 40003
#define ID_FUSION_SAVE 40004
#define IDS_CHECK_RESOLUTION 47097

// Stitching: the tab dialog and its two pages.
#define IDD_STITCH 225
#define IDC_STITCH_TABS 1127
#define IDS_STITCH_INPUT_TAB 47098
#define IDS_STITCH_RESULT_TAB 47099
#define IDS_STITCH_NO_RESULT 47190

#define IDD_STITCH_INPUT 226
#define IDC_STITCH_ROWS 1002
#define IDC_STITCH_COLUMNS 1003
#define IDC_STITCH_GRID_FRAME 1125
#define IDC_STITCH_LOAD 1128
#define IDC_STITCH_CLEAR 1129
#define IDC_STITCH_CLEAR_ALL 1130
#define IDC_STITCH_START 1131
#define IDC_STITCH_ZOOM_IN 1132
#define IDC_STITCH_ZOOM_OUT 1133

#define IDD_STITCH_RESULT 227
#define IDC_STITCH_SAVE 1132
#define IDC_STITCH_RESULT_FRAME 1133
#define IDC_STITCH_FIT 1134
#define IDC_STITCH_ACTUAL_SIZE 1135
