#include "program_upload.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <vector>

#include "firmware_file.h"
#include "result_codes.h"

namespace kqge {
namespace {

std::int32_t SendPayload(std::span<const std::uint8_t> payload, FirmwareMemory& memory,
                         const FirmwareUploadState& state, const FirmwareProgress& progress) {
    std::array<std::uint8_t, kFirmwareChunkBytes> chunk{};
    std::size_t offset = 0;
    while (offset < payload.size() && state.Running()) {
        const auto source = payload.subspan(offset, std::min(kFirmwareChunkBytes, payload.size() - offset));
        std::ranges::transform(source, chunk.begin(), ReverseBits);
        const std::span<const std::uint8_t> data(chunk.data(), source.size());
        std::int32_t last = result::kNotAcknowledged;
        for (int attempt = 0; attempt < kChunkTries && state.Running(); ++attempt) {
            last = memory.WriteMem(data, static_cast<std::uint32_t>(offset));
            if (last == 0) break;
        }
        const std::size_t total = offset + source.size();
        if (progress) progress(static_cast<std::uint32_t>(total), last);
        if (last != 0) return kChunkRefused;
        offset = total;
    }
    // A payload that ends before the camera's image area is full leaves an
    // empty chunk to send, which the memory write refuses (20) before
    // sending: the upload ends as a failed chunk, never as a whole image.
    if (offset < kFirmwarePayloadLimit && state.Running()) {
        if (progress) progress(static_cast<std::uint32_t>(offset), result::kOutOfRange);
        return kChunkRefused;
    }
    return result::kOk;
}

}  // namespace

std::int32_t UploadFirmware(std::span<const std::uint8_t> file, FirmwareMemory& memory, FirmwareUploadState& state,
                            const FirmwareProgress& progress) {
    const auto payload = FirmwarePayload(file);
    const std::int32_t outcome = payload.empty() ? result::kOutOfRange : SendPayload(payload, memory, state, progress);
    state.Finish(outcome);
    return outcome;
}

std::int32_t WriteProgramFile(const std::filesystem::path& path, FirmwareMemory& memory, FirmwareUploadState& state,
                              const FirmwareProgress& progress) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        state.Finish(result::kFileNotOpened);
        return result::kFileNotOpened;
    }
    // One byte past the limit is enough to refuse an oversized file.
    std::vector<std::uint8_t> file(kFirmwareHeaderBytes + kFirmwarePayloadLimit + 1);
    in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (in.bad()) {
        state.Finish(result::kFileNotOpened);
        return result::kFileNotOpened;
    }
    file.resize(static_cast<std::size_t>(in.gcount()));
    return UploadFirmware(file, memory, state, progress);
}

}  // namespace kqge
