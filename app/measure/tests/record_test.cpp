#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "archive.h"
#include "cl_object.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Store(CCLObject& object) {
    MemoryStream stream;
    {
        CArchive ar(stream, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    return stream.Bytes();
}

void Load(CCLObject& object, const Bytes& bytes) {
    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    object.Serialize(ar);
}

// Expected bytes, written out by hand.
struct ByteWriter {
    Bytes bytes;
    void I32(std::int64_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
    }
    void F32(float f) {
        std::uint32_t u = 0;
        std::memcpy(&u, &f, 4);
        I32(u);
    }
    void U8(std::uint8_t v) { bytes.push_back(v); }
    void Text(std::u16string_view s) {
        bytes.insert(bytes.end(), {0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(s.size())});
        for (char16_t c : s) {
            bytes.push_back(static_cast<std::uint8_t>(c));
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
    }
};

CCLObject MakeSample() {
    CCLObject o;
    o.id = 7;
    o.type = 6;
    o.state = 3;
    o.activeHandle = 2;
    o.drawColour = 0x00112233;
    o.penStyle = 2;
    o.number = 5;
    o.labelMode = 3;
    o.visible = 1;
    for (std::size_t i = 0; i < 8; ++i) o.results[i] = 0.5f + static_cast<float>(i);
    o.selectedColour = 200;
    o.font = LogFont{};
    o.font.height = -12;
    o.font.width = 6;
    o.font.escapement = 1;
    o.font.orientation = 2;
    o.font.weight = 400;
    o.font.italic = 1;
    o.font.charSet = 134;
    o.font.pitchAndFamily = 0x22;
    o.font.SetFaceName(u"宋体");
    o.decimals = 3;
    o.scale = 0.25f;
    o.lineWidth = 2;
    o.unitText = u"mm";
    o.label.text = u"ab";
    o.label.boxShown = 0;
    o.label.boxColour = 0x00649664;
    o.label.x = 12.75f;
    o.label.y = -3.5f;
    o.label.dirty = 1;
    return o;
}

TEST(Record, LayoutIsByteExact) {
    CCLObject o = MakeSample();
    ByteWriter w;
    for (std::int64_t v : {7, 6, 3, 2, 0x00112233, 2, 5, 3, 1}) w.I32(v);
    for (int i = 0; i < 7; ++i) w.F32(0.5f + static_cast<float>(i));
    w.I32(200);
    ASSERT_EQ(w.bytes.size(), 68u);
    w.Text(u"宋体");
    const std::size_t afterFace = w.bytes.size();
    for (std::int64_t v : {-12, 6, 1, 2, 400}) w.I32(v);
    for (std::uint8_t v : {1, 0, 0, 134, 0, 0, 0, 0x22}) w.U8(v);
    ASSERT_EQ(w.bytes.size() - afterFace, 28u);
    w.I32(3);
    w.F32(0.25f);
    w.I32(2);
    w.I32(12);  // label anchor, truncated toward zero
    w.I32(-3);
    w.Text(u"mm");
    w.F32(7.5f);
    w.Text(u"ab");
    w.I32(0);
    w.I32(0x00649664);
    w.F32(12.75f);
    w.F32(-3.5f);
    w.I32(1);
    EXPECT_EQ(Store(o), w.bytes);
}

TEST(Record, RoundTripsByteForByte) {
    CCLObject o = MakeSample();
    o.font.SetFaceName(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");  // 31 characters
    o.unitText = u"μm";
    const Bytes first = Store(o);
    CCLObject back;
    back.handleSize = 9;
    Load(back, first);
    EXPECT_EQ(Store(back), first);
    EXPECT_EQ(back.font.FaceName(), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(back.label.x, 12.75f);  // exact: the label's own record follows the anchor
    EXPECT_EQ(back.label.y, -3.5f);
    EXPECT_EQ(back.id, 7);
    EXPECT_EQ(back.results, o.results);
    EXPECT_EQ(back.handleSize, 9);  // not in the record
}

TEST(Record, LongFaceNameKeepsThirtyOneCharacters) {
    CCLObject o = MakeSample();
    Bytes bytes = Store(o);
    // Replace the two-character face name with 40 characters.
    ByteWriter face;
    face.Text(u"0123456789012345678901234567890123456789");
    bytes.erase(bytes.begin() + 68, bytes.begin() + 68 + 4 + 4);
    bytes.insert(bytes.begin() + 68, face.bytes.begin(), face.bytes.end());
    CCLObject back;
    Load(back, bytes);
    EXPECT_EQ(back.font.FaceName(), u"0123456789012345678901234567890");
}

TEST(Record, NonFiniteLabelPositionStoresZeroAnchor) {
    CCLObject o = MakeSample();
    o.label.x = std::numeric_limits<float>::quiet_NaN();
    o.label.y = -std::numeric_limits<float>::infinity();
    const Bytes bytes = Store(o);
    const std::size_t anchorAt = 68 + 8 + 28 + 12;
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(bytes[anchorAt + i], 0) << i;
    }
    o.label.x = 3e9f;
    const Bytes big = Store(o);
    EXPECT_EQ(big[anchorAt + 3], 0x7F);  // the int32 maximum
}

ArchiveException::Cause LoadError(CCLObject& object, const Bytes& bytes) {
    try {
        Load(object, bytes);
    } catch (const ArchiveException& e) {
        return e.GetCause();
    }
    ADD_FAILURE() << "no error";
    return ArchiveException::readFailed;
}

TEST(Record, DamagedRecordsAreCleanErrorsAndChangeNothing) {
    CCLObject sample = MakeSample();
    const Bytes good = Store(sample);
    CCLObject target;
    target.number = 42;
    target.unitText = u"px";
    const Bytes before = Store(target);
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        EXPECT_EQ(LoadError(target, Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut))),
                  ArchiveException::endOfFile)
            << cut;
    }
    EXPECT_EQ(Store(target), before);

    CCLObject longUnit = MakeSample();
    longUnit.unitText.assign(65, u'u');
    EXPECT_EQ(LoadError(target, Store(longUnit)), ArchiveException::tooLarge);
    CCLObject longText = MakeSample();
    longText.label.text.assign(CTextObject::kMaxRecordTextChars + 1, u't');
    EXPECT_EQ(LoadError(target, Store(longText)), ArchiveException::tooLarge);
    EXPECT_EQ(Store(target), before);
}

}  // namespace
