#pragma once
// Where the live video lies in its host window's client area and how large
// it is shown, for the three ways a camera lays out its preview.
struct VideoSize {
    int width = 0;
    int height = 0;
};

struct VideoPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const VideoPlacement&, const VideoPlacement&) = default;
};

// Whether a family's library needs the filled size's sides in multiples of 4.
enum class FillRounding { none, multipleOf4 };

// The whole client area from its top left corner.
VideoPlacement FillWindowLayout(VideoSize client, FillRounding rounding);

// The capture scaled to the largest size of its aspect that fits the client
// area (single-precision arithmetic, sides truncated), centred. An empty
// capture or client size gives an empty placement.
VideoPlacement StretchedLayout(VideoSize capture, VideoSize client);

// The capture at its own size, centred while it is smaller than the client
// area, else at 0 on that axis.
VideoPlacement OneToOneLayout(VideoSize capture, VideoSize client);
