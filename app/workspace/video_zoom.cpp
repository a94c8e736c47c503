#include "video_zoom.h"

std::optional<float> VideoZoom(int displayedWidth, int videoWidth) {
    if (videoWidth <= 0 || displayedWidth <= 0) {
        return std::nullopt;
    }
    return static_cast<float>(displayedWidth) / static_cast<float>(videoWidth);
}
