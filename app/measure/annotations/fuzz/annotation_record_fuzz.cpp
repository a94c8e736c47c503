// Loads arbitrary bytes as the record of an annotation object (the first
// byte picks the class): every input must give an object or a clean
// ArchiveException; an object that loads must answer its geometry without
// fault, store again and load back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "archive.h"
#include "cl_arrow.h"
#include "cl_count.h"
#include "cl_scale_bar.h"
#include "cl_text.h"

namespace {

std::unique_ptr<CCLObject> Make(std::uint8_t selector) {
    switch (selector % 6) {
    case 0: return std::make_unique<CCLText>();
    case 1: return std::make_unique<CCLArrow>();
    case 2: return std::make_unique<CCL_CountCircle>();
    case 3: return std::make_unique<CCL_CountDiamond>();
    case 4: return std::make_unique<CCL_CountRect>();
    default: return std::make_unique<CCL_BiaoChi>();
    }
}

std::vector<std::uint8_t> Store(CCLObject& object) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    return stream.Bytes();
}

void Exercise(CCLObject& object) {
    for (const float zoom : {1.0f, 0.37f, 8.0f}) {
        (void)object.HitTest(10, 10, zoom);
        (void)object.HitRect({0, 0, 100, 100}, zoom);
        object.Move(0, 0, 3, 4, zoom);
    }
    if (auto* arrow = dynamic_cast<CCLArrow*>(&object)) {
        arrow->PlaceForZoom(2.0f);
        (void)arrow->PictureRect(2.0f);
    } else if (auto* counter = dynamic_cast<CCL_Count*>(&object)) {
        (void)CCL_Count::NumberOrigin(counter->number, counter->size, counter->number);
        (void)CCL_CountRect::HalfSide(counter->size);
        (void)CCL_CountDiamond::Reach(counter->size);
    } else if (auto* bar = dynamic_cast<CCL_BiaoChi*>(&object)) {
        (void)bar->BarText();
        (void)bar->PlacedLabelAnchor(1.5f, 40, 12);
        (void)bar->DrawnLabelAnchor(1.5f, 40, 12);
        (void)bar->BackgroundBox({bar->tick, bar->thickness}, bar->DeviceLength(3.0f), 40, 12);
    }
    CTextObject label = object.label;
    label.ComposeText(object);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::unique_ptr<CCLObject> object = Make(data[0]);
    try {
        MemoryStream stream(std::vector<std::uint8_t>(data + 1, data + size));
        CArchive ar(stream, CArchive::load);
        object->Serialize(ar);
    } catch (const ArchiveException&) {
        return 0;
    }
    const std::vector<std::uint8_t> first = Store(*object);
    std::unique_ptr<CCLObject> again = Make(data[0]);
    MemoryStream stream(first);
    CArchive ar(stream, CArchive::load);
    again->Serialize(ar);
    if (Store(*again) != first) {
        std::abort();
    }
    Exercise(*object);
    return 0;
}
