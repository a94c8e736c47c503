#include "video_layout.h"

#include <algorithm>

namespace {
int HalfOfSpare(int client, int video) { return std::max(client - video, 0) / 2; }
}  // namespace

VideoPlacement FillWindowLayout(VideoSize client, FillRounding rounding) {
    int width = std::max(client.width, 0);
    int height = std::max(client.height, 0);
    if (rounding == FillRounding::multipleOf4) {
        width -= width % 4;
        height -= height % 4;
    }
    return {0, 0, width, height};
}

VideoPlacement StretchedLayout(VideoSize capture, VideoSize client) {
    if (capture.width <= 0 || capture.height <= 0 || client.width <= 0 || client.height <= 0) {
        return {};
    }
    const float aspect = static_cast<float>(capture.width) / static_cast<float>(capture.height);
    const float clientAspect = static_cast<float>(client.width) / static_cast<float>(client.height);
    int width = client.width;
    int height = client.height;
    // The product stays within the client side, so the conversion is defined.
    if (clientAspect >= aspect) {
        width = std::min(static_cast<int>(static_cast<float>(client.height) * aspect), client.width);
    } else {
        height = std::min(static_cast<int>(static_cast<float>(client.width) / aspect), client.height);
    }
    return {HalfOfSpare(client.width, width), HalfOfSpare(client.height, height), width, height};
}

VideoPlacement OneToOneLayout(VideoSize capture, VideoSize client) {
    return {HalfOfSpare(client.width, capture.width), HalfOfSpare(client.height, capture.height), capture.width,
            capture.height};
}
