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

// Notices.
#define IDS_CALIBRATION_NEEDS_LENGTH 47300
