#pragma once
// The controls' cursors (resources 170 to 175 of the resource module),
// loaded once each and kept for the life of the process: a language library
// loaded as a data file gives a new cursor on every load.
#include <windows.h>

// The cursor of resource id, or the system arrow when the module lacks it.
HCURSOR ControlCursor(int id);
