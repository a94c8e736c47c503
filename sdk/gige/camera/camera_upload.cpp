// Firmware upload on the camera's upload thread. The caller learns how the
// last upload ended from a later stop call.
#include <cstdint>

#include "gige_camera_base.h"

namespace kqge {
namespace {

constexpr char kDefaultProgramFile[] = "output_file.jic";

class CameraMemory final : public FirmwareMemory {
public:
    CameraMemory(CNIC& channel, const DiscoveryRecord& record) : channel_(channel), record_(record) {}
    std::int32_t WriteMem(std::span<const std::uint8_t> data, std::uint32_t address) override {
        return channel_.WriteMem(record_, data, address);
    }

private:
    CNIC& channel_;
    const DiscoveryRecord& record_;
};

}  // namespace

std::int32_t GigECameraBase::UpdateDeviceProgram(std::int32_t start, const std::filesystem::path& path) {
    if (const std::int32_t usable = Usable()) return usable;
    if (streaming_.load()) return kStreaming;
    if (start == 0) {
        if (upload_.Running()) {
            upload_.RequestStop();
            return 0;
        }
        const std::int32_t last = upload_.LastResult();
        return last == FirmwareUploadState::kNoResult ? 0 : last;
    }
    if (!upload_.Begin()) return 0;
    // The previous upload's thread has ended (its flag was clear).
    if (uploadThread_.joinable()) uploadThread_.join();
    const std::filesystem::path file = path.empty() ? std::filesystem::path(kDefaultProgramFile) : path;
    uploadThread_ = std::thread([this, file] {
        CameraMemory memory(*channel_, record_);
        const auto progress = [this](std::uint32_t bytesSent, std::int32_t lastResult) {
            FrameCallback callback = nullptr;
            void* user = nullptr;
            {
                std::lock_guard guard(callbackLock_);
                callback = frameCallback_;
                user = frameUser_;
            }
            // The live-frame callback doubles as the progress report: (bytes
            // sent, result of the last chunk, user value) in its three slots.
            if (callback != nullptr) {
                callback(reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(bytesSent)),
                         reinterpret_cast<FrameInfo*>(static_cast<std::intptr_t>(lastResult)), user);
            }
        };
        (void)WriteProgramFile(file, memory, upload_, progress);
    });
    return 0;
}

}  // namespace kqge
