#include "kqmk_blocks.h"

int ObjectTypeCounters::SlotOf(std::int32_t type) {
    if (type >= kTagLine && type <= kTagText) {
        return type - kTagLine;
    }
    if (type == kTagScaleBar) {
        return 12;
    }
    if (type == kTagArrow) {
        return 13;
    }
    return -1;
}

void ObjectTypeCounters::Count(std::int32_t type) {
    const int slot = SlotOf(type);
    if (slot >= 0) {
        ++slots[static_cast<std::size_t>(slot)];
    }
}

std::int32_t ObjectTypeCounters::Next(std::int32_t type) {
    Count(type);
    return Get(type);
}

void ObjectTypeCounters::Remove(std::int32_t type, std::int32_t count) {
    const int slot = SlotOf(type);
    if (slot >= 0) {
        auto& n = slots[static_cast<std::size_t>(slot)];
        n = n > count ? n - count : 0;
    }
}

std::int32_t ObjectTypeCounters::Get(std::int32_t type) const {
    const int slot = SlotOf(type);
    return slot >= 0 ? slots[static_cast<std::size_t>(slot)] : 0;
}

namespace kqmk {
namespace {

void Require(bool condition, ArchiveException::Cause cause) {
    if (!condition) {
        throw ArchiveException(cause);
    }
}

// Refuses a block that announces more bytes than the stream still holds,
// before anything is allocated for it.
void RequireRemaining(const CArchive& ar, std::uint64_t bytes) {
    const std::uint64_t remaining = ar.Remaining();
    Require(remaining == UINT64_MAX || bytes <= remaining, ArchiveException::endOfFile);
}

bool IsCounterKind(std::int32_t kind) { return kind >= kTagCountCircle && kind <= kTagCountRect; }

}  // namespace

std::int64_t PixelBytesFor(std::int32_t width, std::int32_t height, std::int32_t bpp) {
    if ((bpp != 8 && bpp != 24) || !CPicture::IsSizeAllowed(width, height)) {
        return -1;
    }
    return static_cast<std::int64_t>(CPicture::StrideFor(width, bpp)) * height;
}

void StorePictureBlock(CArchive& ar, const CPicture* picture, std::int32_t kind) {
    if (picture == nullptr || !picture->IsValid()) {
        const std::int32_t bpp = picture != nullptr ? picture->GetBpp() : 0;
        ar << kind << std::int32_t{0} << std::int32_t{0} << std::int32_t{0} << bpp;
        return;
    }
    const std::int64_t n = PixelBytesFor(picture->GetWidth(), picture->GetHeight(), picture->GetBpp());
    Require(n >= 0 && static_cast<std::uint64_t>(n) == picture->GetSize(), ArchiveException::badFormat);
    ar << kind << std::int32_t{picture->GetWidth()} << std::int32_t{picture->GetHeight()}
       << static_cast<std::int32_t>(n) << std::int32_t{picture->GetBpp()};
    ar.Write(picture->Pixels());
}

PictureBlock LoadPictureBlock(CArchive& ar) {
    std::int32_t kind = 0, width = 0, height = 0, n = 0, bpp = 0;
    ar >> kind >> width >> height >> n >> bpp;
    Require(kind >= kKindOther && kind <= kKindTiff, ArchiveException::badFormat);
    Require(width >= 0 && height >= 0 && n >= 0, ArchiveException::badFormat);
    PictureBlock block;
    block.kind = kind;
    block.picture = CPicture(kind);
    if (width == 0 || height == 0) {
        // What an empty picture stores; it reports 0 bits per pixel.
        Require(n == 0 && (bpp == 0 || bpp == 8 || bpp == 24), ArchiveException::badFormat);
        return block;
    }
    Require(bpp == 8 || bpp == 24, ArchiveException::badFormat);
    const std::int64_t expected = PixelBytesFor(width, height, bpp);
    Require(expected >= 0, ArchiveException::tooLarge);
    Require(n == expected, ArchiveException::badFormat);
    RequireRemaining(ar, static_cast<std::uint64_t>(n));
    Require(block.picture.CreateForOverwrite(width, height, bpp, kind), ArchiveException::tooLarge);
    ar.Read(block.picture.Pixels());
    return block;
}

void StoreObjectBlocks(CArchive& ar, const ObjectList& objects, const CounterStyleList& styles) {
    ar << static_cast<std::int32_t>(objects.size());
    for (const auto& object : objects) {
        ar << object->type;
        object->Serialize(ar);
    }
    ar << static_cast<std::int32_t>(styles.size());
    for (const CounterStyle& s : styles) {
        ar << std::uint32_t{s.colour} << s.count << s.nextNumber << s.size << s.kind;
    }
}

ObjectBlocks LoadObjectBlocks(CArchive& ar, ObjectFactory makeObject) {
    ObjectBlocks blocks;
    const std::int32_t objectCount = ar.ReadCount(kMaxObjects);
    for (std::int32_t i = 0; i < objectCount; ++i) {
        std::int32_t tag = 0;
        ar >> tag;
        Require(IsStoredObjectTag(tag), ArchiveException::badFormat);
        std::unique_ptr<CCLObject> object = makeObject(tag);
        Require(object != nullptr, ArchiveException::badFormat);
        object->Serialize(ar);
        // The record repeats the tag; an object whose class and type
        // disagree would be labelled, counted and drawn as something else.
        Require(object->type == tag, ArchiveException::badFormat);
        blocks.counters.Count(tag);
        blocks.objects.push_back(std::move(object));
    }
    const std::int32_t styleCount = ar.ReadCount(kMaxCounterStyles);
    RequireRemaining(ar, static_cast<std::uint64_t>(styleCount) * kCounterStyleBytes);
    blocks.styles.reserve(static_cast<std::size_t>(styleCount));
    for (std::int32_t i = 0; i < styleCount; ++i) {
        CounterStyle s;
        std::uint32_t colour = 0;
        ar >> colour >> s.count >> s.nextNumber >> s.size >> s.kind;
        Require(IsCounterKind(s.kind), ArchiveException::badFormat);
        s.colour = colour;
        blocks.styles.push_back(s);
    }
    return blocks;
}

}  // namespace kqmk
