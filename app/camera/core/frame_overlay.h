#pragma once
// What the camera library's frame thread burns into each delivered frame:
// the shared crosshair list and the family's single cross, drawn within the
// frame geometry the main thread last published (the size and depth of the
// frames the library delivers now, not the size the UI asked for).
//
// The main thread publishes under a short lock and never holds it around a
// library call. Before a call that may change the delivered frames (capture
// record, colour mode, flip) it suspends drawing, and publishes the new
// geometry once the call has returned, so no frame is drawn with a
// geometry that is not its own. The frame path allocates nothing.
#include <cstdint>
#include <mutex>

#include "cross_line_list.h"
#include "cross_lines.h"

struct FrameGeometry {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;

    friend bool operator==(const FrameGeometry&, const FrameGeometry&) = default;
};

class FrameOverlay {
public:
    // lines: the camera's crosshair list; it outlives the overlay.
    explicit FrameOverlay(const CrossLineList& lines);

    // Main thread.
    void SetGeometry(const FrameGeometry& geometry);
    // Frames are left untouched until the next SetGeometry.
    void Suspend();
    FrameGeometry Geometry() const;
    void SetSingleCross(const SingleCross& cross);
    SingleCross GetSingleCross() const;

    // Frame thread: draws the list, then the single cross, into one frame
    // of the published geometry. False (nothing drawn) while suspended.
    bool DrawInto(std::uint8_t* frame) const;

private:
    const CrossLineList& m_lines;
    mutable std::mutex m_mutex;
    FrameGeometry m_geometry;
    bool m_suspended = true;
    SingleCross m_cross;
};
