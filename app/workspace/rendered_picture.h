#pragma once
// What a drawing makes on a white 32-bit DIB section, as a 24-bit picture:
// every colour survives whatever the display's depth. Windows only.
#include <functional>
#include <optional>

#include "dc.h"
#include "picture.h"
#include "view_geometry.h"

// The picture of `size` that `draw` paints; nothing when the bitmap cannot
// be made or `draw` fails.
std::optional<CPicture> RenderPicture(ZoomedSize size, const std::function<bool(CDC& dc)>& draw);
