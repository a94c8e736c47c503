#pragma once
// Storing and loading records in memory, and expected bytes written by hand.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "archive.h"
#include "cl_object.h"

using Bytes = std::vector<std::uint8_t>;

inline Bytes Store(CCLObject& object) {
    MemoryStream stream;
    {
        CArchive ar(stream, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    return stream.Bytes();
}

inline void Load(CCLObject& object, const Bytes& bytes) {
    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    object.Serialize(ar);
}

struct ByteWriter {
    Bytes bytes;
    void I32(std::int64_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
        }
    }
    void F32(float f) {
        std::uint32_t u = 0;
        std::memcpy(&u, &f, 4);
        I32(u);
    }
    // The archived text form of a text below 255 characters.
    void Text(std::u16string_view s) {
        bytes.insert(bytes.end(), {0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(s.size())});
        for (char16_t c : s) {
            bytes.push_back(static_cast<std::uint8_t>(c));
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
    }
};
