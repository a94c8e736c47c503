#pragma once
// The image stitching engine (`CImageStitching`): pictures arranged in one
// row or one column, given by path, joined into one picture. Each picture's
// shift from its neighbour is found by TileMatcher; the result marks its
// effective area, the rectangle without empty pixels.
//
// startProgressing reads the pictures and then stitches on a worker thread;
// IsProgressing and getProgressStep answer at any time, every other call
// first waits for the worker, and destruction joins it. When a pair shows
// no shared part (featureless or unrelated pictures) there is no result.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <span>
#include <thread>
#include <vector>

#include "bgr_image.h"
#include "tile_mosaic.h"

class CImageStitching {
public:
    // table[row][column]: the picture paths of a rows x columns grid.
    CImageStitching(std::vector<std::vector<std::filesystem::path>> table, int columns, int rows);
    CImageStitching(const CImageStitching&) = delete;
    CImageStitching& operator=(const CImageStitching&) = delete;
    virtual ~CImageStitching();

    // Reads the pictures and starts stitching. 0 (nothing started) unless
    // the table is one row or one column of at least two pictures and has
    // the shape given, when a picture cannot be read, or when the engine
    // has started before.
    int startProgressing();
    int IsProgressing() const { return running_.load(std::memory_order_acquire) ? 1 : 0; }
    // Percent done, 0 to 100.
    int getProgressStep() const { return step_.load(std::memory_order_relaxed); }
    // The stitched picture: width x height x 3 bytes, BGR, rows top-down and
    // packed, owned by the engine; empty (size 0 x 0) when there is none.
    std::span<const std::uint8_t> getDstImage(int& width, int& height);
    // The effective area in the result's pixels; empty without a result.
    StitchRect getEffectiveArea();

private:
    void Wait();
    void Stitch();

    std::vector<std::vector<std::filesystem::path>> table_;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<BgrImage> tiles_;
    BgrImage result_;
    StitchRect effective_;
    bool started_ = false;
    std::thread worker_;
    std::atomic<bool> running_{false};
    std::atomic<int> step_{0};
};

// The scratch of one stitch, reused by the next one of pictures of the
// same sizes so that it allocates nothing.
struct StitchScratch {
    TileMatcher matcher;
    std::vector<TileOffset> offsets;  // of each picture from the one before
    MosaicLayout layout;
};

// Stitches pictures in memory: the work of the engine's thread. False (and
// `canvas` untouched) when a pair does not match or the layout fails;
// `progress`, when given, goes up to 90 as pairs are matched.
bool StitchChain(std::span<const BgrView> tiles, ChainDirection direction, StitchScratch& scratch, BgrImage& canvas,
                 StitchRect& effective, std::atomic<int>* progress = nullptr);
