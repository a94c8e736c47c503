#include "img_count.h"

#include <algorithm>

#include "picture.h"

namespace {

std::size_t StrideOf(int width) { return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4; }

}  // namespace

bool CIMGCount::Init(std::span<const std::uint8_t> bgr, int width, int height) {
    pixels_.clear();
    grey_.clear();
    edge_.clear();
    width_ = height_ = 0;
    if (width <= 0 || height <= 0 || bgr.size() / StrideOf(width) < static_cast<std::size_t>(height)) {
        return false;
    }
    pixels_.assign(bgr.begin(),
                   bgr.begin() + static_cast<std::ptrdiff_t>(StrideOf(width) * static_cast<std::size_t>(height)));
    width_ = width;
    height_ = height;
    edge_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return true;
}

void CIMGCount::SetSelection(int x, int y, int width, int height) {
    hasSelection_ = true;
    selX_ = x;
    selY_ = y;
    selWidth_ = width;
    selHeight_ = height;
}

bool CIMGCount::GetSelection(int& x, int& y, int& width, int& height) const {
    if (!hasSelection_) {
        return false;
    }
    x = selX_;
    y = selY_;
    width = selWidth_;
    height = selHeight_;
    return true;
}

bool CIMGCount::saveEdgeImg(const std::filesystem::path& path, int flag) const {
    if (flag != 1 || edge_.empty()) {
        return false;
    }
    CPicture picture(kPictureBmp);
    return picture.CreateFromArray(edge_, width_, height_, 8, width_, false) && picture.Save(path, kPictureBmp);
}

bool CIMGCount::loadEdgeImg(const std::filesystem::path& path) {
    CPicture picture;
    if (edge_.empty() || !picture.Load(path, kPictureBmp) || picture.GetBpp() != 8 || picture.GetWidth() != width_ ||
        picture.GetHeight() != height_) {
        return false;
    }
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* row = picture.GetBits(y);
        std::copy(row, row + width_, edge_.begin() + static_cast<std::ptrdiff_t>(y) * width_);
    }
    return true;
}

bool CIMGCount::MakeGreyImage(int mode) {
    if (pixels_.empty() || mode < kGreyRed || mode > kGreyLuminance) {
        return false;
    }
    const std::size_t stride = StrideOf(width_);
    grey_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* row = pixels_.data() + static_cast<std::size_t>(y) * stride;
        std::uint8_t* out = grey_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t b = row[x * 3];
            const std::uint32_t g = row[x * 3 + 1];
            const std::uint32_t r = row[x * 3 + 2];
            switch (mode) {
            case kGreyRed: out[x] = static_cast<std::uint8_t>(r); break;
            case kGreyGreen: out[x] = static_cast<std::uint8_t>(g); break;
            case kGreyBlue: out[x] = static_cast<std::uint8_t>(b); break;
            default: out[x] = static_cast<std::uint8_t>((299 * r + 587 * g + 114 * b + 500) / 1000); break;
            }
        }
    }
    return true;
}
