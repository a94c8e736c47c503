// Loads arbitrary bytes as a measurement record: every input must give an
// object or a clean ArchiveException, and an object that loads must store
// again and load back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "archive.h"
#include "cl_object.h"

namespace {

std::vector<std::uint8_t> Store(CCLObject& object) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    return stream.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CCLObject object;
    try {
        MemoryStream stream(std::vector<std::uint8_t>(data, data + size));
        CArchive ar(stream, CArchive::load);
        object.Serialize(ar);
    } catch (const ArchiveException&) {
        return 0;
    }
    (void)CTextObject::FormatValue(object.decimals, object.results[0] * object.scale);
    CTextObject label = object.label;
    label.ComposeText(object);
    (void)label.HitTest(1, 1, object.scale);
    const std::vector<std::uint8_t> first = Store(object);
    CCLObject again;
    MemoryStream stream(first);
    CArchive ar(stream, CArchive::load);
    again.Serialize(ar);
    if (Store(again) != first) {
        std::abort();
    }
    return 0;
}
