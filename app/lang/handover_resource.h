// Resource identifiers of what Mikra tells the user when a capture folder,
// a snapshot or a recording cannot be made or the camera is unplugged, and
// of the File menu's recent documents.
#pragma once

#define IDS_FOLDER_NOT_MADE 47450
#define IDS_SNAPSHOT_FAILED 47451
#define IDS_RECORDING_FAILED 47452
#define IDS_RECENT_FILE 47453
#define IDS_CAMERA_UNPLUGGED 47454
