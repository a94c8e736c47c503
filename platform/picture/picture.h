#pragma once
// The program's picture: a device-independent bitmap held in memory.
//
// Pixels are 8-bit palette indices (a grey ramp unless a file brought its own
// colours) or 24-bit BGR. Rows are stored bottom-up and each row is padded to
// a multiple of 4 bytes, so the buffer can go to the display and to the
// counting engine unchanged. Pixel operations and file codecs build on every
// platform; drawing lives in picture_gdi.h (Windows only).

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

// File kinds; 0 on load means "detect from the file's first bytes".
enum PictureType : int {
    kPictureAuto = 0,
    kPictureBmp = 1,
    kPictureJpeg = 2,
    kPictureTiff = 3,
    kPicturePng = 4,
};

// One palette entry in the DIB order (blue, green, red, reserved).
struct PaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

class CPicture {
public:
    // Pictures larger than this are refused: no camera or file of the program
    // comes near it, and it keeps a lying file header from taking the memory.
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 25;
    static constexpr int kMaxSide = 1 << 16;

    CPicture() = default;
    explicit CPicture(int type) : type_(type) {}
    CPicture(int width, int height, int bpp, int type) { Create(width, height, bpp, type); }
    CPicture(const std::filesystem::path& path, int type) { Load(path, type); }
    // The flags say which parts to copy; this picture has no selection or
    // alpha, so only copyPixels matters (false gives a blank of the same form).
    CPicture(const CPicture& other, bool copyPixels, bool copySelection, bool copyAlpha);
    CPicture(const CPicture&) = default;
    CPicture& operator=(const CPicture&) = default;
    CPicture(CPicture&&) noexcept = default;
    CPicture& operator=(CPicture&&) noexcept = default;
    virtual ~CPicture() = default;

    // A blank picture (all zero; 8-bit pictures get the grey ramp). bpp is 8
    // or 24; returns false (and leaves the picture empty) for anything else.
    bool Create(int width, int height, int bpp, int type);
    // As Create, but the pixel bytes are left unset: for a reader that fills
    // every byte at once, so that a large picture is not cleared first.
    bool CreateForOverwrite(int width, int height, int bpp, int type);
    // Rows are taken in the order given: topDown says whether rows[0] is the
    // top. stride is the distance between source rows in bytes.
    bool CreateFromArray(std::span<const std::uint8_t> rows, int width, int height, int bpp, int stride, bool topDown);
    bool Copy(const CPicture& source, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    void Destroy();

    bool Load(const std::filesystem::path& path, int type);
    bool Save(const std::filesystem::path& path, int type) const;
    // Decoding from and encoding to memory, for the file functions above,
    // documents that embed pictures and the fuzzer.
    bool Decode(std::span<const std::uint8_t> bytes, int type);
    bool Encode(std::vector<std::uint8_t>& bytes, int type) const;
    void SetJpegQuality(std::uint8_t quality) { jpegQuality_ = quality; }
    std::uint8_t GetJpegQuality() const { return jpegQuality_; }
    // Why the last Load, Save, Decode or Encode failed.
    const std::string& GetLastError() const { return lastError_; }

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    int GetBpp() const { return bpp_; }
    int GetType() const { return type_; }
    // Bytes of pixel data (0 when empty).
    std::size_t GetSize() const { return pixels_.size(); }
    bool IsValid() const { return !pixels_.empty(); }
    std::size_t GetStride() const { return stride_; }
    static std::size_t StrideFor(int width, int bpp);

    // Row `row` counted from the bottom; row 0 starts the whole buffer.
    // Returns nullptr for a row outside the picture.
    std::uint8_t* GetBits(int row = 0);
    const std::uint8_t* GetBits(int row = 0) const;
    std::span<const std::uint8_t> Pixels() const { return pixels_; }
    std::span<std::uint8_t> Pixels() { return pixels_; }

    // Palette of an 8-bit picture (256 entries); empty for 24-bit.
    std::span<const PaletteEntry> GetPalette() const { return palette_; }
    void SetPalette(std::span<const PaletteEntry> entries);
    bool IsGreyPalette() const;
    // Colour of the pixel at (x, y), y counted from the top, as 0x00RRGGBB.
    // Returns 0 outside the picture.
    std::uint32_t GetPixelColor(int x, int y) const;

    // Region [left, right) x [top, bottom) (top-down coordinates), clipped to
    // the picture, copied into dest. False when nothing remains.
    bool Crop(int left, int top, int right, int bottom, CPicture& dest) const;
    // 3x3 convolution in place: each channel becomes
    // sum(kernel[j] * neighbour[j]) / divisor + offset, clamped to 0..255.
    // kernel[0] weighs the upper-left neighbour; edges repeat the border.
    bool Filter(std::span<const std::int32_t> kernel, int kernelSize, int divisor, int offset);
    // Sharpens by adding amount times (pixel - Gaussian blur of radius) where
    // that difference is at least threshold.
    bool UnsharpMask(float radius, float amount, int threshold);
    // Brightness -255..255 is added; contrast -100..100 scales around 128.
    bool Light(int brightness, int contrast);
    // Gives every pixel the hue and saturation (0..255 each) keeping its
    // lightness, blended with the original by blend (0..1).
    bool Colorize(std::uint8_t hue, std::uint8_t saturation, float blend);
    // This picture becomes `source` with every colour moved in hue,
    // saturation and lightness: hue turns by hue / 256 of a full turn
    // (-128..128), saturation scales by 1 + saturation / 255 (-255 greys,
    // 255 doubles), lightness adds lightness / 255 (-255..255). 0, 0, 0
    // gives the source unchanged. An 8-bit source keeps its indices and
    // takes the new colours in its palette. False for an empty source.
    bool Colorize(const CPicture& source, int hue, int saturation, int lightness);
    bool ShiftRGB(int red, int green, int blue);
    bool Mirror();  // left-right
    bool Flip();    // top-bottom
    bool Negative();
    bool fudiao();                           // emboss: relief of the upper-left to lower-right slope
    bool RotateLeft(CPicture& dest) const;   // 90 degrees counter-clockwise
    bool RotateRight(CPicture& dest) const;  // 90 degrees clockwise
    bool Rotate180(CPicture& dest) const;

    static std::array<PaletteEntry, 256> GreyPalette();
    static bool IsSizeAllowed(std::int64_t width, std::int64_t height);

private:
    // Bytes that a resize leaves unset; Create clears them itself.
    template <typename T>
    struct UnsetAllocator : std::allocator<T> {
        template <typename U>
        struct rebind {
            using other = UnsetAllocator<U>;
        };
        template <typename U>
        void construct(U* p) noexcept {
            ::new (static_cast<void*>(p)) U;
        }
        template <typename U, typename... Args>
        void construct(U* p, Args&&... args) {
            ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
        }
    };

    bool Fail(std::string message) const;
    bool Shape(int width, int height, int bpp, int type);

    std::vector<std::uint8_t, UnsetAllocator<std::uint8_t>> pixels_;
    std::vector<PaletteEntry> palette_;
    int width_ = 0;
    int height_ = 0;
    int bpp_ = 0;
    int type_ = kPictureAuto;
    std::size_t stride_ = 0;
    std::uint8_t jpegQuality_ = 90;
    mutable std::string lastError_;
};
