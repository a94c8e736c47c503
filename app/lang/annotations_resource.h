// Resource identifiers of the annotation objects: the arrow pictures (in the
// program's own resources) and the counter names (in the language libraries).
#pragma once

// Arrow pictures, 120 x 120, 24 bits, white background.
#define IDB_ARROW_UP 231
#define IDB_ARROW_LEFT 232
#define IDB_ARROW_RIGHT 233
#define IDB_ARROW_DOWN 234
#define IDB_ARROW_UP_LEFT 235
#define IDB_ARROW_UP_RIGHT 236
#define IDB_ARROW_DOWN_LEFT 237
#define IDB_ARROW_DOWN_RIGHT 238

// Default names of the counter markers.
#define IDS_COUNTER_CIRCLE 47024
#define IDS_COUNTER_RECT 47025
#define IDS_COUNTER_DIAMOND 47026
