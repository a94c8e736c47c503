#include "background_placement.h"

#include <algorithm>

BackgroundPlacement PlaceBackgroundPicture(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) {
        return {};
    }
    const double scale = std::min(
        {static_cast<double>(clientWidth) / pictureWidth, static_cast<double>(clientHeight) / pictureHeight, 1.0});
    const int width = static_cast<int>(scale * pictureWidth);
    const int height = static_cast<int>(scale * pictureHeight);
    return {std::max(0, (clientWidth - width) / 2), std::max(0, (clientHeight - height) / 2), std::max(0, width),
            std::max(0, height)};
}
