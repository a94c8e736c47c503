#pragma once
// The cell-counting engine. It keeps a copy of a 24-bit picture (rows from
// the bottom, each padded to 4 bytes, as the picture holds them), a grey
// image of one channel, the target mask ("edge image": one byte per pixel,
// 255 on a target) and the targets found in the mask with their measures.
// Targets are the 8-connected components of the mask. Points and regions
// count y from the bottom row. Every picture buffer passed in or out has
// the padded layout and the engine's size; a smaller one is refused.
//
// creatAimImg measures on a worker thread; only getResultStation,
// getCurrentNum and getObjCounts answer while it runs, every other call
// first waits for it, and destruction joins it.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <span>
#include <thread>
#include <vector>

#include "count_geometry.h"
#include "count_records.h"
#include "target_measures.h"

class CIMGCount {
public:
    CIMGCount() = default;
    CIMGCount(const CIMGCount&) = delete;
    CIMGCount& operator=(const CIMGCount&) = delete;
    virtual ~CIMGCount();

    // Binds the engine to a picture: source copied, mask blank, no targets,
    // no region. False (and the engine empty) for a block smaller than the
    // size says.
    bool Initialize(std::span<const std::uint8_t> bits, int width, int height);
    // Replaces the picture, keeping the mark colour, region and channel; the
    // grey image follows, mask and targets are cleared.
    bool resetSrcImg(std::span<const std::uint8_t> bits, int width, int height);
    // Grey source from channel 0 red, 1 green, 2 blue, 3 luminance.
    bool creatGrayImg(int channel);

    void setMarkColor(std::uint32_t colour);  // COLORREF 0x00BBGGRR
    std::uint32_t getMarkColor() const { return markColour_; }

    // Histogram of the grey image over the whole picture.
    bool getHistogram(std::span<int, 256> histogram, int& largest);
    // Lower (cx) and upper (cy) grey level of the last mask.
    CountSize getValve() const { return valve_; }

    // Mask of grey levels low..high inclusive (a negative low counts as 0)
    // within the region; mode 1 chooses the levels itself. Clears targets.
    bool creatEdgeImg(int low, int high, int mode);
    // Grows the mask from a point: the 8-connected pixels of the current
    // levels, or of levels within 20 of the point's when it lies outside
    // them. Non-zero when pixels were added.
    int creatEdgeImgByPoint(int x, int y);

    // Finds and measures the targets of the mask on the worker thread.
    // False when there is no picture or it is already running.
    bool creatAimImg();
    int getResultStation() const { return running_.load(std::memory_order_acquire) ? 1 : 0; }
    int getCurrentNum() const { return built_.load(std::memory_order_relaxed); }
    int getObjCounts() const { return found_.load(std::memory_order_relaxed); }
    // Measures the mask's targets at once, after manual edits.
    void RefCountsResultList();
    std::vector<_tagOBJRESULT>& getObjectVector();
    // Marks records excluded by the filter; a new result list starts unfiltered.
    void setObjFilter(const _tagOBJFILTER& filter);

    // Paint into `bits` the outlines of the mask; `thick` adds the pixels
    // touching the background diagonally.
    bool DrawMarkInSrcIMGAfterEdge(std::span<std::uint8_t> bits, bool thick);
    // The outlines of the measured targets: only those the filter keeps
    // when `countedOnly`.
    bool DrawMarkInSrcIMG(std::span<std::uint8_t> bits, bool countedOnly);
    // Every pixel of one target.
    bool DrawMarkInSrcIMG(std::span<std::uint8_t> bits, int number);
    // Non-zero when (x, y) lies on a measured target the filter keeps; its
    // number is stored.
    int FindPixBGR(int x, int y, unsigned& number);

    // The counting region; false when none is set, the whole picture given.
    bool getSelRect(CountPoint& corner, int& width, int& height);
    void setSelRect(CountPoint corner, int width, int height);
    void releaseSelRect();
    CountSize GetImgSize() const { return {width_, height_}; }
    std::span<const std::uint8_t> getSrcImgBits();

    // The mask as an 8-bit BMP; flag 0 and 1 both save the whole mask.
    bool saveEdgeImg(const std::filesystem::path& path, int flag);
    // Refuses a file of another size and keeps the mask; clears targets.
    bool loadEdgeImg(const std::filesystem::path& path);

    // Manual edits. Those given `bits` repaint it: the source, then the
    // mask's outlines. Each returns non-zero when the mask changed. The pen
    // and eraser repaint only about the pen, with outlines as thick as the
    // marks were last painted.
    int ErasureOrCreatObjByPix(std::span<std::uint8_t> bits, int x, int y, int penSize, bool erase);
    int erasureObjByPoint(std::span<std::uint8_t> bits, int x, int y, bool thick);
    int cutObjByLine(int x1, int y1, int x2, int y2, int thickness, int mode);
    int FillOutLine(std::span<std::uint8_t> bits, bool thick);

    std::span<std::uint8_t> EdgeImage();
    std::span<const std::uint8_t> GetGreyImage();

private:
    void WaitForAnalysis();
    void ClearTargets();
    void MakeGrey();
    CountRect Region() const;
    bool FitsPicture(std::span<const std::uint8_t> bits) const;
    bool Repaint(std::span<std::uint8_t> bits, bool thick);

    std::vector<std::uint8_t> source_;
    std::vector<std::uint8_t> grey_;
    std::vector<std::uint8_t> mask_;
    TargetLabels labels_;
    std::vector<_tagOBJRESULT> objects_;
    int width_ = 0;
    int height_ = 0;
    int channel_ = 3;
    std::uint32_t markColour_ = 255;
    bool thickMarks_ = false;
    CountSize valve_;
    bool hasRegion_ = false;
    CountPoint regionCorner_;
    int regionWidth_ = 0;
    int regionHeight_ = 0;

    std::thread worker_;
    std::atomic<bool> running_{false};
    std::atomic<int> built_{0};
    std::atomic<int> found_{0};
};
