#pragma once
// Drawing a picture with its measurement objects, and what a drawing makes
// on a white 32-bit DIB section as a 24-bit picture (every colour survives
// whatever the display's depth). Printing, the rendered saves, the render
// into a picture file and the live video's overlay all draw through
// DrawPictureWithObjects, so objects land where the picture is at any zoom.
// Windows only.
#include <functional>
#include <optional>

#include "cl_object.h"
#include "dc.h"
#include "kqmk_blocks.h"
#include "picture.h"
#include "view_geometry.h"

// Draws one object on dc at the zoom, offsets 0.
using ObjectPainter = std::function<void(CCLObject& object, CDC& dc, float zoom)>;

// `picture` stretched to `size` at dc's origin (none when null), then each
// visible object of `objects` over it through `paint` (none when `paint` is
// empty). False when the picture could not be drawn.
bool DrawPictureWithObjects(CDC& dc, const CPicture* picture, ZoomedSize size, float zoom, ObjectList& objects,
                            const ObjectPainter& paint);

// The picture of `size` that `draw` paints; nothing when the bitmap cannot
// be made or `draw` fails.
std::optional<CPicture> RenderPicture(ZoomedSize size, const std::function<bool(CDC& dc)>& draw);
