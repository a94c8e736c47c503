// Loads arbitrary bytes as a drawing document: every input must give a
// document or a clean ArchiveException, and a document that loads must store
// and load back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "drawing_file.h"
#include "test_objects.h"

namespace {

std::vector<std::uint8_t> Store(const DrawingDocument& d) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::store);
    WriteDrawingDocument(ar, &d.picture, d.pictureKind, d.objects, d.counterStyles);
    ar.Close();
    return stream.Bytes();
}

DrawingDocument Load(std::vector<std::uint8_t> bytes) {
    MemoryStream stream(std::move(bytes));
    CArchive ar(stream, CArchive::load);
    return ReadDrawingDocument(ar, &MakeTestTaggedObject);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DrawingDocument document;
    try {
        document = Load(std::vector<std::uint8_t>(data, data + size));
    } catch (const ArchiveException&) {
        return 0;
    }
    if (document.picture.IsValid() && document.picture.GetBpp() != 24) {
        std::abort();
    }
    const std::vector<std::uint8_t> first = Store(document);
    if (Store(Load(first)) != first) {
        std::abort();
    }
    return 0;
}
