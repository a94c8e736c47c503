// Resource identifiers of the browser bar: the picture browser's menu, the
// tab and notice texts and the export file list's document icons.
#pragma once

#define IDR_BROWSER_MENU 247
#define ID_BROWSER_SAVE_AS 32847
#define ID_BROWSER_DELETE 32848
#define ID_BROWSER_RENAME 32849

#define IDS_CONFIRM_DELETE_PICTURE 47034
#define IDS_PICTURE_LIST 47037
#define IDS_FILE_MISSING 47106
#define IDS_NO_OFFICE_PROGRAM 47107
#define IDS_OPEN_FILE_FAILED 47108
#define IDS_FILE_LIST 47112

// The device tree's family roots.
#define IDS_DSHOW_DEVICES 47073
#define IDS_CMOS_DEVICES 47074
#define IDS_CCD_DEVICES 47075
#define IDS_GIGE_DEVICES 47114
#define IDS_UVC_DEVICES 47115

#define IDB_WORD_DOCUMENT 251
#define IDB_WORKBOOK 252
