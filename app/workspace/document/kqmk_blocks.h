#pragma once
// The blocks of a drawing document, also used by the history steps: the
// picture block (kind, width, height, byte count, bits per pixel, DIB rows)
// and the object block followed by the counter-style block. All integers are
// int32 little-endian; there is no header or version.
//
// Loading treats the bytes as untrusted: every size and count is checked
// against its field, the file's remaining length and a cap before anything
// is allocated, unknown tags are an error, and a short block is an error.
// Failures throw ArchiveException and leave the caller's data untouched.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "archive.h"
#include "cl_object.h"
#include "counter_style.h"
#include "object_factory.h"
#include "picture.h"

using ObjectList = std::vector<std::unique_ptr<CCLObject>>;

// Running name counters, one per object type 2 to 13, 17 and 19.
class ObjectTypeCounters {
public:
    static constexpr std::size_t kSlots = 14;
    // Slot of `type`, or -1 for types without a counter (counters, 1, 18).
    static int SlotOf(std::int32_t type);
    void Count(std::int32_t type);
    // Counts one more object of `type` and returns its running number.
    std::int32_t Next(std::int32_t type);
    // Forgets `count` deleted objects of `type`.
    void Remove(std::int32_t type, std::int32_t count);
    std::int32_t Get(std::int32_t type) const;
    std::array<std::int32_t, kSlots> slots{};
    friend bool operator==(const ObjectTypeCounters&, const ObjectTypeCounters&) = default;
};

namespace kqmk {

// Caps that no real document comes near; they keep a lying count from
// holding the reader for long.
constexpr std::int32_t kMaxObjects = 1 << 20;
constexpr std::int32_t kMaxCounterStyles = 1 << 16;
constexpr std::size_t kCounterStyleBytes = 20;

// Picture kinds as stored: the origin of the picture.
enum PictureKind : std::int32_t { kKindOther = 0, kKindBmp = 1, kKindJpeg = 2, kKindTiff = 3 };

// Pixel bytes of a picture of this size: rows padded to 4 bytes. Returns -1
// when the size is outside what a picture may be.
std::int64_t PixelBytesFor(std::int32_t width, std::int32_t height, std::int32_t bpp);

// A null or empty picture stores width, height and byte count 0.
void StorePictureBlock(CArchive& ar, const CPicture* picture, std::int32_t kind);
struct PictureBlock {
    std::int32_t kind = kKindOther;
    CPicture picture;  // empty when the stored picture was empty
};
PictureBlock LoadPictureBlock(CArchive& ar);

void StoreObjectBlocks(CArchive& ar, const ObjectList& objects, const CounterStyleList& styles);
struct ObjectBlocks {
    ObjectList objects;
    CounterStyleList styles;
    ObjectTypeCounters counters;  // objects of each type, counters excluded
};
// Each stored object comes from `makeObject`; a tag it makes nothing for
// is a damaged block.
ObjectBlocks LoadObjectBlocks(CArchive& ar, ObjectFactory makeObject = &CreateObjectForTag);

}  // namespace kqmk
