// Resource identifiers of the object property dialogs: scale bar, custom
// counter and arrow.
#pragma once

// Scale-bar dialog.
#define IDD_SCALE_BAR 156
#define IDC_BAR_LENGTH_LABEL 1073
#define IDC_BAR_LENGTH 1074
#define IDC_BAR_WIDTH_LABEL 1075
#define IDC_BAR_WIDTH 1076
#define IDC_BAR_COLOUR_LABEL 1077
#define IDC_BAR_UNIT 1078
#define IDC_BAR_UNIT_LABEL 1079
#define IDC_BAR_BACKGROUND 1080
#define IDC_BAR_COLOUR 1064

// Custom-counter dialog.
#define IDD_COUNTER 153
#define IDC_COUNTER_TYPE_LABEL 1056
#define IDC_COUNTER_TYPE 1057
#define IDC_COUNTER_SIZE_LABEL 1058
#define IDC_COUNTER_SIZE 1059
#define IDC_COUNTER_COLOUR_LABEL 1060
#define IDC_COUNTER_NUMBER_LABEL 1061
#define IDC_COUNTER_COLOUR 1064
#define IDC_COUNTER_NUMBER 1065

// Arrow dialog: the size combo, the colour button and one button per direction.
#define IDD_ARROW 229
#define IDC_ARROW_SIZE 1002
#define IDC_ARROW_COLOUR 1064
#define IDC_ARROW_UP 1136
#define IDC_ARROW_DOWN 1137
#define IDC_ARROW_LEFT 1138
#define IDC_ARROW_RIGHT 1139
#define IDC_ARROW_UP_LEFT 1140
#define IDC_ARROW_UP_RIGHT 1141
#define IDC_ARROW_DOWN_LEFT 1142
#define IDC_ARROW_DOWN_RIGHT 1143

// The scale bar's length outside its range.
#define IDS_BAR_LENGTH_RANGE 47301
