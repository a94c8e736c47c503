#include "capinfo_record.h"

#include "le_bytes.h"

namespace kq {

CapInfoBytes EncodeCapInfo(const CapInfo& r) {
    CapInfoBytes out{};
    PutLE32(out, 0, r.reserved);
    PutLE32(out, 4, r.height);
    PutLE32(out, 8, r.width);
    PutLE32(out, 12, r.columnStart);
    PutLE32(out, 16, r.rowStart);
    PutLE32(out, 20, r.exposure);
    out[24] = r.gain[0];
    out[25] = r.gain[1];
    out[26] = r.gain[2];
    out[27] = r.control;
    for (std::size_t i = 0; i < 4; ++i) out[28 + i] = r.mode[i];
    PutLE32(out, 32, r.extra);
    return out;
}

CapInfo DecodeCapInfo(std::span<const std::uint8_t, kCapInfoBytes> in) {
    CapInfo r;
    r.reserved = GetLE32(in, 0);
    r.height = GetLE32(in, 4);
    r.width = GetLE32(in, 8);
    r.columnStart = GetLE32(in, 12);
    r.rowStart = GetLE32(in, 16);
    r.exposure = GetLE32(in, 20);
    r.gain = {in[24], in[25], in[26]};
    r.control = in[27];
    for (std::size_t i = 0; i < 4; ++i) r.mode[i] = in[28 + i];
    r.extra = GetLE32(in, 32);
    return r;
}

}  // namespace kq
