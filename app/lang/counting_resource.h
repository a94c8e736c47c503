// Resource identifiers of the counting dialogs.
#pragma once

// Manual count dialog.
#define IDD_MANUAL_COUNT 202
#define IDC_MANUAL_CHANNEL 1002
#define IDC_MANUAL_LOWER_SLIDER 1004
#define IDC_MANUAL_UPPER_SLIDER 1005
#define IDC_MANUAL_LOWER_SPIN 1093
#define IDC_MANUAL_HISTOGRAM 1094
#define IDC_MANUAL_SHARE 1095
#define IDC_MANUAL_UPPER_EDIT 1096
#define IDC_MANUAL_UPPER_SPIN 1097
#define IDC_MANUAL_LOWER_EDIT 1098
// Count results dialog: the column boxes 1000-1010 show or hide the
// measure columns 1-11; the frames mark the picture, summary and table panes.
#define IDD_COUNT_RESULT 204
#define IDC_RESULT_COLUMN_FIRST 1000
#define IDC_RESULT_PICTURE_PANE 1097
#define IDC_RESULT_SUMMARY_PANE 1098
#define IDC_RESULT_TABLE_PANE 1099
#define IDC_RESULT_LINE 1101
#define IDC_RESULT_FILTER 1103
#define IDC_RESULT_SAVE_IMAGE 1104
#define IDC_RESULT_EXPORT 1105
// The controls the dialog makes itself.
#define IDC_RESULT_TABLE 100
#define IDC_RESULT_SUMMARY 101
#define IDC_RESULT_PREVIEW 102
// Target filter dialog.
#define IDD_TARGET_FILTER 206
#define IDC_FILTER_LOWER_SLIDER 1004
#define IDC_FILTER_UPPER_SLIDER 1005
#define IDC_FILTER_MEASURE 1057
#define IDC_FILTER_UPPER_HIDDEN 1096
#define IDC_FILTER_LOWER_HIDDEN 1098
#define IDC_FILTER_LOWER_BOX 1115
#define IDC_FILTER_UPPER_BOX 1116
// Counting region dialog.
#define IDD_COUNT_REGION 216
#define IDC_REGION_PREVIEW 1119
#define IDC_REGION_WHOLE 1120
#define IDC_REGION_RECT 1121
#define IDC_REGION_X 1122
#define IDC_REGION_Y 1123
#define IDC_REGION_W 1124
#define IDC_REGION_H 1125

// Grid plate dialog.
#define IDD_GRID_PLATE 253
#define IDC_GRID_COLOR 1064
#define IDC_GRID_WIDTH 1164
#define IDC_GRID_HEIGHT 1165
#define IDC_GRID_CALIBRATION 1166
#define IDC_GRID_SIZE_TEXT 1167
#define IDC_GRID_VALUE_TEXT 1168
#define IDC_GRID_UNIT_TEXT 1169

// Strings.
#define IDS_COLOR_AUTOMATIC 47027
#define IDS_COLOR_MORE 47028
#define IDS_GRID_TOO_SMALL 47111
// Entries of the manual count dialog's channel list.
#define IDS_CHANNEL_GREY 47120
#define IDS_CHANNEL_RED 47121
#define IDS_CHANNEL_GREEN 47122
#define IDS_CHANNEL_BLUE 47123
// Names of the measures, as the result table's column headings.
#define IDS_MEASURE_FIRST 47077
#define IDS_RESULT_NUMBER 47088
#define IDS_RESULT_TARGET_COUNT 47089
#define IDS_RESULT_EXPORT_MANY 47093
#define IDS_RESULT_WORD_FAILED 47046
// Labels of the summary rows: picture, region and target area, share.
#define IDS_RESULT_SUMMARY_FIRST 47124
