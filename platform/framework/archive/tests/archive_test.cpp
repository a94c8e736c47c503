#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "archive.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename Fn>
Bytes Store(Fn&& fn) {
    MemoryStream stream;
    {
        CArchive ar(stream, CArchive::store);
        fn(ar);
        ar.Close();
    }
    return stream.Bytes();
}

std::u16string LoadText(const Bytes& bytes) {
    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    std::u16string text;
    ar >> text;
    return text;
}

ArchiveException::Cause LoadTextError(const Bytes& bytes) {
    try {
        LoadText(bytes);
    } catch (const ArchiveException& e) {
        return e.GetCause();
    }
    ADD_FAILURE() << "no error";
    return ArchiveException::readFailed;
}

TEST(Archive, NumbersAreLittleEndianFixedWidth) {
    const Bytes bytes = Store([](CArchive& ar) {
        ar << std::int32_t{-2} << std::uint32_t{0x11223344} << 2.5f << std::uint8_t{0xAB} << std::uint16_t{0xBEEF};
    });
    const Bytes expected = {0xFE, 0xFF, 0xFF, 0xFF, 0x44, 0x33, 0x22, 0x11, 0x00, 0x00, 0x20, 0x40, 0xAB, 0xEF, 0xBE};
    EXPECT_EQ(bytes, expected);

    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    std::int32_t i = 0;
    std::uint32_t u = 0;
    float f = 0;
    std::uint8_t b = 0;
    std::uint16_t w = 0;
    ar >> i >> u >> f >> b >> w;
    EXPECT_EQ(i, -2);
    EXPECT_EQ(u, 0x11223344u);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(w, 0xBEEF);
}

// The three widths of the length prefix and their boundaries.
TEST(Archive, TextLengthPrefixes) {
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0xFF, 0xFE, 0xFF, 0x00}},
        {3, {0xFF, 0xFE, 0xFF, 0x03}},
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        std::u16string text(c.length, u'x');
        if (c.length > 0) {
            text[0] = u'\u03bc';  // μ: must survive as one UTF-16 unit
        }
        const Bytes bytes = Store([&](CArchive& ar) { ar << text; });
        ASSERT_EQ(bytes.size(), c.prefix.size() + 2 * c.length) << c.length;
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin())) << c.length;
        if (c.length > 0) {
            EXPECT_EQ(bytes[c.prefix.size()], 0xBC);
            EXPECT_EQ(bytes[c.prefix.size() + 1], 0x03);
        }
        EXPECT_EQ(LoadText(bytes), text) << c.length;
    }
}

TEST(Archive, EightBitTextIsAcceptedOnRead) {
    EXPECT_EQ(LoadText({0x03, 'a', 'b', 0xB5}), u"ab\u00b5");
    Bytes longForm = {0xFF, 0x2C, 0x01};  // 300 characters
    longForm.resize(longForm.size() + 300, 'z');
    EXPECT_EQ(LoadText(longForm), std::u16string(300, u'z'));
}

TEST(Archive, EightBitDecoderIsReplaceable) {
    MemoryStream stream(Bytes{0x02, 0xC4, 0xE3});
    CArchive ar(stream, CArchive::load);
    ar.SetAnsiDecoder([](std::span<const std::uint8_t> raw) { return std::u16string(raw.size() / 2, u'\u4f60'); });
    std::u16string text;
    ar >> text;
    EXPECT_EQ(text, u"\u4f60");
}

TEST(Archive, BadTextIsACleanError) {
    struct Case {
        const char* what;
        Bytes bytes;
        ArchiveException::Cause cause;
    };
    const Case cases[] = {
        {"empty stream", {}, ArchiveException::endOfFile},
        {"marker cut short", {0xFF, 0xFE}, ArchiveException::endOfFile},
        {"characters missing", {0xFF, 0xFE, 0xFF, 0x05, 'a', 0}, ArchiveException::endOfFile},
        {"odd byte of a character", {0xFF, 0xFE, 0xFF, 0x01, 'a'}, ArchiveException::endOfFile},
        {"huge 32-bit length",
         {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
         ArchiveException::tooLarge},
        {"8-bit length past the end", {0xFF, 0x00, 0x10, 'a'}, ArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadTextError(c.bytes), c.cause) << c.what;
    }
}

TEST(Archive, TextCapIsPerArchive) {
    const Bytes bytes = Store([](CArchive& ar) { ar << std::u16string(40, u'a'); });
    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    ar.SetMaxTextChars(31);
    std::u16string text;
    try {
        ar >> text;
        FAIL() << "text over the cap was read";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.GetCause(), ArchiveException::tooLarge);
    }
}

TEST(Archive, CountsAreChecked) {
    const Bytes bytes = Store([](CArchive& ar) { ar << std::int32_t{5} << std::int32_t{-1} << std::int32_t{501}; });
    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    EXPECT_EQ(ar.ReadCount(500), 5);
    EXPECT_THROW(ar.ReadCount(500), ArchiveException);
    EXPECT_THROW(ar.ReadCount(500), ArchiveException);
    EXPECT_THROW(ar.ReadCount(500), ArchiveException);  // stream exhausted
}

// Values and blocks that straddle the 4096-byte buffer come back intact.
TEST(Archive, LargeMixedStreamRoundTrips) {
    Bytes pixels(10000);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i * 7);
    }
    const Bytes bytes = Store([&](CArchive& ar) {
        for (std::int32_t i = 0; i < 1021; ++i) {
            ar << i;  // 4084 bytes: the next values cross the buffer's end
        }
        ar << std::uint8_t{9} << std::u16string(3000, u'q');
        ar.Write(pixels);
        ar << -1.25f;
    });
    ASSERT_EQ(bytes.size(), 4084u + 1 + 6 + 6000 + 10000 + 4);

    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    for (std::int32_t i = 0; i < 1021; ++i) {
        std::int32_t v = -1;
        ar >> v;
        ASSERT_EQ(v, i);
    }
    std::uint8_t b = 0;
    std::u16string text;
    ar >> b >> text;
    EXPECT_EQ(b, 9);
    EXPECT_EQ(text, std::u16string(3000, u'q'));
    Bytes back(pixels.size());
    ar.Read(back);
    EXPECT_EQ(back, pixels);
    float f = 0;
    ar >> f;
    EXPECT_EQ(f, -1.25f);
    EXPECT_EQ(ar.Remaining(), 0u);
    EXPECT_THROW(ar >> b, ArchiveException);
}

TEST(Archive, WrongDirectionIsAnError) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::load);
    EXPECT_THROW(ar << std::int32_t{1}, ArchiveException);
}

TEST(Archive, FileStreamWritesAndReadsBack) {
    const auto path = testing_support::UniqueTempPath("vizcam_archive_test.bin");
    {
        FileStream file(path, FileStream::Mode::write);
        CArchive ar(file, CArchive::store);
        ar << std::int32_t{42} << std::u16string(u"\u03bcm");
        ar.Close();
        file.Close();
    }
    EXPECT_EQ(std::filesystem::file_size(path), 4u + 4 + 4);
    {
        FileStream file(path, FileStream::Mode::read);
        CArchive ar(file, CArchive::load);
        std::int32_t v = 0;
        std::u16string text;
        ar >> v >> text;
        EXPECT_EQ(v, 42);
        EXPECT_EQ(text, u"\u03bcm");
    }
    std::filesystem::remove(path);
    try {
        FileStream missing(path, FileStream::Mode::read);
        FAIL() << "a missing file opened";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.GetCause(), ArchiveException::openFailed);
    }
}

}  // namespace
