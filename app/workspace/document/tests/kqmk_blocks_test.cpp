#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "cl_arrow.h"
#include "drawing_file.h"
#include "kqmk_blocks.h"
#include "line_figures.h"
#include "test_objects.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Expected bytes, written out by hand from the block layout.
struct ByteWriter {
    Bytes bytes;
    ByteWriter& I32(std::int64_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
        }
        return *this;
    }
    ByteWriter& Raw(const Bytes& b) {
        bytes.insert(bytes.end(), b.begin(), b.end());
        return *this;
    }
};

Bytes StoreDocument(const CPicture* picture, std::int32_t kind, const ObjectList& objects,
                    const CounterStyleList& styles) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::store);
    WriteDrawingDocument(ar, picture, kind, objects, styles);
    ar.Close();
    return stream.Bytes();
}

DrawingDocument LoadDocument(const Bytes& bytes, ObjectFactory makeObject = &MakeTestTaggedObject) {
    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    return ReadDrawingDocument(ar, makeObject);
}

Bytes RecordOf(CCLObject& object) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    return stream.Bytes();
}

// 3 x 2, 24-bit: every byte distinct so misplaced rows or padding show.
CPicture ThreeByTwo() {
    CPicture p(3, 2, 24, kPictureBmp);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 9; ++i) {
            p.GetBits(row)[i] = static_cast<std::uint8_t>(row * 16 + i + 1);
        }
    }
    return p;
}

std::unique_ptr<TestTaggedObject> Tagged(std::int32_t tag, std::int32_t extra) {
    auto o = std::make_unique<TestTaggedObject>(tag);
    o->extra = extra;
    o->number = extra;
    o->results[1] = static_cast<float>(extra) * 1.5f;
    return o;
}

using BlocksTest = ::testing::Test;

TEST_F(BlocksTest, EmptyControllerIsTwentyEightBytes) {
    const Bytes expected = ByteWriter{}.I32(0).I32(0).I32(0).I32(0).I32(0).I32(0).I32(0).bytes;
    EXPECT_EQ(StoreDocument(nullptr, 0, {}, {}), expected);
    CPicture empty;
    EXPECT_EQ(StoreDocument(&empty, 0, {}, {}), expected);

    const DrawingDocument back = LoadDocument(expected);
    EXPECT_FALSE(back.picture.IsValid());
    EXPECT_TRUE(back.objects.empty());
    EXPECT_TRUE(back.counterStyles.empty());
}

TEST_F(BlocksTest, ThreeByTwoPictureHasPaddedRowsBottomFirst) {
    const CPicture p = ThreeByTwo();
    Bytes pixels;
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 9; ++i) pixels.push_back(static_cast<std::uint8_t>(row * 16 + i + 1));
        pixels.insert(pixels.end(), {0, 0, 0});
    }
    ASSERT_EQ(pixels.size(), 24u);
    const Bytes expected = ByteWriter{}.I32(2).I32(3).I32(2).I32(24).I32(24).Raw(pixels).I32(0).I32(0).bytes;
    const Bytes stored = StoreDocument(&p, kqmk::kKindJpeg, {}, {});
    EXPECT_EQ(stored.size(), 28u + 24u);
    EXPECT_EQ(stored, expected);

    const DrawingDocument back = LoadDocument(stored);
    EXPECT_EQ(back.pictureKind, kqmk::kKindJpeg);
    EXPECT_EQ(back.picture.GetWidth(), 3);
    EXPECT_EQ(back.picture.GetHeight(), 2);
    EXPECT_EQ(back.picture.GetBpp(), 24);
    EXPECT_TRUE(std::equal(back.picture.Pixels().begin(), back.picture.Pixels().end(), pixels.begin()));
}

TEST_F(BlocksTest, ObjectsThenCounterStylesInOrder) {
    ObjectList objects;
    objects.push_back(Tagged(kTagLine, 11));
    objects.push_back(Tagged(kTagCountDiamond, 22));
    objects.push_back(Tagged(kTagArrow, 33));
    const CounterStyleList styles = {{4, 5, kTagCountCircle, 0x0000FF, 15}, {1, 2, kTagCountRect, 0x00FF00, 20}};

    ByteWriter expected;
    expected.I32(0).I32(0).I32(0).I32(0).I32(0).I32(3);
    for (const auto& o : objects) {
        expected.I32(o->type).Raw(RecordOf(*o));
    }
    // File order of a style: colour, count, next number, size, kind.
    expected.I32(2).I32(0x0000FF).I32(4).I32(5).I32(15).I32(14);
    expected.I32(0x00FF00).I32(1).I32(2).I32(20).I32(16);
    const Bytes stored = StoreDocument(nullptr, 0, objects, styles);
    EXPECT_EQ(stored, expected.bytes);

    const DrawingDocument back = LoadDocument(stored);
    ASSERT_EQ(back.objects.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& loaded = dynamic_cast<const TestTaggedObject&>(*back.objects[i]);
        const auto& original = dynamic_cast<const TestTaggedObject&>(*objects[i]);
        EXPECT_EQ(loaded.type, original.type);
        EXPECT_EQ(loaded.extra, original.extra);
        EXPECT_EQ(loaded.id, original.id);
        EXPECT_EQ(loaded.results, original.results);
    }
    EXPECT_EQ(back.counterStyles, styles);
}

TEST_F(BlocksTest, EveryObjectKindRoundTripsAndIsCounted) {
    ObjectList objects;
    const std::vector<std::int32_t> tags = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19, 2, 14};
    for (std::size_t i = 0; i < tags.size(); ++i) {
        objects.push_back(Tagged(tags[i], static_cast<std::int32_t>(100 + i)));
    }
    const Bytes stored = StoreDocument(nullptr, 0, objects, {});
    const DrawingDocument back = LoadDocument(stored);
    ASSERT_EQ(back.objects.size(), tags.size());
    for (std::size_t i = 0; i < tags.size(); ++i) {
        EXPECT_EQ(back.objects[i]->type, tags[i]);
        EXPECT_EQ(dynamic_cast<const TestTaggedObject&>(*back.objects[i]).extra, static_cast<std::int32_t>(100 + i));
    }
    EXPECT_EQ(StoreDocument(nullptr, 0, back.objects, {}), stored);
    // Counters have no running names; every other type counts its objects.
    EXPECT_EQ(back.counters.Get(kTagLine), 2);
    EXPECT_EQ(back.counters.Get(kTagText), 1);
    EXPECT_EQ(back.counters.Get(kTagScaleBar), 1);
    EXPECT_EQ(back.counters.Get(kTagArrow), 1);
    EXPECT_EQ(back.counters.Get(kTagCountCircle), 0);
    int total = 0;
    for (std::int32_t c : back.counters.slots) total += c;
    EXPECT_EQ(total, 15);
}

TEST_F(BlocksTest, GreyPictureComesBackAsColour) {
    CPicture grey(5, 1, 8, kPictureTiff);
    for (int x = 0; x < 5; ++x) grey.GetBits(0)[x] = static_cast<std::uint8_t>(x * 50);
    const Bytes stored = StoreDocument(&grey, kqmk::kKindTiff, {}, {});
    // Rows of 5 bytes padded to 8.
    EXPECT_EQ(stored.size(), 28u + 8u);
    const DrawingDocument back = LoadDocument(stored);
    ASSERT_EQ(back.picture.GetBpp(), 24);
    ASSERT_EQ(back.picture.GetWidth(), 5);
    for (int x = 0; x < 5; ++x) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(back.picture.GetBits(0)[x * 3 + c], x * 50) << x;
        }
    }
    // The counting engine copies width x height x 3 bytes from this buffer.
    EXPECT_GE(back.picture.GetSize(), 5u * 3u);
}

// A valid document to damage: 3 x 2 picture, two objects, one style.
Bytes ValidDocument() {
    const CPicture p = ThreeByTwo();
    ObjectList objects;
    objects.push_back(Tagged(kTagRectangle, 1));
    objects.push_back(Tagged(kTagCountCircle, 2));
    return StoreDocument(&p, kqmk::kKindBmp, objects, {{1, 2, kTagCountCircle, 255, 15}});
}

void Put32(Bytes& b, std::size_t at, std::int64_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i));
}

ArchiveException::Cause CauseOf(const Bytes& bytes, ObjectFactory makeObject = &MakeTestTaggedObject) {
    try {
        LoadDocument(bytes, makeObject);
    } catch (const ArchiveException& e) {
        return e.GetCause();
    }
    ADD_FAILURE() << "document loaded";
    return ArchiveException::readFailed;
}

TEST_F(BlocksTest, DamagedPictureBlockIsRefused) {
    struct Case {
        const char* what;
        std::size_t offset;
        std::int64_t value;
        ArchiveException::Cause cause;
    };
    const Case cases[] = {
        {"unknown kind", 0, 4, ArchiveException::badFormat},
        {"negative kind", 0, -1, ArchiveException::badFormat},
        {"negative width", 4, -3, ArchiveException::badFormat},
        {"negative height", 8, -2, ArchiveException::badFormat},
        {"16 bits per pixel", 16, 16, ArchiveException::badFormat},
        {"32 bits per pixel", 16, 32, ArchiveException::badFormat},
        {"byte count one short", 12, 23, ArchiveException::badFormat},
        {"byte count one over", 12, 25, ArchiveException::badFormat},
        {"byte count negative", 12, -24, ArchiveException::badFormat},
        {"rows without padding", 12, 18, ArchiveException::badFormat},
        {"width beyond any picture", 4, 0x7FFFFFFF, ArchiveException::tooLarge},
        {"zero width with pixels", 4, 0, ArchiveException::badFormat},
    };
    for (const Case& c : cases) {
        Bytes b = ValidDocument();
        Put32(b, c.offset, c.value);
        EXPECT_EQ(CauseOf(b), c.cause) << c.what;
    }
}

TEST_F(BlocksTest, SizesWhoseProductOverflowsAreRefusedBeforeAllocating) {
    // 65536 x 65536 x 3 bytes wraps to 0 in 32 bits; the claimed N matches that wrap.
    const Bytes b = ByteWriter{}.I32(0).I32(65536).I32(65536).I32(0).I32(24).I32(0).I32(0).bytes;
    EXPECT_EQ(CauseOf(b), ArchiveException::tooLarge);
    // A large but allowed size whose bytes are missing fails as short, not by allocating.
    const std::int64_t n = kqmk::PixelBytesFor(4096, 4096, 24);
    const Bytes big = ByteWriter{}.I32(0).I32(4096).I32(4096).I32(n).I32(24).I32(0).I32(0).bytes;
    EXPECT_EQ(CauseOf(big), ArchiveException::endOfFile);
}

TEST_F(BlocksTest, DamagedObjectAndStyleBlocksAreRefused) {
    const Bytes valid = ValidDocument();
    const std::size_t objectCountAt = 20 + 24;
    const std::size_t firstTagAt = objectCountAt + 4;
    for (const std::int64_t tag : {0, 1, 18, 20, -1, 0x7FFFFFFF}) {
        Bytes b = valid;
        Put32(b, firstTagAt, tag);
        EXPECT_EQ(CauseOf(b), ArchiveException::badFormat) << "tag " << tag;
    }
    {
        // A tag that names another stored class than the record's type.
        Bytes b = valid;
        Put32(b, firstTagAt, kTagEllipse);
        EXPECT_EQ(CauseOf(b), ArchiveException::badFormat);
    }
    for (const std::int64_t count : {-1, 3, 1000000, 0x7FFFFFFF}) {
        Bytes b = valid;
        Put32(b, objectCountAt, count);
        const auto cause = CauseOf(b);
        EXPECT_TRUE(cause == ArchiveException::badFormat || cause == ArchiveException::endOfFile ||
                    cause == ArchiveException::tooLarge)
            << "object count " << count;
    }
    const std::size_t styleCountAt = valid.size() - 24;
    for (const std::int64_t count : {-1, 2, 0x7FFFFFFF}) {
        Bytes b = valid;
        Put32(b, styleCountAt, count);
        const auto cause = CauseOf(b);
        EXPECT_TRUE(cause == ArchiveException::badFormat || cause == ArchiveException::endOfFile ||
                    cause == ArchiveException::tooLarge)
            << "style count " << count;
    }
    for (const std::int64_t kind : {0, 13, 17, 2}) {
        Bytes b = valid;
        Put32(b, valid.size() - 4, kind);
        EXPECT_EQ(CauseOf(b), ArchiveException::badFormat) << "style kind " << kind;
    }
}

TEST_F(BlocksTest, EveryShortenedDocumentIsRefused) {
    const Bytes valid = ValidDocument();
    for (std::size_t size = 0; size < valid.size(); ++size) {
        const Bytes b(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(CauseOf(b), ArchiveException::endOfFile) << size;
    }
    EXPECT_NO_THROW(LoadDocument(valid));
}

// A factory that holds no class for circles.
std::unique_ptr<CCLObject> MakeAllButCircles(std::int32_t tag) {
    return tag == kTagCircle ? nullptr : MakeTestTaggedObject(tag);
}

TEST(ObjectBlocksWithoutClasses, TagsWhoseClassIsMissingAreRefused) {
    ObjectList objects;
    objects.push_back(std::make_unique<TestTaggedObject>(kTagLine));
    objects.push_back(std::make_unique<TestTaggedObject>(kTagCircle));
    const Bytes stored = StoreDocument(nullptr, 0, objects, {});
    EXPECT_EQ(CauseOf(stored, &MakeAllButCircles), ArchiveException::badFormat);
    // The same bytes with every class.
    EXPECT_EQ(LoadDocument(stored).objects.size(), 2u);
}

TEST(ObjectBlocksDefaultFactory, ReadsTheProgramsOwnClasses) {
    ObjectList objects;
    objects.push_back(CreateObjectForTag(kTagLine));
    objects.push_back(CreateObjectForTag(kTagArrow));
    MemoryStream stream(StoreDocument(nullptr, 0, objects, {}));
    CArchive ar(stream, CArchive::load);
    const DrawingDocument back = ReadDrawingDocument(ar);
    ASSERT_EQ(back.objects.size(), 2u);
    EXPECT_NE(dynamic_cast<const CCLLine*>(back.objects[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<const CCLArrow*>(back.objects[1].get()), nullptr);
}

TEST(CounterStyleMerge, LoadedStylesReplaceTheSameKindAndColour) {
    CounterStyleList held = {{0, 1, 14, 0, 15}, {0, 1, 16, 0, 15}, {0, 1, 15, 0, 15}};
    const CounterStyle loaded[] = {{7, 8, 16, 0, 15}, {3, 4, 14, 0xFF, 12}, {9, 10, 16, 0, 20}};
    MergeCounterStyles(held, loaded);
    const CounterStyleList expected = {{0, 1, 14, 0, 15}, {9, 10, 16, 0, 20}, {0, 1, 15, 0, 15}, {3, 4, 14, 0xFF, 12}};
    EXPECT_EQ(held, expected);
}

}  // namespace
