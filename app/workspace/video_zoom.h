#pragma once
// The live video's zoom: displayed video width over the video's width. A
// camera that reports no width yet (0 or less) has no zoom to compute: the
// zoom stays 1 and the caller skips the layout that would use it.
#include <optional>

std::optional<float> VideoZoom(int displayedWidth, int videoWidth);
