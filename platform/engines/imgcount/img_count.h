#pragma once
// The counting engine as far as the image controller uses it: it is
// initialised over a picture's 24-bit pixel block, makes its grey working
// image and holds the colour it marks counted cells with, the region
// counting is limited to and the edge image.
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

class CIMGCount {
public:
    // Grey conversion modes of MakeGreyImage.
    enum GreyMode : int { kGreyRed = 0, kGreyGreen = 1, kGreyBlue = 2, kGreyLuminance = 3 };

    // bgr: the picture's whole pixel block, 24-bit BGR rows bottom-up, each
    // padded to 4 bytes. The engine keeps its own copy. False (and nothing
    // kept) when the block is smaller than the size says.
    bool Init(std::span<const std::uint8_t> bgr, int width, int height);
    // Fills the grey image from the picture (same row order, rows of
    // `width` bytes without padding). False before Init or for a bad mode.
    bool MakeGreyImage(int mode);
    void SetMarkColor(std::uint32_t colour) { markColour_ = colour; }

    // The region counting is limited to, in picture pixels.
    void SetSelection(int x, int y, int width, int height);
    void ReleaseSelection() { hasSelection_ = false; }
    // False (and the values untouched) when no region is set.
    bool GetSelection(int& x, int& y, int& width, int& height) const;

    // The edge image: one byte per pixel (0 or 255), rows in the picture's
    // order, blank after Init. Saved as an 8-bit BMP; flag 1 writes it
    // whole. Loading refuses a file of another size and keeps the old one.
    std::span<std::uint8_t> EdgeImage() { return edge_; }
    bool saveEdgeImg(const std::filesystem::path& path, int flag) const;
    bool loadEdgeImg(const std::filesystem::path& path);

    std::uint32_t GetMarkColor() const { return markColour_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    std::span<const std::uint8_t> GetGreyImage() const { return grey_; }

private:
    std::vector<std::uint8_t> pixels_;
    std::vector<std::uint8_t> grey_;
    std::vector<std::uint8_t> edge_;
    bool hasSelection_ = false;
    int selX_ = 0;
    int selY_ = 0;
    int selWidth_ = 0;
    int selHeight_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::uint32_t markColour_ = 255;
};
