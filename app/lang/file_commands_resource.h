// Resource identifiers of the view's picture file commands: what they tell
// the user when a choice cannot be carried out.
#pragma once

#define IDS_TOO_MANY_FILES 47400
#define IDS_SAVE_FAILED 47401
#define IDS_NAME_TAKEN 47402
#define IDS_NAME_NOT_PLAIN 47403
#define IDS_RENAME_FAILED 47404
