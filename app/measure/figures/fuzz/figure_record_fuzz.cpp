// Loads arbitrary bytes as the record of a figure chosen by the first byte:
// every input gives a figure or a clean ArchiveException; a figure that loads
// stores again to bytes that load back the same, and survives being hit,
// moved and measured.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "angle_figures.h"
#include "archive.h"
#include "area_figures.h"
#include "circle_figures.h"
#include "line_figures.h"

namespace {

std::unique_ptr<CCLObject> Make(std::uint8_t kind) {
    switch (kind % 12) {
    case 0: return std::make_unique<CCLLine>();
    case 1: return std::make_unique<CCL_Scale>();
    case 2: return std::make_unique<CCLParallel>();
    case 3: return std::make_unique<CCLAngle>();
    case 4: return std::make_unique<CCLAngle4Point>();
    case 5: return std::make_unique<CCLCircle>();
    case 6: return std::make_unique<CCLCircle_D>();
    case 7: return std::make_unique<CCLCircle_T>();
    case 8: return std::make_unique<CCLEllipse>();
    case 9: return std::make_unique<CCLRectangle>();
    case 10: return std::make_unique<CCLCurve>();
    default: return std::make_unique<CCLPolygon>();
    }
}

std::vector<std::uint8_t> Store(CCLObject& object) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    return stream.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    auto figure = Make(data[0]);
    try {
        MemoryStream stream(std::vector<std::uint8_t>(data + 1, data + size));
        CArchive ar(stream, CArchive::load);
        figure->Serialize(ar);
    } catch (const ArchiveException&) {
        return 0;
    }
    const std::vector<std::uint8_t> first = Store(*figure);
    auto again = Make(data[0]);
    {
        MemoryStream stream(first);
        CArchive ar(stream, CArchive::load);
        again->Serialize(ar);
    }
    if (Store(*again) != first) {
        std::abort();
    }
    (void)figure->HitTest(10, 10, 1.5f);
    (void)figure->HitRect(PixelRect{0, 0, 100, 100}, 1.5f);
    figure->state = CCLObject::kHandleActive;
    figure->activeHandle = 1 + data[0] % 4;
    figure->Move(0, 0, 3, 4, 2.0f);
    figure->CycleHandle(true);
    return 0;
}
