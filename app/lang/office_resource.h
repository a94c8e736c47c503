// Resource identifiers of the Office exports.
#pragma once

#define IDS_EXCEL_NOT_INSTALLED 47040
#define IDS_EXCEL_SERVICE_FAILED 47041
#define IDS_OFFICE_TARGET_OPEN 47140
#define IDS_OFFICE_EXPORT_FAILED 47141
