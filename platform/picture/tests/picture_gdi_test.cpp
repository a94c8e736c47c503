#include <gtest/gtest.h>

#include <windows.h>

#include "picture_gdi.h"
#include "picture_helpers.h"

namespace {

// A 32-bit top-down DIB section selected into a memory DC.
class DibCanvas {
public:
    DibCanvas(int width, int height) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = ::CreateCompatibleDC(nullptr);
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = ::SelectObject(dc_, bitmap_);
    }
    ~DibCanvas() {
        ::SelectObject(dc_, old_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    std::uint32_t At(int x, int y) const {
        ::GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

TEST(PictureGdi, DrawStretchesTopRowToTop) {
    const CPicture p = MakeColour(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    DibCanvas canvas(6, 6);
    ASSERT_TRUE(picture_gdi::Draw(p, canvas.dc(), 1, 1, 4, 4));
    EXPECT_EQ(canvas.At(1, 1), 0xFF0000u);
    EXPECT_EQ(canvas.At(4, 1), 0x00FF00u);
    EXPECT_EQ(canvas.At(1, 4), 0x0000FFu);
    EXPECT_EQ(canvas.At(4, 4), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(0, 0), 0u);
    EXPECT_EQ(canvas.At(5, 5), 0u);
    // -1 means the picture's own size.
    DibCanvas own(4, 4);
    ASSERT_TRUE(picture_gdi::Draw(p, own.dc(), 0, 0));
    EXPECT_EQ(own.At(1, 1), 0xFFFFFFu);
    EXPECT_EQ(own.At(2, 2), 0u);
}

TEST(PictureGdi, PaletteColoursReachTheScreen) {
    CPicture p = MakeGrey(2, 1, {0, 1});
    const std::vector<PaletteEntry> palette = {{0, 0, 200, 0}, {100, 50, 0, 0}};
    p.SetPalette(palette);
    DibCanvas canvas(2, 1);
    ASSERT_TRUE(picture_gdi::Draw2(p, canvas.dc(), 0, 0, 2, 1));
    EXPECT_EQ(canvas.At(0, 0), 0xC80000u);
    EXPECT_EQ(canvas.At(1, 0), 0x003264u);
}

TEST(PictureGdi, BitmapRoundTrip) {
    const CPicture p = MakeColour(3, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203});
    DibCanvas canvas(3, 2);
    ASSERT_TRUE(picture_gdi::Draw(p, canvas.dc(), 0, 0, 3, 2));
    CPicture back;
    ASSERT_TRUE(picture_gdi::CreateFromHBITMAP(back, canvas.bitmap()));
    EXPECT_EQ(back.GetBpp(), 24);
    EXPECT_EQ(Colours(back), Colours(p));
    const auto bitmap = picture_gdi::MakeBitmap(p, canvas.dc());
    ASSERT_NE(bitmap, nullptr);
    CPicture fromDevice;
    ASSERT_TRUE(picture_gdi::CreateFromHBITMAP(fromDevice, bitmap.get()));
    EXPECT_EQ(Colours(fromDevice), Colours(p));
    CPicture empty;
    EXPECT_FALSE(picture_gdi::Draw(empty, canvas.dc(), 0, 0));
    EXPECT_EQ(picture_gdi::MakeBitmap(empty, canvas.dc()), nullptr);
}

}  // namespace
