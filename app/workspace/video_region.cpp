#include "video_region.h"

#include <algorithm>

namespace {

int DisplayedExtent(int videoExtent, float zoom) { return static_cast<int>(static_cast<float>(videoExtent) * zoom); }

// A view coordinate in video pixels, truncated toward zero.
int ToVideo(int view, int origin, int scroll, float zoom) {
    if (zoom == 1.0f) {
        return view + scroll - origin;
    }
    return static_cast<int>(static_cast<float>(view - origin) / zoom);
}

}  // namespace

ViewPoint ClampToDisplayedVideo(ViewPoint point, const VideoDisplay& video) {
    const int right = video.origin.x + std::max(DisplayedExtent(video.videoWidth, video.zoom), 0);
    const int bottom = video.origin.y + std::max(DisplayedExtent(video.videoHeight, video.zoom), 0);
    return {std::clamp(point.x, video.origin.x, right), std::clamp(point.y, video.origin.y, bottom)};
}

std::optional<PixelRect> CameraRegion(ViewPoint from, ViewPoint to, const VideoDisplay& video, ViewPoint scroll) {
    // NaN fails this test too.
    if (!(video.zoom > 0.0f) || to.x - from.x <= 0) {
        return std::nullopt;
    }
    const auto x = [&](int view) {
        return std::clamp(ToVideo(view, video.origin.x, scroll.x, video.zoom), 0, video.videoWidth);
    };
    const auto y = [&](int view) {
        return std::clamp(ToVideo(view, video.origin.y, scroll.y, video.zoom), 0, video.videoHeight);
    };
    const int y0 = y(from.y);
    const int y1 = y(to.y);
    const PixelRect region{x(from.x), std::min(y0, y1), x(to.x), std::max(y0, y1)};
    if (region.right <= region.left || region.bottom <= region.top) {
        return std::nullopt;
    }
    return region;
}

OverlayLayout LayoutVideoOverlay(ViewPoint videoPos, ViewPoint scroll, int displayedWidth, int displayedHeight,
                                 int clientWidth, int clientHeight) {
    OverlayLayout layout;
    layout.window = {videoPos.x - scroll.x, videoPos.y - scroll.y, videoPos.x - scroll.x + displayedWidth,
                     videoPos.y - scroll.y + displayedHeight};
    // The client area seen from the window's own corner, cut to the window.
    PixelRect& visible = layout.visible;
    visible.left = std::clamp(-layout.window.left, 0, std::max(displayedWidth, 0));
    visible.top = std::clamp(-layout.window.top, 0, std::max(displayedHeight, 0));
    visible.right = std::clamp(clientWidth - layout.window.left, visible.left, std::max(displayedWidth, visible.left));
    visible.bottom = std::clamp(clientHeight - layout.window.top, visible.top, std::max(displayedHeight, visible.top));
    return layout;
}

std::uint32_t MoveMousePointIntoView(std::uint32_t pointWord, ViewPoint videoPos, ViewPoint scroll) {
    const int x = static_cast<std::int16_t>(static_cast<std::uint16_t>(pointWord));
    const int y = static_cast<std::int16_t>(static_cast<std::uint16_t>(pointWord >> 16));
    const auto word = [](int value) { return static_cast<std::uint32_t>(static_cast<std::uint16_t>(value)); };
    return word(x + videoPos.x - scroll.x) | (word(y + videoPos.y - scroll.y) << 16);
}
