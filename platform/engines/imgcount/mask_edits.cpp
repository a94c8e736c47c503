#include "mask_edits.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

std::size_t FloodMask(MaskView view, int x, int y, const CountRect& area, std::uint8_t value,
                      const std::function<bool(int, int)>& accept) {
    if (!area.Contains(x, y) || view.At(x, y) == value || !accept(x, y)) {
        return 0;
    }
    std::size_t changed = 0;
    std::vector<CountPoint> stack{{x, y}};
    view.At(x, y) = value;
    while (!stack.empty()) {
        const CountPoint p = stack.back();
        stack.pop_back();
        ++changed;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = p.x + dx;
                const int ny = p.y + dy;
                if (area.Contains(nx, ny) && view.At(nx, ny) != value && accept(nx, ny)) {
                    view.At(nx, ny) = value;
                    stack.push_back({nx, ny});
                }
            }
        }
    }
    return changed;
}

std::size_t PaintSquare(MaskView view, int x, int y, int penSize, const CountRect& area, std::uint8_t value) {
    std::size_t changed = 0;
    const int half = std::max(penSize, 0);
    for (int py = y - half; py <= y + half; ++py) {
        for (int px = x - half; px <= x + half; ++px) {
            if (area.Contains(px, py) && view.At(px, py) != value) {
                view.At(px, py) = value;
                ++changed;
            }
        }
    }
    return changed;
}

std::size_t CutLine(MaskView view, int x1, int y1, int x2, int y2, int thickness) {
    const CountRect whole{0, 0, view.width, view.height};
    const int low = -(std::max(thickness, 1) - 1) / 2;
    const int high = low + std::max(thickness, 1) - 1;
    std::size_t changed = 0;
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    for (int x = x1, y = y1;;) {
        for (int oy = low; oy <= high; ++oy) {
            for (int ox = low; ox <= high; ++ox) {
                if (whole.Contains(x + ox, y + oy) && view.At(x + ox, y + oy) != 0) {
                    view.At(x + ox, y + oy) = 0;
                    ++changed;
                }
            }
        }
        if (x == x2 && y == y2) {
            break;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    return changed;
}

std::size_t FillHoles(MaskView view, const CountRect& area) {
    // Mark the background joined to the area's edge, then set the rest.
    std::vector<std::uint8_t> outside(view.mask.size(), 0);
    std::vector<CountPoint> stack;
    const auto reach = [&](int x, int y) {
        const std::size_t at =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(view.width) + static_cast<std::size_t>(x);
        if (area.Contains(x, y) && view.mask[at] == 0 && outside[at] == 0) {
            outside[at] = 1;
            stack.push_back({x, y});
        }
    };
    for (int x = area.x0; x < area.x1; ++x) {
        reach(x, area.y0);
        reach(x, area.y1 - 1);
    }
    for (int y = area.y0; y < area.y1; ++y) {
        reach(area.x0, y);
        reach(area.x1 - 1, y);
    }
    while (!stack.empty()) {
        const CountPoint p = stack.back();
        stack.pop_back();
        reach(p.x - 1, p.y);
        reach(p.x + 1, p.y);
        reach(p.x, p.y - 1);
        reach(p.x, p.y + 1);
    }
    std::size_t changed = 0;
    for (int y = area.y0; y < area.y1; ++y) {
        for (int x = area.x0; x < area.x1; ++x) {
            const std::size_t at =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(view.width) + static_cast<std::size_t>(x);
            if (view.mask[at] == 0 && outside[at] == 0) {
                view.mask[at] = 255;
                ++changed;
            }
        }
    }
    return changed;
}

void PaintPixel(std::span<std::uint8_t> bgr, int width, int x, int y, std::uint32_t colour) {
    std::uint8_t* p = bgr.data() + static_cast<std::size_t>(y) * BgrStride(width) + static_cast<std::size_t>(x) * 3;
    p[0] = static_cast<std::uint8_t>(colour >> 16);
    p[1] = static_cast<std::uint8_t>(colour >> 8);
    p[2] = static_cast<std::uint8_t>(colour);
}

void PaintMaskOutlines(std::span<const std::uint8_t> mask, int width, int height, bool thick, std::uint32_t colour,
                       std::span<std::uint8_t> bgr) {
    PaintMaskOutlines(mask, width, height, thick, colour, bgr, CountRect{0, 0, width, height});
}

void PaintMaskOutlines(std::span<const std::uint8_t> mask, int width, int height, bool thick, std::uint32_t colour,
                       std::span<std::uint8_t> bgr, const CountRect& area) {
    const CountRect clip = CountRect::Clipped(CountPoint{area.x0, area.y0}, area.x1 - area.x0, area.y1 - area.y0,
                                              width, height);
    const auto on = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height &&
               mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] != 0;
    };
    for (int y = clip.y0; y < clip.y1; ++y) {
        for (int x = clip.x0; x < clip.x1; ++x) {
            if (!on(x, y)) {
                continue;
            }
            bool edge = !on(x - 1, y) || !on(x + 1, y) || !on(x, y - 1) || !on(x, y + 1);
            if (thick && !edge) {
                edge = !on(x - 1, y - 1) || !on(x + 1, y - 1) || !on(x - 1, y + 1) || !on(x + 1, y + 1);
            }
            if (edge) {
                PaintPixel(bgr, width, x, y, colour);
            }
        }
    }
}

void CopyArea(std::span<const std::uint8_t> source, int width, const CountRect& area, std::span<std::uint8_t> bgr) {
    if (area.x1 <= area.x0) {
        return;
    }
    const std::size_t stride = BgrStride(width);
    const std::size_t bytes = static_cast<std::size_t>(area.x1 - area.x0) * 3;
    for (int y = area.y0; y < area.y1; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(area.x0) * 3;
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(at), bytes, bgr.begin() + static_cast<std::ptrdiff_t>(at));
    }
}
