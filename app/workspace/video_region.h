#pragma once
// Where the live video shows inside the view, and what follows from it: the
// region a user drags on the video for a one-shot white balance or
// exposure, the place and visible part of a window laid over the video, and
// a mouse point of such a window moved into view coordinates. All in view
// client pixels unless said otherwise; free of any device.
#include <cstdint>
#include <optional>

#include "geometry.h"

struct ViewPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ViewPoint&, const ViewPoint&) = default;
};

struct VideoDisplay {
    ViewPoint origin;    // where the video starts inside the view
    int videoWidth = 0;  // camera pixels
    int videoHeight = 0;
    float zoom = 1.0f;  // displayed width over video width
};

// The point held inside the displayed video: origin to origin + video size
// times zoom on each axis.
ViewPoint ClampToDisplayedVideo(ViewPoint point, const VideoDisplay& video);

// The camera's region (video pixels) for a band dragged from `from` to
// `to`. At zoom 1 the scroll position counts (the video may be larger than
// the view); at any other zoom the whole video is shown and it does not.
// None when the drag went left or not at all, when the region has no height
// or no width in video pixels, or when no video is displayed (zoom not
// above 0). Rows come ordered and the region lies inside the video frame.
std::optional<PixelRect> CameraRegion(ViewPoint from, ViewPoint to, const VideoDisplay& video, ViewPoint scroll);

// A window laid over the displayed video: its place (view client
// coordinates; the caller moves it to the screen) and the part of it that
// lies inside the view's client area, in the window's own coordinates
// (empty when none does).
struct OverlayLayout {
    PixelRect window;
    PixelRect visible;
};
OverlayLayout LayoutVideoOverlay(ViewPoint videoPos, ViewPoint scroll, int displayedWidth, int displayedHeight,
                                 int clientWidth, int clientHeight);

// A mouse message's point word (x low, y high, both signed 16 bits) of a
// window over the video, moved into view coordinates: plus the video
// position, minus the scroll position.
std::uint32_t MoveMousePointIntoView(std::uint32_t pointWord, ViewPoint videoPos, ViewPoint scroll);
