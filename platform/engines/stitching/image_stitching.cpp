#include "image_stitching.h"

#include <utility>

CImageStitching::CImageStitching(std::vector<std::vector<std::filesystem::path>> table, int columns, int rows)
    : table_(std::move(table)), columns_(columns), rows_(rows) {}

CImageStitching::~CImageStitching() { Wait(); }

void CImageStitching::Wait() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

int CImageStitching::startProgressing() {
    Wait();
    const bool chain = (rows_ == 1 && columns_ >= 2) || (columns_ == 1 && rows_ >= 2);
    if (started_ || !chain || table_.size() != static_cast<std::size_t>(rows_)) {
        return 0;
    }
    std::vector<BgrImage> tiles;
    for (const std::vector<std::filesystem::path>& row : table_) {
        if (row.size() != static_cast<std::size_t>(columns_)) {
            return 0;
        }
        for (const std::filesystem::path& path : row) {
            tiles.emplace_back();
            if (!LoadBgrImage(path, tiles.back())) {
                return 0;
            }
        }
    }
    started_ = true;
    tiles_ = std::move(tiles);
    step_.store(0, std::memory_order_relaxed);
    running_.store(true, std::memory_order_release);
    worker_ = std::thread([this] { Stitch(); });
    return 1;
}

bool StitchChain(std::span<const BgrView> tiles, ChainDirection direction, StitchScratch& scratch, BgrImage& canvas,
                 StitchRect& effective, std::atomic<int>* progress) {
    scratch.offsets.clear();
    for (std::size_t i = 1; i < tiles.size(); ++i) {
        const std::optional<TileOffset> offset = scratch.matcher.Match(tiles[i - 1], tiles[i]);
        if (!offset) {
            return false;
        }
        scratch.offsets.push_back(*offset);
        if (progress != nullptr) {
            progress->store(static_cast<int>(i * 90 / tiles.size()), std::memory_order_relaxed);
        }
    }
    if (!LayOutMosaic(tiles, scratch.offsets, direction, scratch.layout) ||
        !PaintMosaic(tiles, scratch.layout, canvas)) {
        return false;
    }
    effective = scratch.layout.effective;
    return true;
}

void CImageStitching::Stitch() {
    const std::vector<BgrView> views(tiles_.begin(), tiles_.end());
    StitchScratch scratch;
    BgrImage canvas;
    StitchRect effective;
    if (StitchChain(views, rows_ == 1 ? ChainDirection::kRow : ChainDirection::kColumn, scratch, canvas, effective,
                    &step_)) {
        result_ = std::move(canvas);
        effective_ = effective;
    }
    tiles_.clear();
    step_.store(100, std::memory_order_relaxed);
    running_.store(false, std::memory_order_release);
}

std::span<const std::uint8_t> CImageStitching::getDstImage(int& width, int& height) {
    Wait();
    width = result_.width;
    height = result_.height;
    return result_.pixels;
}

StitchRect CImageStitching::getEffectiveArea() {
    Wait();
    return effective_;
}
