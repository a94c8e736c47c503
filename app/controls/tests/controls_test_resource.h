// The controls tests' own dialog: laid out like the count results dialog,
// a group on the left and three frames stacked on the right.
#pragma once

#define IDD_SPLIT_TEST 900
#define IDC_LEFT_FRAME 1001
#define IDC_LEFT_LIST 1002
#define IDC_RIGHT_TOP 1003
#define IDC_RIGHT_MIDDLE 1004
#define IDC_RIGHT_BOTTOM 1005
#define IDC_TEST_COLOUR 1064
