// Reads values from arbitrary bytes as a document reader would: every input
// must end in a value or a clean ArchiveException, and every text read must
// store and load back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "archive.h"

namespace {

void CheckTextRoundTrip(const std::u16string& text) {
    MemoryStream out;
    {
        CArchive ar(out, CArchive::store);
        ar << text;
        ar.Close();
    }
    MemoryStream in(out.Bytes());
    CArchive ar(in, CArchive::load);
    std::u16string back;
    ar >> back;
    if (back != text || ar.Remaining() != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the order of reads; the rest is the stream.
    const std::uint8_t plan = data[0];
    MemoryStream stream(std::vector<std::uint8_t>(data + 1, data + size));
    CArchive ar(stream, CArchive::load);
    ar.SetMaxTextChars(1u << 16);
    try {
        for (int step = 0; step < 64; ++step) {
            switch ((plan >> (step % 4 * 2)) & 3) {
            case 0: {
                std::u16string text;
                ar >> text;
                CheckTextRoundTrip(text);
                break;
            }
            case 1: {
                std::int32_t v = 0;
                float f = 0;
                ar >> v >> f;
                break;
            }
            case 2: {
                const std::int32_t n = ar.ReadCount(4096);
                std::vector<std::uint8_t> block(static_cast<std::size_t>(n));
                ar.Read(block);
                break;
            }
            default: {
                std::uint8_t b = 0;
                std::uint16_t w = 0;
                ar >> b >> w;
                break;
            }
            }
        }
    } catch (const ArchiveException&) {}
    return 0;
}
