// `WriteProgramFile`: uploads a firmware file through memory writes on the
// caller's thread (the camera runs it on an upload thread of its own). One
// upload per camera at a time: `FirmwareUploadState` holds the running flag,
// which a stop request clears (the upload ends after its current chunk), and
// the result of the last upload, kept after the flag is cleared at its end.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace kqge {

// The camera's memory write: 0 when the camera acknowledged the chunk.
class FirmwareMemory {
public:
    virtual std::int32_t WriteMem(std::span<const std::uint8_t> data, std::uint32_t address) = 0;

protected:
    ~FirmwareMemory() = default;
};

class FirmwareUploadState {
public:
    static constexpr std::int32_t kNoResult = -1;

    // Sets the running flag; false when an upload already runs.
    bool Begin() {
        bool idle = false;
        return running_.compare_exchange_strong(idle, true);
    }
    void RequestStop() { running_ = false; }
    bool Running() const { return running_; }
    // 0, 3, 20 or 37 of the last upload that ended; kNoResult before.
    std::int32_t LastResult() const { return result_; }
    void Finish(std::int32_t result) {
        result_ = result;
        running_ = false;
    }

private:
    std::atomic<bool> running_{false};
    std::atomic<std::int32_t> result_{kNoResult};
};

// (bytes sent so far, result of the chunk's last try), once per chunk.
using FirmwareProgress = std::function<void(std::uint32_t bytesSent, std::int32_t lastResult)>;

inline constexpr std::int32_t kChunkRefused = 37;
inline constexpr int kChunkTries = 4;

// The upload of a whole file's bytes: 20 (nothing sent) for a refused file,
// 37 when a chunk failed four times or the payload ended before the image
// area was full (reported as a refused empty chunk), else 0 (also when
// stopped). Ends the upload in `state`.
std::int32_t UploadFirmware(std::span<const std::uint8_t> file, FirmwareMemory& memory, FirmwareUploadState& state,
                            const FirmwareProgress& progress);

// The same from a file; 3 (nothing sent) when it cannot be read.
std::int32_t WriteProgramFile(const std::filesystem::path& path, FirmwareMemory& memory, FirmwareUploadState& state,
                              const FirmwareProgress& progress);

}  // namespace kqge
