#pragma once
// The picture browser's cell image: a white 140 x 140 bitmap framed in the
// grey-text colour, with the thumbnail centred in it when there is one.
#include <windows.h>

#include "picture.h"
#include "unique_handle.h"

// thumbnail may be null or invalid: the cell stays blank and framed.
UniqueGdiHandle MakeBrowserCell(const CPicture* thumbnail);
