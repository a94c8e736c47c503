// JPEGs of printing programs: four ink channels (CMYK), stored as they are or
// as YCCK, with or without Adobe's marker (whose files store 255 - ink).
// They decode to 24-bit colour; ImageMagick's decoding of its own file and
// files written here with libjpeg from a known picture are the references.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "picture.h"
#include "picture_helpers.h"
#include "synthetic_scene.h"
#include "thumbnail.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadData(const std::string& name) {
    std::ifstream in(std::filesystem::path(VZ_PICTURE_DATA) / name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

struct Difference {
    int worst = 0;
    double mean = 0;
};

Difference Compare(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    Difference d;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        for (int s = 0; s < 24; s += 8) {
            const int diff = std::abs(static_cast<int>((a[i] >> s) & 0xFF) - static_cast<int>((b[i] >> s) & 0xFF));
            d.worst = std::max(d.worst, diff);
            d.mean += diff;
        }
    }
    d.mean /= static_cast<double>(a.size() * 3);
    return d;
}

TEST(JpegInk, ImageMagicksCmykFileDecodesAsItDoes) {
    const Bytes file = ReadData("ycck.jpg");
    const Bytes rgb = ReadData("ycck.rgb");
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(rgb.size(), 37u * 23u * 3u);
    CPicture p;
    ASSERT_TRUE(p.Decode(file, kPictureAuto)) << p.GetLastError();
    EXPECT_EQ(p.GetBpp(), 24);
    ASSERT_EQ(p.GetWidth(), 37);
    ASSERT_EQ(p.GetHeight(), 23);
    std::vector<std::uint32_t> reference;
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        reference.push_back(std::uint32_t{rgb[i]} << 16 | std::uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
    }
    // Same libjpeg samples; only the rounding of the ink product may differ.
    const Difference d = Compare(Colours(p), reference);
    EXPECT_LE(d.worst, 2);
    EXPECT_LT(d.mean, 0.5);

    const auto thumbnail = vz::picture::DecodeThumbnail(file, kPictureJpeg, 74, 74);
    ASSERT_TRUE(thumbnail.Loaded()) << thumbnail.error;
    EXPECT_EQ(thumbnail.picture.GetWidth(), 74);
    EXPECT_EQ(thumbnail.picture.GetHeight(), 46);
}

struct Destination {
    unsigned char* data = nullptr;
    unsigned long size = 0;
    ~Destination() { std::free(data); }
};

// Ink amounts for a colour: black takes what the brightest channel lacks and
// each colour ink the rest, so (255 - c)(255 - k) / 255 gives red back.
void ToInk(std::uint32_t rgb, std::uint8_t ink[4]) {
    const int r = static_cast<int>(rgb >> 16 & 0xFF);
    const int g = static_cast<int>(rgb >> 8 & 0xFF);
    const int b = static_cast<int>(rgb & 0xFF);
    const int light = std::max({r, g, b, 1});
    ink[3] = static_cast<std::uint8_t>(255 - light);
    ink[0] = static_cast<std::uint8_t>(255 - (r * 255 + light / 2) / light);
    ink[1] = static_cast<std::uint8_t>(255 - (g * 255 + light / 2) / light);
    ink[2] = static_cast<std::uint8_t>(255 - (b * 255 + light / 2) / light);
}

// libjpeg writes `picture` as four-channel JPEG in `stored` (JCS_CMYK or
// JCS_YCCK); with adobeMarker the samples are stored inverted, as Adobe's
// programs do, and the marker says so.
Bytes WriteInkJpeg(const CPicture& picture, J_COLOR_SPACE stored, bool adobeMarker) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    Destination destination;
    jpeg_mem_dest(&cinfo, &destination.data, &destination.size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.GetWidth());
    cinfo.image_height = static_cast<JDIMENSION>(picture.GetHeight());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, stored);
    cinfo.write_Adobe_marker = adobeMarker ? TRUE : FALSE;
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.GetWidth()) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < picture.GetWidth(); ++x) {
            std::uint8_t* ink = row.data() + static_cast<std::size_t>(x) * 4;
            ToInk(picture.GetPixelColor(x, y), ink);
            if (adobeMarker) {
                for (int c = 0; c < 4; ++c) {
                    ink[c] = static_cast<std::uint8_t>(255 - ink[c]);
                }
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return Bytes(destination.data, destination.data + destination.size);
}

TEST(JpegInk, EveryInkLayoutGivesTheColoursBack) {
    struct Case {
        const char* name;
        J_COLOR_SPACE stored;
        bool adobeMarker;
    };
    const Case cases[] = {
        {"CMYK, Adobe", JCS_CMYK, true},
        {"YCCK, Adobe", JCS_YCCK, true},
        {"CMYK, plain", JCS_CMYK, false},
    };
    CPicture scene = SyntheticScene(61, 47);
    // The yardstick: the same scene as an ordinary colour JPEG of the same
    // quality, whose colour is also stored at half resolution, as in YCCK.
    scene.SetJpegQuality(95);
    Bytes ordinary;
    ASSERT_TRUE(scene.Encode(ordinary, kPictureJpeg));
    CPicture ordinaryBack;
    ASSERT_TRUE(ordinaryBack.Decode(ordinary, kPictureJpeg));
    const double yardstick = Compare(Colours(ordinaryBack), Colours(scene)).mean;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = WriteInkJpeg(scene, c.stored, c.adobeMarker);
        CPicture p;
        ASSERT_TRUE(p.Decode(file, kPictureJpeg)) << p.GetLastError();
        EXPECT_EQ(p.GetBpp(), 24);
        // A misread inversion or channel order is off by far more.
        const Difference d = Compare(Colours(p), Colours(scene));
        EXPECT_LT(d.mean, yardstick + 1.0) << "ordinary JPEG: " << yardstick;
    }
}

}  // namespace
