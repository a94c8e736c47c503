#include "frame_overlay.h"

#include <cstddef>
#include <span>

FrameOverlay::FrameOverlay(const CrossLineList& lines) : m_lines(lines) {}

void FrameOverlay::SetGeometry(const FrameGeometry& geometry) {
    const std::lock_guard lock(m_mutex);
    m_geometry = geometry;
    m_suspended = false;
}

void FrameOverlay::Suspend() {
    const std::lock_guard lock(m_mutex);
    m_suspended = true;
}

FrameGeometry FrameOverlay::Geometry() const {
    const std::lock_guard lock(m_mutex);
    return m_geometry;
}

void FrameOverlay::SetSingleCross(const SingleCross& cross) {
    const std::lock_guard lock(m_mutex);
    m_cross = cross;
}

SingleCross FrameOverlay::GetSingleCross() const {
    const std::lock_guard lock(m_mutex);
    return m_cross;
}

bool FrameOverlay::DrawInto(std::uint8_t* frame) const {
    FrameGeometry geometry;
    SingleCross cross;
    {
        const std::lock_guard lock(m_mutex);
        if (m_suspended) {
            return false;
        }
        geometry = m_geometry;
        cross = m_cross;
    }
    if (frame == nullptr || geometry.width <= 0 || geometry.height <= 0 || geometry.bitsPerPixel <= 0) {
        return false;
    }
    const std::size_t bytes =
        std::size_t(geometry.width) * std::size_t(geometry.height) * std::size_t(geometry.bitsPerPixel / 8);
    const CameraFrame view{std::span<std::uint8_t>(frame, bytes), geometry.width, geometry.height,
                           geometry.bitsPerPixel};
    return m_lines.DrawInto(view) && DrawSingleCross(view, cross);
}
