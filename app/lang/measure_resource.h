// Resource identifiers of the measurement dialogs.
#pragma once

// Calibration dialog.
#define IDD_CALIBRATION 154
#define IDC_CALIB_NAME_LABEL 1067
#define IDC_CALIB_LENGTH_LABEL 1068
#define IDC_CALIB_PIXELS_LABEL 1069
#define IDC_CALIB_UNIT_LABEL 1070
#define IDC_CALIB_NAME 1071
#define IDC_CALIB_LENGTH 1072
#define IDC_CALIB_PIXELS 1073
#define IDC_CALIB_UNIT 1074

// Precision dialog.
#define IDD_PRECISION 159
#define IDC_PRECISION_LABEL 1085
#define IDC_PRECISION_DECIMALS 1086
#define IDC_PRECISION_RANGE 1087

// Measuring ruler settings.
#define IDD_RULER_SETTINGS 255
#define IDC_RULER_COLOUR 1064
#define IDC_RULER_CENTRE 1172
#define IDC_RULER_SHOW 1173
#define IDC_RULER_HORIZONTAL_POS 1174
#define IDC_RULER_VERTICAL_POS 1175
#define IDC_RULER_SPACING 1177
#define IDC_RULER_UNIT 1178

// Notices.
#define IDS_CALIBRATION_NEEDS_LENGTH 47300

// Print-at-magnification dialog: the calibrations' report list (control 2,
// made at run time), the magnification and the preview button.
#define IDD_PRINT_SCALE 158
#define IDC_PRINT_PREVIEW 1082
#define IDC_PRINT_MAGNIFICATION_LABEL 1083
#define IDC_PRINT_MAGNIFICATION 1084
#define IDC_PRINT_CALIBRATIONS 2

// Columns of the calibration lists.
#define IDS_CALIBRATION_COLUMN_NAME 47029
#define IDS_CALIBRATION_COLUMN_SIZE 47030
#define IDS_CALIBRATION_COLUMN_VALUE 47031
#define IDS_CALIBRATION_COLUMN_UNIT 47032
#define IDS_CHOOSE_CALIBRATION_TO_PRINT 47055
