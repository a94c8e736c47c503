#include "capinfo_record.h"

#include "le_bytes.h"

namespace kq {

namespace rec = kqff::record;

CapInfoBytes EncodeCapInfo(const CapInfo& r) {
    CapInfoBytes out{};
    vz::PutLE32(out, 0, r.reserved);
    vz::PutLE32(out, rec::kHeight, r.height);
    vz::PutLE32(out, rec::kWidth, r.width);
    vz::PutLE32(out, rec::kColumnStart, r.columnStart);
    vz::PutLE32(out, rec::kRowStart, r.rowStart);
    vz::PutLE32(out, rec::kExposure, r.exposure);
    for (std::size_t i = 0; i < 3; ++i) out[rec::kGains + i] = r.gain[i];
    out[rec::kControl] = r.control;
    for (std::size_t i = 0; i < 4; ++i) out[28 + i] = r.mode[i];
    vz::PutLE32(out, 32, r.extra);
    return out;
}

CapInfo DecodeCapInfo(std::span<const std::uint8_t, kCapInfoBytes> in) {
    CapInfo r;
    r.reserved = vz::GetLE32(in, 0);
    r.height = vz::GetLE32(in, rec::kHeight);
    r.width = vz::GetLE32(in, rec::kWidth);
    r.columnStart = vz::GetLE32(in, rec::kColumnStart);
    r.rowStart = vz::GetLE32(in, rec::kRowStart);
    r.exposure = vz::GetLE32(in, rec::kExposure);
    r.gain = {in[rec::kGains], in[rec::kGains + 1], in[rec::kGains + 2]};
    r.control = in[rec::kControl];
    for (std::size_t i = 0; i < 4; ++i) r.mode[i] = in[28 + i];
    r.extra = vz::GetLE32(in, 32);
    return r;
}

}  // namespace kq
