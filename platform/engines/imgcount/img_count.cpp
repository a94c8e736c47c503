#include "img_count.h"

#include <algorithm>
#include <cstdlib>

#include "grey_levels.h"
#include "mask_edits.h"
#include "picture.h"

namespace {

// Levels about a grown point's own when it lies outside the current ones.
constexpr int kGrowTolerance = 20;

}  // namespace

CIMGCount::~CIMGCount() { WaitForAnalysis(); }

void CIMGCount::WaitForAnalysis() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void CIMGCount::ClearTargets() {
    labels_ = TargetLabels{};
    objects_.clear();
    built_.store(0, std::memory_order_relaxed);
    found_.store(0, std::memory_order_relaxed);
}

bool CIMGCount::FitsPicture(std::span<const std::uint8_t> bits) const {
    return width_ > 0 && bits.size() / BgrStride(width_) >= static_cast<std::size_t>(height_);
}

CountRect CIMGCount::Region() const {
    if (!hasRegion_) {
        return CountRect{0, 0, width_, height_};
    }
    return CountRect::Clipped(regionCorner_, regionWidth_, regionHeight_, width_, height_);
}

bool CIMGCount::Initialize(std::span<const std::uint8_t> bits, int width, int height) {
    WaitForAnalysis();
    hasRegion_ = false;
    channel_ = 3;
    if (!resetSrcImg(bits, width, height)) {
        source_.clear();
        grey_.clear();
        mask_.clear();
        width_ = height_ = 0;
        return false;
    }
    return true;
}

bool CIMGCount::resetSrcImg(std::span<const std::uint8_t> bits, int width, int height) {
    WaitForAnalysis();
    if (width <= 0 || height <= 0 || bits.size() / BgrStride(width) < static_cast<std::size_t>(height)) {
        return false;
    }
    width_ = width;
    height_ = height;
    source_.assign(bits.begin(), bits.begin() + static_cast<std::ptrdiff_t>(BgrStride(width) * std::size_t(height)));
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    grey_.assign(pixels, 0);
    mask_.assign(pixels, 0);
    valve_ = {};
    MakeGrey();
    ClearTargets();
    return true;
}

void CIMGCount::MakeGrey() { MakeGreyImage(source_, width_, height_, static_cast<GreyChannel>(channel_), grey_); }

bool CIMGCount::creatGrayImg(int channel) {
    WaitForAnalysis();
    if (source_.empty() || channel < 0 || channel > 3) {
        return false;
    }
    channel_ = channel;
    MakeGrey();
    return true;
}

void CIMGCount::setMarkColor(std::uint32_t colour) {
    WaitForAnalysis();
    markColour_ = colour;
}

bool CIMGCount::getHistogram(std::span<int, 256> histogram, int& largest) {
    WaitForAnalysis();
    const GreyHistogram counts = HistogramOf(grey_, width_, CountRect{0, 0, width_, height_});
    largest = 0;
    for (std::size_t level = 0; level < 256; ++level) {
        histogram[level] = static_cast<int>(counts[level]);
        largest = std::max(largest, histogram[level]);
    }
    return !source_.empty();
}

bool CIMGCount::creatEdgeImg(int low, int high, int mode) {
    WaitForAnalysis();
    if (source_.empty()) {
        return false;
    }
    const CountRect region = Region();
    if (mode == 1) {
        valve_ = AutomaticWindow(HistogramOf(grey_, width_, region));
    } else {
        valve_ = {std::clamp(low, 0, 255), std::clamp(high, 0, 255)};
    }
    ThresholdMask(grey_, width_, height_, valve_.cx, valve_.cy, region, mask_);
    ClearTargets();
    return true;
}

int CIMGCount::creatEdgeImgByPoint(int x, int y) {
    WaitForAnalysis();
    const CountRect region = Region();
    if (!region.Contains(x, y)) {
        return 0;
    }
    const int seed =
        grey_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    int low = valve_.cx;
    int high = valve_.cy;
    if (seed < low || seed > high) {
        low = seed - kGrowTolerance;
        high = seed + kGrowTolerance;
    }
    const std::size_t added = FloodMask(MaskView{mask_, width_, height_}, x, y, region, 255, [&](int px, int py) {
        const int level =
            grey_[static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(px)];
        return level >= low && level <= high;
    });
    if (added != 0) {
        ClearTargets();
    }
    return added != 0 ? 1 : 0;
}

bool CIMGCount::creatAimImg() {
    WaitForAnalysis();
    if (source_.empty()) {
        return false;
    }
    ClearTargets();
    running_.store(true, std::memory_order_release);
    worker_ = std::thread([this] {
        TargetLabels labels = LabelTargets(mask_, width_, height_);
        found_.store(static_cast<int>(labels.count), std::memory_order_relaxed);
        std::vector<_tagOBJRESULT> objects = MeasureTargets(labels, grey_, width_, height_, built_);
        labels_ = std::move(labels);
        objects_ = std::move(objects);
        running_.store(false, std::memory_order_release);
    });
    return true;
}

void CIMGCount::RefCountsResultList() {
    WaitForAnalysis();
    labels_ = LabelTargets(mask_, width_, height_);
    found_.store(static_cast<int>(labels_.count), std::memory_order_relaxed);
    objects_ = MeasureTargets(labels_, grey_, width_, height_, built_);
}

std::vector<_tagOBJRESULT>& CIMGCount::getObjectVector() {
    WaitForAnalysis();
    return objects_;
}

void CIMGCount::setObjFilter(const _tagOBJFILTER& filter) {
    WaitForAnalysis();
    ApplyFilter(objects_, filter);
}

bool CIMGCount::DrawMarkInSrcIMGAfterEdge(std::span<std::uint8_t> bits, bool thick) {
    WaitForAnalysis();
    if (!FitsPicture(bits)) {
        return false;
    }
    thickMarks_ = thick;
    PaintMaskOutlines(mask_, width_, height_, thick, markColour_, bits);
    return true;
}

bool CIMGCount::DrawMarkInSrcIMG(std::span<std::uint8_t> bits, bool countedOnly) {
    WaitForAnalysis();
    if (!FitsPicture(bits) || labels_.labels.empty()) {
        return false;
    }
    const auto labelAt = [&](int x, int y) -> std::uint32_t {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) {
            return 0;
        }
        return labels_
            .labels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    };
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t label = labelAt(x, y);
            if (label == 0 || (countedOnly && objects_[label - 1].excluded != 0)) {
                continue;
            }
            if (labelAt(x - 1, y) != label || labelAt(x + 1, y) != label || labelAt(x, y - 1) != label ||
                labelAt(x, y + 1) != label) {
                PaintPixel(bits, width_, x, y, markColour_);
            }
        }
    }
    return true;
}

bool CIMGCount::DrawMarkInSrcIMG(std::span<std::uint8_t> bits, int number) {
    WaitForAnalysis();
    if (!FitsPicture(bits) || number <= 0 || static_cast<std::uint32_t>(number) > labels_.count) {
        return false;
    }
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (labels_.labels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                               static_cast<std::size_t>(x)] == static_cast<std::uint32_t>(number)) {
                PaintPixel(bits, width_, x, y, markColour_);
            }
        }
    }
    return true;
}

int CIMGCount::FindPixBGR(int x, int y, unsigned& number) {
    WaitForAnalysis();
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || labels_.labels.empty()) {
        return 0;
    }
    const std::uint32_t label =
        labels_.labels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    if (label == 0 || objects_[label - 1].excluded != 0) {
        return 0;
    }
    number = label;
    return 1;
}

bool CIMGCount::getSelRect(CountPoint& corner, int& width, int& height) {
    WaitForAnalysis();
    if (!hasRegion_) {
        corner = CountPoint{};
        width = width_;
        height = height_;
        return false;
    }
    corner = regionCorner_;
    width = regionWidth_;
    height = regionHeight_;
    return true;
}

void CIMGCount::setSelRect(CountPoint corner, int width, int height) {
    WaitForAnalysis();
    hasRegion_ = true;
    regionCorner_ = corner;
    regionWidth_ = width;
    regionHeight_ = height;
}

void CIMGCount::releaseSelRect() {
    WaitForAnalysis();
    hasRegion_ = false;
}

std::span<const std::uint8_t> CIMGCount::getSrcImgBits() {
    WaitForAnalysis();
    return source_;
}

bool CIMGCount::saveEdgeImg(const std::filesystem::path& path, int /*flag*/) {
    WaitForAnalysis();
    if (mask_.empty()) {
        return false;
    }
    CPicture picture(kPictureBmp);
    return picture.CreateFromArray(mask_, width_, height_, 8, width_, false) && picture.Save(path, kPictureBmp);
}

bool CIMGCount::loadEdgeImg(const std::filesystem::path& path) {
    WaitForAnalysis();
    CPicture picture;
    if (mask_.empty() || !picture.Load(path, kPictureBmp) || picture.GetBpp() != 8 || picture.GetWidth() != width_ ||
        picture.GetHeight() != height_) {
        return false;
    }
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* row = picture.GetBits(y);
        std::copy(row, row + width_, mask_.begin() + static_cast<std::ptrdiff_t>(y) * width_);
    }
    ClearTargets();
    return true;
}

bool CIMGCount::Repaint(std::span<std::uint8_t> bits, bool thick) {
    if (!FitsPicture(bits)) {
        return false;
    }
    thickMarks_ = thick;
    std::copy(source_.begin(), source_.end(), bits.begin());
    PaintMaskOutlines(mask_, width_, height_, thick, markColour_, bits);
    return true;
}

int CIMGCount::ErasureOrCreatObjByPix(std::span<std::uint8_t> bits, int x, int y, int penSize, bool erase) {
    WaitForAnalysis();
    if (!FitsPicture(bits)) {
        return 0;
    }
    const std::size_t changed = PaintSquare(MaskView{mask_, width_, height_}, x, y, penSize, Region(), erase ? 0 : 255);
    if (changed == 0) {
        return 0;
    }
    ClearTargets();
    // Called on every mouse move of a drag: only the pen's square and the
    // pixels beside it, whose outline it may change, are painted again, in
    // the marks' last thickness.
    const int reach = std::max(penSize, 0) + 1;
    const CountRect touched = CountRect::Clipped(CountPoint{x - reach, y - reach}, 2 * reach + 1, 2 * reach + 1,
                                                 width_, height_);
    CopyArea(source_, width_, touched, bits);
    PaintMaskOutlines(mask_, width_, height_, thickMarks_, markColour_, bits, touched);
    return 1;
}

int CIMGCount::erasureObjByPoint(std::span<std::uint8_t> bits, int x, int y, bool thick) {
    WaitForAnalysis();
    if (!FitsPicture(bits)) {
        return 0;
    }
    const std::size_t changed = FloodMask(MaskView{mask_, width_, height_}, x, y, CountRect{0, 0, width_, height_}, 0,
                                          [](int, int) { return true; });
    if (changed == 0) {
        return 0;
    }
    ClearTargets();
    Repaint(bits, thick);
    return 1;
}

int CIMGCount::cutObjByLine(int x1, int y1, int x2, int y2, int thickness, int /*mode*/) {
    WaitForAnalysis();
    if (mask_.empty()) {
        return 0;
    }
    const std::size_t changed = CutLine(MaskView{mask_, width_, height_}, x1, y1, x2, y2, thickness);
    if (changed != 0) {
        ClearTargets();
    }
    return changed != 0 ? 1 : 0;
}

int CIMGCount::FillOutLine(std::span<std::uint8_t> bits, bool thick) {
    WaitForAnalysis();
    if (!FitsPicture(bits)) {
        return 0;
    }
    const std::size_t changed = FillHoles(MaskView{mask_, width_, height_}, Region());
    if (changed != 0) {
        ClearTargets();
    }
    thickMarks_ = thick;
    PaintMaskOutlines(mask_, width_, height_, thick, markColour_, bits);
    return changed != 0 ? 1 : 0;
}

std::span<std::uint8_t> CIMGCount::EdgeImage() {
    WaitForAnalysis();
    return mask_;
}

std::span<const std::uint8_t> CIMGCount::GetGreyImage() {
    WaitForAnalysis();
    return grey_;
}
