// Resource identifiers of the picture processing dialogs.
#pragma once

// Rotation dialog.
#define IDD_ROTATE 143
#define IDC_ROTATE_ANGLES 1002
#define IDC_ROTATE_ANGLE 1028
#define IDC_ROTATE_ANGLE_SPIN 1029
#define IDC_ROTATE_LABEL 1041

// Image parameter dialog: brightness, contrast, saturation and hue.
#define IDD_IMAGE_ADJUST 144
#define IDC_ADJUST_BRIGHTNESS 1036
#define IDC_ADJUST_BRIGHTNESS_TEXT 1037
#define IDC_ADJUST_CONTRAST 1005
#define IDC_ADJUST_CONTRAST_TEXT 1038
#define IDC_ADJUST_SATURATION 1006
#define IDC_ADJUST_SATURATION_TEXT 1039
#define IDC_ADJUST_HUE 1007
#define IDC_ADJUST_HUE_TEXT 1040
#define IDC_ADJUST_PREVIEW 1042

// RGB dialog.
#define IDD_RGB_ADJUST 145
#define IDC_RGB_RED 1043
#define IDC_RGB_GREEN 1044
#define IDC_RGB_BLUE 1045
#define IDC_RGB_PREVIEW 1046
#define IDC_RGB_RED_TEXT 1047
#define IDC_RGB_GREEN_TEXT 1048
#define IDC_RGB_BLUE_TEXT 1049

// The preview frame of both adjustment dialogs.
#define IDC_ADJUST_FRAME 1050
