// Any firmware file bytes, uploaded to a camera whose refusals the input also
// chooses: chunks stay within the payload, at 512 x k, and a refused file
// sends nothing.
#include <cstddef>
#include <cstdint>
#include <span>

#include "firmware_file.h"
#include "program_upload.h"

namespace {

class CheckingMemory final : public kqge::FirmwareMemory {
public:
    CheckingMemory(std::span<const std::uint8_t> payload, std::uint8_t refusals)
        : payload_(payload), refusals_(refusals) {}
    std::int32_t WriteMem(std::span<const std::uint8_t> data, std::uint32_t address) override {
        if (address % kqge::kFirmwareChunkBytes != 0 || data.empty() || data.size() > kqge::kFirmwareChunkBytes ||
            address + data.size() > payload_.size()) {
            __builtin_trap();
        }
        for (std::size_t i = 0; i < data.size(); ++i) {
            if (data[i] != kqge::ReverseBits(payload_[address + i])) __builtin_trap();
        }
        ++writes;
        return (refusals_ >> (writes % 8)) & 1 ? -1 : 0;
    }
    std::size_t writes = 0;

private:
    std::span<const std::uint8_t> payload_;
    std::uint8_t refusals_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const auto payload = kqge::FirmwarePayload(file);
    CheckingMemory memory(payload, size > 0 ? data[0] : 0);
    kqge::FirmwareUploadState state;
    (void)state.Begin();
    const std::int32_t result = kqge::UploadFirmware(file, memory, state, {});
    if (state.Running() || state.LastResult() != result) __builtin_trap();
    if (payload.empty() && (result != 20 || memory.writes != 0)) __builtin_trap();
    if (!payload.empty() && result != 0 && result != 37) __builtin_trap();
    return 0;
}
