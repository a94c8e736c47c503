// Resource identifiers of the calibration selection dialog.
#pragma once

#define IDD_SCALE_SELECT 155
// The report list is made at run time with id 2, as Cancel has.
#define IDC_SCALE_SELECT_LIST 2
#define IDC_SCALE_DELETE 3
#define IDC_SCALE_DELETE_ALL 4

#define IDS_UNIT_MICROMETRE 47002
#define IDS_DELETE_ALL_CALIBRATIONS 47033
